#include "toolkit/atomic_file.h"

#include "toolkit/handles.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace tk {
namespace {

// WriteFile takes a DWORD count; larger texts go in pieces of this size.
constexpr std::size_t kMaxChunk = 0x40000000;
// The target's name in the temporary name is cut to this length, so that the
// temporary name stays within the 255 units a file name may have.
constexpr std::size_t kMaxNameInTemporary = 200;

// What the new file takes over from the one it replaces. ReplaceFileW keeps
// more, but through steps that leave the target without a name in between;
// here only what can be given to the temporary file before the rename is
// kept:
// - the attributes hidden, system and not-content-indexed (archive is set, as
//   on every changed file): a hidden file stays hidden;
// - the creation time, so that the file still shows when it was first made.
// Not kept: the security descriptor. The new file gets the folder's inherited
// permissions, as any file created there, which is what files in a user's
// folders have; copying an explicit one would need WRITE_DAC, could take the
// right to rename or remove the temporary file from us, and an owner cannot
// be given without privilege. Nor are short names, object ids or alternate
// streams (such as a downloaded file's zone mark) carried over: the system
// gives the new file its own.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

[[noreturn]] void fail(FileError::Kind kind, DWORD code = GetLastError()) {
  throw FileError(kind, code);
}

void report(const WriteFault& fault, ReplaceStep step) {
  if (fault.afterStep)
    fault.afterStep(step);
}

// A temporary file that is deleted unless it has been moved into place.
class TemporaryFile {
public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) {
      SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path_.c_str());
    }
  }
  void own(std::wstring path) noexcept { path_ = std::move(path); }
  const std::wstring& path() const noexcept { return path_; }
  void keep() noexcept { path_.clear(); }

private:
  std::wstring path_;
};

struct Target {
  std::wstring path;   // full path
  std::wstring folder; // with its final separator
  std::wstring name;
};

Target fullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0)
    fail(FileError::Kind::create);
  std::vector<wchar_t> buffer(needed);
  wchar_t* name = nullptr;
  const DWORD got = GetFullPathNameW(path.c_str(), needed, buffer.data(), &name);
  if (got == 0 || got >= needed || !name || !*name)
    fail(FileError::Kind::create, got == 0 ? GetLastError() : ERROR_INVALID_NAME);
  return {std::wstring(buffer.data(), got), std::wstring(buffer.data(), name),
          std::wstring(name, buffer.data() + got)};
}

// Refuses, before anything is written, a target that exists but could not be
// replaced: a folder, a read-only file, or a file another program holds open
// without sharing. Returns what is known of the existing target.
std::optional<WIN32_FILE_ATTRIBUTE_DATA> checkTarget(const std::wstring& target) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data)) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND)
      return std::nullopt;
    fail(FileError::Kind::create, code);
  }
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    fail(FileError::Kind::create, ERROR_ACCESS_DENIED);
  UniqueFile probe(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe)
    fail(FileError::Kind::create);
  return data;
}

// ".<name>.<8 hex digits>.tmp"; the name cut so that the result stays a valid
// file name, never between the halves of a surrogate pair.
std::wstring temporaryName(const Target& target, unsigned tag) {
  std::wstring name = target.name.substr(0, kMaxNameInTemporary);
  if (name.size() < target.name.size() && IS_HIGH_SURROGATE(name.back()))
    name.pop_back();
  std::wstring result = target.folder + L"." + name + L".";
  // Digits by hand: the library's number formatting brings printf along.
  for (int shift = 28; shift >= 0; shift -= 4)
    result += L"0123456789abcdef"[(tag >> shift) & 0xF];
  return result + L".tmp";
}

// Creates the temporary file with a name no other file has (CREATE_NEW; a
// taken name is tried again with another random part).
UniqueFile createTemporary(const Target& target, TemporaryFile& temporary) {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  unsigned tag = static_cast<unsigned>(counter.QuadPart) ^ (GetCurrentProcessId() << 16) ^
                 static_cast<unsigned>(counter.QuadPart >> 32);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tag = tag * 1664525u + 1013904223u;
    std::wstring path = temporaryName(target, tag);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      temporary.own(std::move(path));
      return file;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
      fail(FileError::Kind::create, code);
  }
  fail(FileError::Kind::create, ERROR_FILE_EXISTS);
}

// Gives the temporary file the old file's creation time and kept attributes,
// through its handle (Wine did not keep a hidden attribute given to
// CreateFileW for it; set this way it does). Best effort: a file system that
// keeps neither still saves.
void stamp(HANDLE file, const WIN32_FILE_ATTRIBUTE_DATA& old) {
  FILE_BASIC_INFO info{};
  info.CreationTime.LowPart = old.ftCreationTime.dwLowDateTime;
  info.CreationTime.HighPart = static_cast<LONG>(old.ftCreationTime.dwHighDateTime);
  info.FileAttributes = (old.dwFileAttributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
  SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
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
}

// One rename, which the file system does at once: whoever opens the target
// finds the old file or the new one, never neither. Over an existing target
// it replaces it; onto a free name MOVEFILE_REPLACE_EXISTING is left out, so
// that a file that appeared there meanwhile is not overwritten unchecked.
void moveIntoPlace(const std::wstring& temporary, const std::wstring& target, bool targetExists) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (targetExists ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!MoveFileExW(temporary.c_str(), target.c_str(), flags))
    fail(FileError::Kind::create);
}

} // namespace

FileError::FileError(Kind kind, DWORD code)
    : std::runtime_error(kind == Kind::create ? "the file cannot be created"
                                              : "the file cannot be written"),
      kind_(kind), code_(code) {}

void replaceFileContent(const std::wstring& path, std::string_view bytes, const WriteFault& fault) {
  const Target target = fullPath(path);
  const std::optional<WIN32_FILE_ATTRIBUTE_DATA> old = checkTarget(target.path);
  report(fault, ReplaceStep::checked);

  TemporaryFile temporary;
  {
    UniqueFile file = createTemporary(target, temporary);
    report(fault, ReplaceStep::created);
    if (old)
      stamp(file.get(), *old);
    report(fault, ReplaceStep::stamped);
    writeAll(file.get(), bytes, fault);
    report(fault, ReplaceStep::written);
    if (!FlushFileBuffers(file.get()))
      fail(FileError::Kind::write);
    report(fault, ReplaceStep::flushed);
  }
  report(fault, ReplaceStep::closed);
  moveIntoPlace(temporary.path(), target.path, old.has_value());
  temporary.keep();
  report(fault, ReplaceStep::replaced);
}

} // namespace tk
