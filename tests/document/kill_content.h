// The file contents of the kill test: recognisable lines, different for the old
// and the new file, so that any cut or mix of the two reads as neither.
#pragma once

#include <cstddef>
#include <string>

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

} // namespace sheetloom_test
