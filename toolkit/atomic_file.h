// Replacing a file's content so that no failure and no crash destroys the old
// file: the new bytes go to a temporary file in the same folder, named after
// the target, are flushed to the disk, and then take the target's place in one
// rename, done through the still-open handle. At every instant the target's
// path holds the whole old file or the whole new one.
#pragma once

#include "toolkit/errors.h"

#include <windows.h>

#include <cstddef>
#include <functional>
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

// The file operations of a replacement, in order; each is reported once done.
enum class ReplaceStep {
  checked,  // the target was examined (a link followed); nothing exists yet
  created,  // the temporary file exists, empty
  stamped,  // it carries the old file's creation time
  written,  // it holds the bytes
  flushed,  // they are on the disk
  replaced, // it has become the target, its handle still open
  closed,   // the rename is flushed as far as the system allows; handle closed
};
constexpr int kReplaceSteps = static_cast<int>(ReplaceStep::closed) + 1;

// Test seams. `failAfterBytes` makes the write stop after that many bytes and
// report failure, as a full disk would. `afterStep`, when set, is called after
// each step: a test stops the process there, or throws to fail the step.
// The temporary file is ".<name>.<8 hex digits>.tmp" beside the target, so
// that one left by a crash tells which file it was about to replace.
struct WriteFault {
  std::size_t failAfterBytes = static_cast<std::size_t>(-1);
  std::function<void(ReplaceStep)> afterStep;
};

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
                        const WriteFault& fault = {});

} // namespace tk
