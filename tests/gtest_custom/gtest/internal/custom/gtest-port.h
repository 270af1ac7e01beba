// GoogleTest's customisation header, put before its own (empty) one on the
// include path of the Windows builds. The win32 threading model of GCC 12 has
// no std::mutex or std::condition_variable, which GoogleTest's Notification
// (a one-shot start signal for threads) is built on; this one is a Win32
// manual-reset event. GoogleTest's other threading pieces already use Win32
// on MinGW.
#ifndef SHEETLOOM_GTEST_CUSTOM_PORT_H
#define SHEETLOOM_GTEST_CUSTOM_PORT_H

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
  Notification();
  ~Notification();
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  // Lets every waiting and every later waiter go on.
  void Notify();
  // Blocks until Notify() has been called.
  void WaitForNotification();

private:
  void* event_; // a HANDLE: GoogleTest's headers do not include <windows.h>
};

} // namespace internal
} // namespace testing

#endif
