#include "toolkit/atomic_file.h"

#include "toolkit/handles.h"
#include "toolkit/portable/digits.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace tk {
namespace {

// WriteFile takes a DWORD count; larger texts go in pieces of this size.
constexpr std::size_t kMaxChunk = 0x40000000;
// The target's name in the temporary name is cut to this length, so that the
// temporary name stays within the 255 units a file name may have.
constexpr std::size_t kMaxNameInTemporary = 200;
// A target another program holds open (a virus scanner, an indexer, a sync
// client looks at every changed file for a moment) is tried again for this
// long in all, at growing intervals, before the save gives up.
constexpr DWORD kHeldTargetPatienceMs = 1000;
constexpr DWORD kFirstRetryMs = 10;
constexpr DWORD kLongestRetryMs = 200;

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
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[noreturn]] void fail(FileError::Kind kind, DWORD code = GetLastError()) {
  throw FileError(kind, code);
}

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// The temporary file, open for writing and for its own rename, shared with
// no one: no other program can open it before it has become the target. It
// is deleted unless it has been renamed into place.
class TemporaryFile {
public:
  TemporaryFile(UniqueFile file, std::wstring path) noexcept
      : file_(std::move(file)), path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (placed_)
      return;
    // Through the handle, since no one else may open the file; by name when
    // the file system has no delete on close.
    FILE_DISPOSITION_INFO dispose{TRUE};
    const bool disposed =
        SetFileInformationByHandle(file_.get(), FileDispositionInfo, &dispose, sizeof dispose);
    file_.reset();
    if (!disposed) {
      SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path_.c_str());
    }
  }
  HANDLE handle() const noexcept { return file_.get(); }
  void placed() noexcept { placed_ = true; }
  void close() noexcept { file_.reset(); }

private:
  UniqueFile file_;
  std::wstring path_;
  bool placed_ = false;
};

struct Target {
  std::wstring path;   // full, in the "\\?\" form
  std::wstring folder; // with its final separator
  std::wstring name;
};

Target split(std::wstring path) {
  const std::size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash + 1 == path.size())
    fail(FileError::Kind::create, ERROR_INVALID_NAME);
  Target target{std::move(path), {}, {}};
  target.folder = target.path.substr(0, slash + 1);
  target.name = target.path.substr(slash + 1);
  return target;
}

// The full path in the form that lifts the 260-character limit from every
// file call: "\\?\C:\..." for a drive, "\\?\UNC\server\share\..." for a
// share. A path already in that form is taken as it is: the system does not
// interpret it, and neither does this.
std::wstring extendedPath(const std::wstring& path) {
  if (startsWith(path, L"\\\\?\\"))
    return path;
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0)
    fail(FileError::Kind::create);
  std::vector<wchar_t> buffer(needed);
  const DWORD got = GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
  if (got == 0 || got >= needed)
    fail(FileError::Kind::create, got == 0 ? GetLastError() : ERROR_INVALID_NAME);
  std::wstring full(buffer.data(), got);
  if (startsWith(full, L"\\\\.\\"))
    return full; // a device: not a file to replace, and refused as such later
  if (startsWith(full, L"\\\\"))
    return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// The file the path finally names: through a symbolic link (a Unix link seen
// through drive Z: looks like a plain file, but the system still resolves it
// on open) to the file it points to, whose folder then holds the temporary
// file. A path that names nothing yet is replaced as it is.
std::wstring finalPath(HANDLE file, const std::wstring& given) {
  std::vector<wchar_t> buffer(given.size() + 64);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD got =
        GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (got == 0)
      return given; // a file system that cannot tell: the name as given
    if (got < buffer.size())
      return std::wstring(buffer.data(), got);
    buffer.resize(got + 1);
  }
  return given;
}

// ".<name>.<8 hex digits>.tmp"; the name cut so that the result stays a valid
// file name, never between the halves of a surrogate pair.
std::wstring temporaryName(const Target& target, unsigned tag) {
  std::wstring name = target.name.substr(0, kMaxNameInTemporary);
  if (name.size() < target.name.size() && IS_HIGH_SURROGATE(name.back()))
    name.pop_back();
  std::wstring result = target.folder + L"." + name + L".";
  return result + hexDigits<wchar_t>(tag, 8) + L".tmp";
}

// Creates the temporary file with a name no other file has (CREATE_NEW; a
// taken name is tried again with another random part).
std::optional<TemporaryFile> createTemporary(const FileSystem& files, const Target& target) {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  unsigned tag = static_cast<unsigned>(counter.QuadPart) ^ (GetCurrentProcessId() << 16) ^
                 static_cast<unsigned>(counter.QuadPart >> 32);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tag = tag * 1664525u + 1013904223u;
    std::wstring path = temporaryName(target, tag);
    if (UniqueFile file = files.createNew(path))
      return std::optional<TemporaryFile>(std::in_place, std::move(file), std::move(path));
  }
  fail(FileError::Kind::create, ERROR_FILE_EXISTS);
}

} // namespace

