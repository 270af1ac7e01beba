// The child of the kill test: replaces a file with a large new content through
// tk::replaceFileContent, as the save does, and stops itself the hard way
// (TerminateProcess) after a given file operation, or is killed by the test
// meanwhile.
//   save_kill_child.exe TARGET BYTES STEP READY_EVENT
// STEP is an Operation's number; -1 runs to the end. READY_EVENT is signalled just before the save
// starts, so that the test times its kill from there.
#include "tests/document/kill_content.h"
#include "toolkit/atomic_file.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 5)
    return 2;
  const std::wstring target = argv[1];
  const std::size_t size = std::wcstoul(argv[2], nullptr, 10);
  const int stopAt = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
  const std::string bytes = sheetloom_test::killTestContent('N', size);

  sheetloom_test::WatchedFileSystem files;
  files.after = [stopAt](sheetloom_test::Operation operation) {
    if (static_cast<int>(operation) == stopAt)
      TerminateProcess(GetCurrentProcess(), sheetloom_test::kKilledAtStep);
  };
  if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4])) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  try {
    tk::replaceFileContent(target, bytes, files);
  } catch (const tk::FileError& error) {
    std::fprintf(stderr, "save failed: %s (%lu)\n", error.what(), error.code());
    return 1;
  }
  return 0;
}
