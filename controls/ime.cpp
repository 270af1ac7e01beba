#include "controls/ime.h"

#include <imm.h>

namespace controls {

std::wstring committedText(HWND hwnd, LPARAM lp) {
  if (!(lp & GCS_RESULTSTR))
    return {};
  const HIMC context = ImmGetContext(hwnd);
  if (!context)
    return {};
  std::wstring text;
  const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    text.resize(static_cast<std::size_t>(bytes) / sizeof(wchar_t));
    const LONG got = ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(),
                                              static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    text.resize(got > 0 ? static_cast<std::size_t>(got) / sizeof(wchar_t) : 0);
  }
  ImmReleaseContext(hwnd, context);
  return text;
}

LPARAM compositionOnly(LPARAM lp) {
  return lp & ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR |
                                   GCS_RESULTREADCLAUSE);
}

} // namespace controls
