#include "test_support.h"

#include "toolkit/text.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace testing_support {

Watchdog::Watchdog(int seconds)
    : thread_([this, seconds] {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; })) {
          std::fprintf(stderr, "watchdog: a modal window was never dismissed\n");
          std::fflush(stderr);
          TerminateProcess(GetCurrentProcess(), 3);
        }
      }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
  }
  done_.notify_all();
  thread_.join();
}

namespace {
WhenWindowAppears* g_watcher = nullptr;

struct Search {
  const std::wstring* className;
  HWND found;
};
} // namespace

WhenWindowAppears::WhenWindowAppears(const wchar_t* className, std::function<void(HWND)> action)
    : className_(className), action_(std::move(action)) {
  g_watcher = this;
  timer_ = SetTimer(nullptr, 0, 30, tick);
}

WhenWindowAppears::~WhenWindowAppears() {
  KillTimer(nullptr, timer_);
  g_watcher = nullptr;
}

BOOL CALLBACK WhenWindowAppears::find(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<Search*>(lp);
  if (IsWindowVisible(hwnd) && className(hwnd) == *search->className) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK WhenWindowAppears::tick(HWND, UINT, UINT_PTR, DWORD) {
  WhenWindowAppears* self = g_watcher;
  if (!self || self->fired_)
    return;
  Search search{&self->className_, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), find, reinterpret_cast<LPARAM>(&search));
  if (!search.found)
    return;
  self->fired_ = true;
  try {
    self->action_(search.found);
  } catch (...) {
    std::fprintf(stderr, "exception in a window action\n");
  }
}

TemporaryFolder::TemporaryFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (int i = 0;; ++i) {
    path_ = std::wstring(base) + L"sheetloom-test-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(i);
    if (CreateDirectoryW(path_.c_str(), nullptr))
      break;
  }
  if (!path_.empty() && path_.back() == L'\\')
    path_.pop_back();
}

TemporaryFolder::~TemporaryFolder() {
  for (const std::wstring& name : files()) {
    const std::wstring full = file(name);
    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(full.c_str());
  }
  RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> TemporaryFolder::files() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..")
      names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::string readFile(const std::wstring& path) {
  tk::UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file)
    return "<missing>";
  std::string bytes(GetFileSize(file.get(), nullptr), '\0');
  DWORD got = 0;
  if (!bytes.empty())
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
  tk::UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring className(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring messageBoxText(HWND box) {
  // The message is the static control with id 0xFFFF (the icon is id 0x14).
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? tk::windowText(text) : std::wstring();
}

} // namespace testing_support
