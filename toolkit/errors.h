// The dispatch boundary: no C++ exception may cross a window procedure or any
// other callback the system calls. Every such callback catches everything and
// hands it to reportCurrentException(), which shows it through the one error
// display that the application installs.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tk {

// An error meant for the user; what() is UTF-8.
class Error : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Shows one error message (UTF-16). Must not throw.
using ErrorDisplay = void (*)(std::wstring_view message);

// Installs the display used by reportCurrentException; returns the previous one.
// Until one is installed, a plain message box is used.
ErrorDisplay setErrorDisplay(ErrorDisplay display) noexcept;

// The user-facing text of an exception (what() read as UTF-8).
std::wstring exceptionMessage(std::exception_ptr error);

// Call only from inside a catch block.
void reportCurrentException() noexcept;

} // namespace tk
