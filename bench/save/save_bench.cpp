// Saving a 10 MB stylesheet through the document (memo text, conversion to the
// ANSI code page, temporary file, flush, replace) beside one raw write of the
// same bytes into the same folder, with and without a flush. Two sheets: one
// with Japanese in every rule, one like the add action's rules, whose only
// Japanese is a font name now and then. Prints the medians and the ratios; a
// figure, never a pass or fail.
//   wine64 save_bench.exe [folder]   (default: the temporary folder)
#include "bench/win_timing.h"
#include "toolkit/atomic_file.h"
#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "ui/stylesheet_document.h"
#include "ui/system_code_page.h"

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

// Rules with Japanese comments and font names, up to 10 MB of Shift_JIS.
const wchar_t* const kDenseRule =
    L"/* 見出しの書式 */\r\nH1 {\r\n  font-family: ＭＳ Ｐゴシック;\r\n"
    L"  color: #1F2E3D;\r\n  margin-top: 12px;\r\n}\r\n";
// A full rule as the add action writes it, one in eight with a Japanese face.
const wchar_t* const kAddedRule =
    L"TD{\r\n  font-size: 12px;\r\n  color: #000000;\r\n  background-color: #FFFFFF;\r\n"
    L"  border-top: 1px solid #808080;\r\n  border-bottom: 1px solid #808080;\r\n"
    L"  margin-left: 4px;\r\n  margin-right: 4px;\r\n  padding-top: 2px;\r\n"
    L"  padding-bottom: 2px;\r\n  text-align: left;\r\n  vertical-align: middle;\r\n}\r\n";
const wchar_t* const kAddedRuleWithFace =
    L"TH{\r\n  font-family: ＭＳ Ｐゴシック;\r\n  font-size: 12px;\r\n  color: #000000;\r\n}\r\n";

// The text in the ANSI code page, as the save writes it.
std::string fileBytes(const std::wstring& text) {
  return ui::toCodePage(std::wstring_view(text), ui::ansiCodePage()).bytes.value_or("");
}

// A file system that refuses every file: a save through it reads the memo
// and converts the text, then stops before the file.
class NoFiles final : public tk::FileSystem {
public:
  std::optional<BY_HANDLE_FILE_INFORMATION> examine(std::wstring&) const override {
    throw tk::FileError(tk::FileError::Kind::create, ERROR_ACCESS_DENIED);
  }
};

std::wstring makeSheet(bool dense) {
  std::wstring sheet;
  std::size_t bytes = 0;
  for (int i = 0; bytes < kTargetBytes; ++i) {
    const std::wstring rule = dense ? kDenseRule : (i % 8 == 7 ? kAddedRuleWithFace : kAddedRule);
    sheet += rule;
    bytes += fileBytes(rule).size();
  }
  return sheet;
}

void rawWrite(const std::wstring& path, const std::string& bytes, bool flush) {
  tk::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file ||
      !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size() || (flush && !FlushFileBuffers(file.get())))
    std::fprintf(stderr, "raw write failed\n");
}

int measure(const std::wstring& folder, bool dense) {
  const std::wstring savedPath = folder + L"sheetloom-bench-save.css";
  const std::wstring rawPath = folder + L"sheetloom-bench-raw.css";

  const std::wstring sheet = makeSheet(dense);
  const std::string bytes = fileBytes(sheet);

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

  // Where the time goes: the save stopped at the file (reading the memo,
  // converting), and the file alone.
  std::vector<double> converts, replaces;
  const NoFiles noFiles;
  ui::StylesheetDocument reader(noFiles);
  reader.attach(memo.get());
  reader.services() = document.services();
  for (int round = 0; round < kRounds; ++round) {
    double start = now();
    try {
      reader.save(nullptr);
    } catch (const tk::Error&) {
      // refused at the file, as NoFiles does
    }
    converts.push_back(now() - start);
    start = now();
    tk::replaceFileContent(savedPath, bytes);
    replaces.push_back(now() - start);
  }

  std::vector<double> saves, raws, flushed;
  for (int round = 0; round < kRounds; ++round) {
    double start = now();
    document.save(nullptr);
    saves.push_back(now() - start);
    start = now();
    rawWrite(rawPath, bytes, false);
    raws.push_back(now() - start);
    start = now();
    rawWrite(rawPath, bytes, true);
    flushed.push_back(now() - start);
  }
  WIN32_FILE_ATTRIBUTE_DATA saved{};
  if (!GetFileAttributesExW(savedPath.c_str(), GetFileExInfoStandard, &saved) ||
      saved.nFileSizeLow != bytes.size()) {
    std::fprintf(stderr, "the saved file does not hold the sheet\n");
    return 2;
  }
  const double save = median(saves), raw = median(raws), rawFlushed = median(flushed);
  std::printf("%s sheet: %zu bytes, %d interleaved rounds\n",
              dense ? "Japanese in every rule" : "rules as added", bytes.size(), kRounds);
  std::printf("  document save          (median) %8.2f ms\n", save * 1000);
  std::printf("  raw write              (median) %8.2f ms   ratio %.2f\n", raw * 1000, save / raw);
  std::printf("  raw write + flush      (median) %8.2f ms   ratio %.2f (aim: at most 2)\n",
              rawFlushed * 1000, save / rawFlushed);
  std::printf(
      "  apart: memo text + conversion %.2f ms, file (temporary + flush + replace) %.2f ms\n",
      median(converts) * 1000, median(replaces) * 1000);
  DeleteFileW(savedPath.c_str());
  DeleteFileW(rawPath.c_str());
  return 0;
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
  for (bool dense : {true, false})
    if (const int failed = measure(folder, dense))
      return failed;
  return 0;
}
