// The dispatch boundary: no C++ exception may cross a window procedure or any
// other callback the system calls. Every such callback catches everything and
// hands it to reportCurrentException(), which shows it through the one error
// display that the application installs.
#pragma once

#include <windows.h>

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tk {

// An error meant for the user: what() is its Japanese text (UTF-8) and code()
// the system's reason (a GetLastError() value), 0 when there is none.
class Error : public std::runtime_error {
public:
  explicit Error(const std::string& message, DWORD code = 0)
      : std::runtime_error(message), code_(code) {}
  explicit Error(const char* message, DWORD code = 0) : std::runtime_error(message), code_(code) {}
  DWORD code() const noexcept { return code_; }

private:
  DWORD code_;
};

// Returns `result`; throws Error(message, GetLastError()) when it is null,
// zero or FALSE, as the system's functions report failure.
template <class T> T checked(T result, const char* message) {
  if (!result)
    throw Error(message, GetLastError());
  return result;
}

// The text of a failed conversion of a text longer than the system takes.
inline constexpr char kTextTooLong[] = "文字列が長すぎます";

// Shows one error message (UTF-16). Must not throw.
using ErrorDisplay = void (*)(std::wstring_view message);

// Installs the display used by reportCurrentException; returns the previous one.
// Until one is installed, a plain message box is used.
ErrorDisplay setErrorDisplay(ErrorDisplay display) noexcept;

// The user-facing text of an exception: an Error's own text, followed by its
// code when it has one; a generic text for anything else.
std::wstring exceptionMessage(std::exception_ptr error);

// Call only from inside a catch block.
void reportCurrentException() noexcept;

// The window procedures' boundary: runs `handle`, and reports what it throws
// and answers 0 instead.
template <class Handle> LRESULT guarded(const Handle& handle) noexcept {
  try {
    return handle();
  } catch (...) {
    reportCurrentException();
    return 0;
  }
}

} // namespace tk
