#include "gtest/internal/custom/gtest-port.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace testing {
namespace internal {

Notification::Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!event_) {
    // Without the event a waiting thread could never be released.
    std::fprintf(stderr, "Notification: CreateEvent failed (%lu)\n", GetLastError());
    std::abort();
  }
}

Notification::~Notification() {
  CloseHandle(event_);
}

void Notification::Notify() {
  SetEvent(event_);
}

void Notification::WaitForNotification() {
  WaitForSingleObject(event_, INFINITE);
}

} // namespace internal
} // namespace testing
