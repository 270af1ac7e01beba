#include "toolkit/atomic_file.h"

#include "toolkit/handles.h"

#include <algorithm>
#include <vector>

namespace tk {
namespace {

// WriteFile takes a DWORD count; larger texts go in pieces of this size.
constexpr std::size_t kMaxChunk = 0x40000000;

[[noreturn]] void fail(FileError::Kind kind, DWORD code = GetLastError()) {
  throw FileError(kind, code);
}

// A temporary file that is deleted unless it has been moved into place.
class TemporaryFile {
public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) {
      SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path_.c_str());
    }
  }
  const std::wstring& path() const noexcept { return path_; }
  void keep() noexcept { path_.clear(); }

private:
  std::wstring path_;
};

std::wstring fullPath(const std::wstring& path, std::wstring& folder) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0)
    fail(FileError::Kind::create);
  std::vector<wchar_t> buffer(needed);
  wchar_t* name = nullptr;
  const DWORD got = GetFullPathNameW(path.c_str(), needed, buffer.data(), &name);
  if (got == 0 || got >= needed || !name || !*name)
    fail(FileError::Kind::create, got == 0 ? GetLastError() : ERROR_INVALID_NAME);
  folder.assign(buffer.data(), name);
  return std::wstring(buffer.data(), got);
}

// Refuses, before anything is written, a target that exists but could not be
// replaced: a folder, a read-only file, or a file another program holds open
// without sharing. Returns whether the target exists.
bool checkTarget(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND)
      return false;
    fail(FileError::Kind::create, code);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    fail(FileError::Kind::create, ERROR_ACCESS_DENIED);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    fail(FileError::Kind::create, ERROR_ACCESS_DENIED);
  UniqueFile probe(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe)
    fail(FileError::Kind::create);
  return true;
}

void writeAll(HANDLE file, std::string_view bytes, const WriteFault& fault) {
  // An injected fault writes only the first bytes, then fails like a full disk.
  const std::size_t end = std::min(bytes.size(), fault.failAfterBytes);
  for (std::size_t offset = 0; offset < end;) {
    const DWORD chunk = static_cast<DWORD>(std::min(end - offset, kMaxChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + offset, chunk, &written, nullptr))
      fail(FileError::Kind::write);
    if (written != chunk)
      fail(FileError::Kind::write, ERROR_WRITE_FAULT);
    offset += chunk;
  }
  if (end < bytes.size())
    fail(FileError::Kind::write, ERROR_DISK_FULL);
  if (!FlushFileBuffers(file))
    fail(FileError::Kind::write);
}

// A fresh name in `folder` that no file has yet, for the backup of the target
// while ReplaceFileW swaps the two.
std::wstring unusedNameBeside(const std::wstring& temporary) {
  for (int i = 0; i < 100; ++i) {
    // Digits by hand: the library's number formatting brings printf along.
    std::wstring name = temporary + L".old";
    if (i >= 10)
      name += static_cast<wchar_t>(L'0' + i / 10);
    name += static_cast<wchar_t>(L'0' + i % 10);
    if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
      return name;
  }
  fail(FileError::Kind::create, ERROR_FILE_EXISTS);
}

void moveIntoPlace(const std::wstring& temporary, const std::wstring& target, bool targetExists) {
  if (!targetExists) {
    // MOVEFILE_REPLACE_EXISTING is left out on purpose: should a file appear
    // at the target meanwhile, it is not overwritten unchecked.
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
      fail(FileError::Kind::create);
    return;
  }
  // With a backup name ReplaceFileW never leaves the old content without a
  // name: on ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 it sits under the backup name
  // and is moved back.
  const std::wstring backup = unusedNameBeside(temporary);
  if (ReplaceFileW(target.c_str(), temporary.c_str(), backup.c_str(),
                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    DeleteFileW(backup.c_str());
    return;
  }
  const DWORD code = GetLastError();
  if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  fail(FileError::Kind::create, code);
}

} // namespace

FileError::FileError(Kind kind, DWORD code)
    : std::runtime_error(kind == Kind::create ? "the file cannot be created"
                                              : "the file cannot be written"),
      kind_(kind), code_(code) {}

void replaceFileContent(const std::wstring& path, std::string_view bytes, const WriteFault& fault) {
  std::wstring folder;
  const std::wstring target = fullPath(path, folder);
  const bool targetExists = checkTarget(target);

  wchar_t temporaryName[MAX_PATH];
  if (!GetTempFileNameW(folder.c_str(), L"slm", 0, temporaryName))
    fail(FileError::Kind::create);
  TemporaryFile temporary(temporaryName);
  {
    UniqueFile file(CreateFileW(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr,
                                TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
      fail(FileError::Kind::create);
    writeAll(file.get(), bytes, fault);
  }
  moveIntoPlace(temporary.path(), target, targetExists);
  temporary.keep();
}

} // namespace tk
