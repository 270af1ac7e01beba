// A thread and an event for the tests, on Win32 directly: the compiler's
// win32 threading model (GCC 12) has no std::thread, std::mutex or
// std::condition_variable.
#pragma once

#include "tests/support/non_copyable.h"

#include <windows.h>

#include <functional>

namespace sheetloom_test {

// A manual-reset event: once set, every wait returns at once.
class Event : NonCopyable {
public:
  Event();
  ~Event();
  void set() noexcept;
  // True when the event was set within `milliseconds` (INFINITE: no limit).
  bool wait(DWORD milliseconds = INFINITE) const noexcept;

private:
  HANDLE handle_;
};

// Runs `body` on a thread of its own; join() (or the destructor) waits for it
// to end. The body must not throw.
class Thread : NonCopyable {
public:
  explicit Thread(std::function<void()> body);
  ~Thread();
  void join() noexcept;

private:
  static DWORD WINAPI run(void* self);
  std::function<void()> body_;
  HANDLE handle_;
};

} // namespace sheetloom_test
