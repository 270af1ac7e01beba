// Replacing a file's content so that a failure never destroys the old file:
// the new bytes go to a temporary file in the same folder, are flushed to the
// disk, and only then take the target's place.
#pragma once

#include <windows.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tk {

// Why a replacement failed: the target could not be created or replaced, or
// writing the bytes failed. Either way the target is as it was before.
class FileError : public std::runtime_error {
public:
  enum class Kind { create, write };
  FileError(Kind kind, DWORD code);
  Kind kind() const noexcept { return kind_; }
  DWORD code() const noexcept { return code_; }

private:
  Kind kind_;
  DWORD code_;
};

// Test seam: makes the write stop after `failAfterBytes` bytes and report
// failure, as a full disk would.
struct WriteFault {
  std::size_t failAfterBytes = static_cast<std::size_t>(-1);
};

// Makes the file at `path` hold exactly `bytes`. A read-only target, a target
// another program holds open, a missing folder or an invalid name throw
// FileError(create); a failed write or flush throws FileError(write). On any
// failure the temporary file is removed and the target is left untouched.
void replaceFileContent(const std::wstring& path, std::string_view bytes,
                        const WriteFault& fault = {});

} // namespace tk