// Examines the target before anything is written: refuses a folder and a
// read-only file, and follows a link. The open asks only to read attributes
// and shares everything, so another program holding the file in any mode
// does not stand in its way (the rename that needs more is tried again).
std::optional<BY_HANDLE_FILE_INFORMATION> FileSystem::examine(std::wstring& path) const {
  UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND)
      return std::nullopt;
    fail(FileError::Kind::create, code); // a folder is refused here too
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.get(), &info))
    fail(FileError::Kind::create);
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    fail(FileError::Kind::create, ERROR_ACCESS_DENIED);
  path = finalPath(file.get(), path);
  return info;
}

UniqueFile FileSystem::createNew(const std::wstring& path) const {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
      fail(FileError::Kind::create, code);
  }
  return file;
}

// Gives the temporary file the old file's creation time and kept attributes,
// through its handle (Wine did not keep a hidden attribute given to
// CreateFileW for it; set this way it does). Best effort: a file system that
// keeps neither still saves.
void FileSystem::stamp(HANDLE file, const BY_HANDLE_FILE_INFORMATION& old) const {
  FILE_BASIC_INFO info{};
  info.CreationTime.LowPart = old.ftCreationTime.dwLowDateTime;
  info.CreationTime.HighPart = static_cast<LONG>(old.ftCreationTime.dwHighDateTime);
  info.FileAttributes = (old.dwFileAttributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
  SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
}

void FileSystem::write(HANDLE file, std::string_view bytes) const {
  const std::size_t end = bytes.size();
  for (std::size_t offset = 0; offset < end;) {
    const DWORD chunk = static_cast<DWORD>(std::min(end - offset, kMaxChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + offset, chunk, &written, nullptr))
      fail(FileError::Kind::write);
    if (written != chunk)
      fail(FileError::Kind::write, ERROR_WRITE_FAULT);
    offset += chunk;
  }
}

void FileSystem::flush(HANDLE file) const {
  if (!FlushFileBuffers(file))
    fail(FileError::Kind::write);
}

// One rename of the open temporary file, which the file system does at once:
// whoever opens the target finds the old file or the new one, never neither.
// Over an existing target it replaces it; onto a free name it does not, so
// that a file that appeared there meanwhile is not overwritten unchecked. A
// target another program holds without delete sharing refuses (sharing
// violation, or access denied); that is tried again for about a second.
void FileSystem::rename(HANDLE file, const std::wstring& target, bool replace) const {
  const std::size_t nameBytes = target.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = replace;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(info->FileName, target.c_str(), nameBytes + sizeof(wchar_t)); // with its NUL
  const auto bufferBytes = static_cast<DWORD>(buffer.size());
  const DWORD start = GetTickCount();
  for (DWORD wait = kFirstRetryMs;; wait = std::min(wait * 2, kLongestRetryMs)) {
    if (SetFileInformationByHandle(file, FileRenameInfo, info, bufferBytes))
      return;
    const DWORD code = GetLastError();
    const DWORD spent = GetTickCount() - start;
    if ((code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED) ||
        spent >= kHeldTargetPatienceMs)
      fail(FileError::Kind::create, code);
    Sleep(std::min(wait, kHeldTargetPatienceMs - spent));
  }
}

// After the rename: the file's handle is flushed once more (on NTFS this
// commits the rename to its journal) and the folder's where the system
// allows a folder to be flushed. Best effort: the new file is in place and
// its bytes were flushed before, so a refusal here is no failed save.
void FileSystem::flushRename(HANDLE file, const std::wstring& folder) const {
  FlushFileBuffers(file);
  UniqueFile directory(CreateFileW(folder.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (directory)
    FlushFileBuffers(directory.get());
}

const FileSystem& win32FileSystem() noexcept {
  static const FileSystem files{};
  return files;
}

FileError::FileError(Kind kind, DWORD code)
    : Error(kind == Kind::create ? "ファイルを作成できません" : "ファイルに書き込めません", code),
      kind_(kind) {}

void replaceFileContent(const std::wstring& path, std::string_view bytes, const FileSystem& files) {
  Target target = split(extendedPath(path));
  std::wstring resolved = target.path;
  const std::optional<BY_HANDLE_FILE_INFORMATION> old = files.examine(resolved);
  if (resolved != target.path)
    target = split(std::move(resolved));

  std::optional<TemporaryFile> temporary = createTemporary(files, target);
  if (old)
    files.stamp(temporary->handle(), *old);
  files.write(temporary->handle(), bytes);
  files.flush(temporary->handle());
  files.rename(temporary->handle(), target.path, old.has_value());
  temporary->placed();
  files.flushRename(temporary->handle(), target.folder);
  temporary->close();
}

} // namespace tk
