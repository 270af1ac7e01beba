// Saving a 10 MB stylesheet through the document (memo text, conversion to the
// ANSI code page, temporary file, flush, replace) beside one raw WriteFile of
// the same bytes into the same folder. Prints the medians and their ratio.
//   wine64 save_bench.exe [folder]   (default: the temporary folder)
#include "bench/win_timing.h"
#include "toolkit/atomic_file.h"
#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "ui/stylesheet_document.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::now;

constexpr std::size_t kTargetBytes = 10u * 1024 * 1024;
constexpr int kRounds = 9;

// Rules like the add action makes, with Japanese comments, up to 10 MB of
// Shift_JIS.
std::wstring makeSheet() {
  const std::wstring rule = L"/* 見出しの書式 */\r\nH1 {\r\n  font-family: ＭＳ Ｐゴシック;\r\n"
                            L"  color: #1F2E3D;\r\n  margin-top: 12px;\r\n}\r\n";
  const std::size_t ruleBytes = ui::stylesheetBytes(rule).size();
  std::wstring sheet;
  sheet.reserve(kTargetBytes / ruleBytes * rule.size() + rule.size());
  for (std::size_t bytes = 0; bytes < kTargetBytes; bytes += ruleBytes)
    sheet += rule;
  return sheet;
}

void rawWrite(const std::wstring& path, const std::string& bytes) {
  tk::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file ||
      !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    std::fprintf(stderr, "raw write failed\n");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring folder;
  if (argc > 1) {
    folder = argv[1];
  } else {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = temp;
  }
  if (!folder.empty() && folder.back() != L'\\')
    folder += L'\\';
  const std::wstring savedPath = folder + L"sheetloom-bench-save.css";
  const std::wstring rawPath = folder + L"sheetloom-bench-raw.css";

  const std::wstring sheet = makeSheet();
  const std::string bytes = ui::stylesheetBytes(sheet);

  tk::UniqueHwnd memo(CreateWindowExW(0, L"EDIT", L"", ES_MULTILINE, 0, 0, 100, 100, nullptr,
                                      nullptr, nullptr, nullptr));
  SendMessageW(memo.get(), EM_SETLIMITTEXT, 0, 0);
  tk::setWindowText(memo.get(), sheet);
  ui::StylesheetDocument document;
  document.attach(memo.get());
  document.services().chooseFile = [&](HWND, std::wstring& path) {
    path = savedPath;
    return true;
  };
  document.services().confirm = [](std::wstring_view) {};

  // Where the time goes: reading the memo, converting, writing the file.
  std::vector<double> reads, converts, replaces;
  for (int round = 0; round < kRounds; ++round) {
    double start = now();
    const std::wstring text = tk::windowText(memo.get());
    reads.push_back(now() - start);
    start = now();
    const std::string converted = ui::stylesheetBytes(text);
    converts.push_back(now() - start);
    start = now();
    tk::replaceFileContent(savedPath, converted);
    replaces.push_back(now() - start);
  }

  std::vector<double> saves, raws;
  for (int round = 0; round < kRounds; ++round) {
    double start = now();
    document.save(nullptr);
    saves.push_back(now() - start);
    start = now();
    rawWrite(rawPath, bytes);
    raws.push_back(now() - start);
  }
  WIN32_FILE_ATTRIBUTE_DATA saved{};
  if (!GetFileAttributesExW(savedPath.c_str(), GetFileExInfoStandard, &saved) ||
      saved.nFileSizeLow != bytes.size()) {
    std::fprintf(stderr, "the saved file does not hold the sheet\n");
    return 2;
  }
  const double save = median(saves), raw = median(raws);
  std::printf("bytes %zu, rounds %d\n", bytes.size(), kRounds);
  std::printf("document save  (median) %8.2f ms\n", save * 1000);
  std::printf("raw WriteFile  (median) %8.2f ms\n", raw * 1000);
  std::printf("  of the save: memo text %.2f ms, conversion %.2f ms, file %.2f ms\n",
              median(reads) * 1000, median(converts) * 1000, median(replaces) * 1000);
  std::printf("ratio %.2f (limit 1.50): %s\n", save / raw, save <= 1.5 * raw ? "ok" : "TOO SLOW");
  DeleteFileW(savedPath.c_str());
  DeleteFileW(rawPath.c_str());
  return save <= 1.5 * raw ? 0 : 1;
}
