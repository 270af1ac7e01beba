// Adding a rule (the make button's whole handler: side editors committed,
// rule composed, appended to the memo) to an empty stylesheet and to one of
// 10 MB, in one run. Prints the medians and their ratio; the aim is that the
// second costs at most twice the first.
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

// Times one click of the add button per round; `reset` restores the memo.
template <class Reset> double timeAdds(HWND make, Reset reset) {
  std::vector<double> times;
  for (int i = 0; i < kRounds; ++i) {
    reset();
    pump();
    const double start = now();
    SendMessageW(make, BM_CLICK, 0, 0);
    times.push_back(now() - start);
  }
  return median(times);
}

} // namespace

int wmain() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  ui::TForm1 form;
  form.create(nullptr, SW_SHOWNORMAL);
  pump();
  HWND make = form.control("make");
  HWND memo = form.control("StyleSheet");

  const double empty = timeAdds(make, [&] { tk::setWindowText(memo, L""); });
  const std::wstring sheet = makeSheet();
  tk::setWindowText(memo, sheet);
  // The sheet stays; each round adds one more rule after the last.
  const double big = timeAdds(make, [] {});
  const std::size_t expected = sheet.size() + kRounds * std::wstring(L"BODY{\r\n}\r\n").size();
  const auto length = static_cast<std::size_t>(GetWindowTextLengthW(memo));

  // For comparison: what appending by reading the whole text and writing it
  // back costs at this length.
  std::vector<double> whole;
  for (int i = 0; i < 3; ++i) {
    const double start = now();
    std::wstring text = tk::windowText(memo);
    text += L"BODY{\r\n}\r\n";
    tk::setWindowText(memo, text);
    whole.push_back(now() - start);
  }

  std::printf("add to an empty memo:        %8.3f ms (median of %d)\n", empty * 1e3, kRounds);
  std::printf("add to a memo of %zu chars: %8.3f ms (median of %d)\n", sheet.size(), big * 1e3,
              kRounds);
  std::printf("ratio: %.2f (aim: at most 2)\n", big / empty);
  std::printf("whole text read and written back at that length: %8.3f ms (median of 3)\n",
              median(whole) * 1e3);
  if (length != expected) {
    std::printf("memo length %zu, expected %zu\n", length, expected);
    return 1;
  }
  return big <= 2 * empty ? 0 : 2;
}
