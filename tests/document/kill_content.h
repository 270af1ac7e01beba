// What the kill test and its child share: the file contents, recognisable
// lines, different for the old and the new file, so that any cut or mix of
// the two reads as neither; and a file system that lets the test act before
// and after each of a replacement's operations.
#pragma once

#include "toolkit/atomic_file.h"

#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>

namespace sheetloom_test {

// The child's exit code when it stopped itself at the step it was given.
constexpr unsigned kKilledAtStep = 77;
// The exit code the test gives a child it kills.
constexpr unsigned kKilledByTest = 99;

inline std::string killTestContent(char first, std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = i % 80 == 78   ? '\r'
               : i % 80 == 79 ? '\n'
                              : static_cast<char>(first + (i * 31 + i / 4093) % 26);
  return bytes;
}

// The operations of tk::FileSystem, in the order a replacement of an existing
// file runs them.
enum class Operation { examine, createNew, stamp, write, flush, rename, flushRename };
constexpr int kOperations = static_cast<int>(Operation::flushRename) + 1;

// The Win32 file system, with `before` called ahead of each operation (a
// test throws there to make that operation fail) and `after` once it is done
// (the child ends itself there).
class WatchedFileSystem final : public tk::FileSystem {
  // Before its use below: its return type is deduced.
  template <class Call> auto watched(Operation operation, Call call) const {
    if (before)
      before(operation);
    if constexpr (std::is_void_v<decltype(call())>) {
      call();
      if (after)
        after(operation);
    } else {
      auto result = call();
      if (after)
        after(operation);
      return result;
    }
  }

public:
  std::function<void(Operation)> before, after;

  std::optional<BY_HANDLE_FILE_INFORMATION> examine(std::wstring& path) const override {
    return watched(Operation::examine, [&] { return FileSystem::examine(path); });
  }
  tk::UniqueFile createNew(const std::wstring& path) const override {
    return watched(Operation::createNew, [&] { return FileSystem::createNew(path); });
  }
  void stamp(HANDLE file, const BY_HANDLE_FILE_INFORMATION& old) const override {
    watched(Operation::stamp, [&] { FileSystem::stamp(file, old); });
  }
  void write(HANDLE file, std::string_view bytes) const override {
    watched(Operation::write, [&] { FileSystem::write(file, bytes); });
  }
  void flush(HANDLE file) const override {
    watched(Operation::flush, [&] { FileSystem::flush(file); });
  }
  void rename(HANDLE file, const std::wstring& target, bool replace) const override {
    watched(Operation::rename, [&] { FileSystem::rename(file, target, replace); });
  }
  void flushRename(HANDLE file, const std::wstring& folder) const override {
    watched(Operation::flushRename, [&] { FileSystem::flushRename(file, folder); });
  }
};

} // namespace sheetloom_test
