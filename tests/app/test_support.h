// Helpers for tests that open real modal windows: a watchdog that ends a hung
// run, a thread timer that acts on a window once it appears, temporary folders.
#pragma once

#include "toolkit/handles.h"

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace testing_support {

// Ends the process if the scope is not left within `seconds`: a modal loop
// that nobody dismisses must fail the test, not hang it.
class Watchdog {
public:
  explicit Watchdog(int seconds);
  ~Watchdog();

private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

// Polls this thread's top-level windows from a thread timer (which modal
// loops dispatch) and calls `action` once with the first visible window of
// class `className`. One at a time.
class WhenWindowAppears {
public:
  WhenWindowAppears(const wchar_t* className, std::function<void(HWND)> action);
  ~WhenWindowAppears();
  bool fired() const noexcept { return fired_; }

private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK find(HWND hwnd, LPARAM found);
  std::wstring className_;
  std::function<void(HWND)> action_;
  UINT_PTR timer_ = 0;
  bool fired_ = false;
};

// A fresh folder under the temporary directory, removed with its files.
class TemporaryFolder {
public:
  TemporaryFolder();
  ~TemporaryFolder();
  const std::wstring& path() const noexcept { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
  // Names of the files in the folder.
  std::vector<std::wstring> files() const;

private:
  std::wstring path_;
};

std::string readFile(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);

// The text of the first STATIC child (a message box's message).
std::wstring messageBoxText(HWND box);
std::wstring className(HWND hwnd);

} // namespace testing_support
