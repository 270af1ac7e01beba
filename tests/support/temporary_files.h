// Files for tests that save: a throw-away folder and whole-file reads and writes.
#pragma once

#include "tests/support/non_copyable.h"

#include <string>
#include <vector>

namespace sheetloom_test {

// A fresh folder under the temporary directory, removed with its files
// (read-only ones included).
class TemporaryFolder : NonCopyable {
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

// The names of the files in a folder given in any form, "\\?\" included.
std::vector<std::wstring> filesIn(const std::wstring& folder);
// The bytes of a file, or "<missing>" when it cannot be opened.
std::string readFile(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);

} // namespace sheetloom_test
