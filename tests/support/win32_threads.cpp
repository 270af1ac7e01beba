#include "tests/support/win32_threads.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace sheetloom_test {

namespace {

// A test that cannot make its event or thread cannot run at all: end the
// process with a message rather than wait on nothing.
[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "%s failed (%lu)\n", what, GetLastError());
  std::fflush(stderr);
  std::abort();
}

} // namespace

Event::Event() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!handle_)
    fail("CreateEvent");
}

Event::~Event() {
  CloseHandle(handle_);
}

void Event::set() noexcept {
  SetEvent(handle_);
}

bool Event::wait(DWORD milliseconds) const noexcept {
  return WaitForSingleObject(handle_, milliseconds) == WAIT_OBJECT_0;
}

Thread::Thread(std::function<void()> body)
    : body_(std::move(body)), handle_(CreateThread(nullptr, 0, run, this, 0, nullptr)) {
  if (!handle_)
    fail("CreateThread");
}

Thread::~Thread() {
  join();
}

void Thread::join() noexcept {
  if (!handle_)
    return;
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(std::exchange(handle_, nullptr));
}

DWORD WINAPI Thread::run(void* self) {
  static_cast<Thread*>(self)->body_();
  return 0;
}

} // namespace sheetloom_test
