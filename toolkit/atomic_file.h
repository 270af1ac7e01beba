// Replacing a file's content so that no failure and no crash destroys the old
// file: the new bytes go to a temporary file in the same folder, named after
// the target, are flushed to the disk, and then take the target's place in one
// rename, done through the still-open handle. At every instant the target's
// path holds the whole old file or the whole new one.
#pragma once

#include "toolkit/errors.h"
#include "toolkit/handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tk {

// Why a replacement failed: the target could not be created or replaced, or
// writing the bytes failed. Either way the target is as it was before. The
// caller words the message for the user from kind(); code() is the system's.
class FileError : public Error {
public:
  enum class Kind { create, write };
  FileError(Kind kind, DWORD code);
  Kind kind() const noexcept { return kind_; }

private:
  Kind kind_;
};

// The file operations of a replacement, one virtual function each, in the
// order replaceFileContent calls them; the functions themselves are Win32's,
// and win32FileSystem() is the one the program hands in. Like SQLite's VFS,
// a seam that stays because nothing else reaches these failures: a disk that
// fills part-way through the write, or a process that ends between two
// operations, cannot be brought about on demand, so a test derives from this
// class, calls through and then fails or stops the process. Each function
// throws FileError for the failure its comment names.
class FileSystem {
public:
  virtual ~FileSystem() = default;
  // What is known of the file at `path` ("\\?\" form), nothing when there is
  // none. A link is followed: `path` then names the file it points to.
  // Throws (create) for a folder, a read-only file or one that cannot be
  // opened even to read its attributes.
  virtual std::optional<BY_HANDLE_FILE_INFORMATION> examine(std::wstring& path) const;
  // A new file at `path`, open for writing and for its own rename, shared
  // with no one; empty when the name is taken. Throws (create) otherwise.
  virtual UniqueFile createNew(const std::wstring& path) const;
  // Gives the new file the old one's creation time and kept attributes; best
  // effort, never throws.
  virtual void stamp(HANDLE file, const BY_HANDLE_FILE_INFORMATION& old) const;
  // Writes all of `bytes`. Throws (write).
  virtual void write(HANDLE file, std::string_view bytes) const;
  // Puts the written bytes on the disk. Throws (write).
  virtual void flush(HANDLE file) const;
  // Renames the open file to `target`, over an existing file when `replace`.
  // A target held by another program is tried again for about a second.
  // Throws (create).
  virtual void rename(HANDLE file, const std::wstring& target, bool replace) const;
  // Flushes the rename as far as the system allows (the file, its folder);
  // best effort, never throws.
  virtual void flushRename(HANDLE file, const std::wstring& folder) const;
};

// The file system itself.
const FileSystem& win32FileSystem() noexcept;

// The temporary file is ".<name>.<8 hex digits>.tmp" beside the target, so
// that one left by a crash tells which file it was about to replace.
// Makes the file at `path` hold exactly `bytes`. `path` may be of any length;
// it is used in its "\\?\" form. A symbolic link (and a Unix link seen
// through Wine's drive Z:) is followed: the file it points to is replaced in
// its own folder and the link stays. A file with several hard links gets a new
// file under this name only; its other names keep the old content. A target
// another program holds open without delete sharing is tried again for about
// a second. A read-only target, a target still held after that, a folder, a
// missing folder or an invalid name throw FileError(create); a failed write or
// flush throws FileError(write). On any failure the temporary file is removed
// and the target is left untouched.
void replaceFileContent(const std::wstring& path, std::string_view bytes,
                        const FileSystem& files = win32FileSystem());

} // namespace tk
