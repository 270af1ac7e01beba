// Adding a rule (the make button's whole handler: side editors committed,
// rule composed, appended to the memo) to an empty stylesheet and to one of
// 10 MB, interleaved in one run. Prints the medians and their ratio (the aim
// is that the second costs at most twice the first); a figure, never a pass or
// fail.
//   wine64 add_rule_bench.exe
#include "bench/win_timing.h"
#include "toolkit/text.h"
#include "ui/tform1.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::now;

constexpr std::size_t kSheetChars = 10u * 1024 * 1024;
constexpr int kRounds = 31;

// Rules as the add action writes them, up to kSheetChars characters.
std::wstring makeSheet() {
  const std::wstring rule = L"H1{\r\n  color: #1F2E3D;\r\n  font-size: 12px;\r\n"
                            L"  font-family: Arial;\r\n  margin-top: 12px;\r\n}\r\n";
  std::wstring sheet;
  sheet.reserve(kSheetChars + rule.size());
  while (sheet.size() < kSheetChars)
    sheet += rule;
  return sheet;
}

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Times one click of the add button.
double timeClick(HWND make) {
  pump();
  const double start = now();
  SendMessageW(make, BM_CLICK, 0, 0);
  return now() - start;
}

} // namespace

int wmain() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  // Two windows, one with an empty memo and one with the 10 MB sheet; the
  // rounds alternate between them, so that both meet the same disturbances.
  ui::TForm1 small, large;
  small.create(nullptr, SW_SHOWNORMAL);
  large.create(nullptr, SW_SHOWNORMAL);
  pump();
  HWND smallMemo = small.controls().hwnd(ui::ControlId::StyleSheet);
  HWND largeMemo = large.controls().hwnd(ui::ControlId::StyleSheet);
  const std::wstring sheet = makeSheet();
  tk::setWindowText(largeMemo, sheet);

  // The large sheet stays; each round adds one more rule after the last.
  std::vector<double> empty, big;
  for (int i = 0; i < kRounds; ++i) {
    tk::setWindowText(smallMemo, L"");
    empty.push_back(timeClick(small.controls().hwnd(ui::ControlId::make)));
    big.push_back(timeClick(large.controls().hwnd(ui::ControlId::make)));
  }
  const std::size_t expected = sheet.size() + kRounds * std::wstring(L"BODY{\r\n}\r\n").size();
  const auto length = static_cast<std::size_t>(GetWindowTextLengthW(largeMemo));

  const double e = median(empty), b = median(big);
  std::printf("add to an empty memo:        %8.3f ms (median of %d, interleaved)\n", e * 1e3,
              kRounds);
  std::printf("add to a memo of %zu chars: %8.3f ms (median of %d, interleaved)\n", sheet.size(),
              b * 1e3, kRounds);
  std::printf("ratio: %.2f (aim: at most 2)\n", b / e);
  if (length != expected) {
    std::printf("memo length %zu, expected %zu\n", length, expected);
    return 1;
  }
  return 0;
}
