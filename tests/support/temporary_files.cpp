#include "tests/support/temporary_files.h"

#include "toolkit/handles.h"
#include "toolkit/text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace sheetloom_test {

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
  return filesIn(path_);
}

std::vector<std::wstring> filesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
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
  // A set-up file that silently failed to appear would make later checks lie.
  if (!file ||
      !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    ADD_FAILURE() << "could not write " << tk::narrow(path);
}

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace sheetloom_test
