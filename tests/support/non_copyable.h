// Helpers that own a timer, a thread, a folder or an installed callback
// must not be copied: the copy would release it a second time.
#pragma once

namespace sheetloom_test {

class NonCopyable {
protected:
  NonCopyable() = default;
  ~NonCopyable() = default;

public:
  NonCopyable(const NonCopyable&) = delete;
  NonCopyable& operator=(const NonCopyable&) = delete;
};

} // namespace sheetloom_test
