#include "controls/ime.h"

#include "toolkit/text.h"

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
    const LONG got =
        ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(),
                                 static_cast<DWORD>(text.size()) * DWORD{sizeof(wchar_t)});
    text.resize(got > 0 ? static_cast<std::size_t>(got) / sizeof(wchar_t) : 0);
  }
  ImmReleaseContext(hwnd, context);
  return text;
}

EditSnapshot EditSnapshot::of(HWND edit) {
  EditSnapshot s;
  s.text = tk::windowText(edit);
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start),
               reinterpret_cast<LPARAM>(&s.end));
  return s;
}

bool EditSnapshot::restore(HWND edit) const {
  const bool changed = tk::windowText(edit) != text;
  if (changed)
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
  return changed;
}

LPARAM compositionOnly(LPARAM lp) {
  return lp & ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR |
                                   GCS_RESULTREADCLAUSE);
}

} // namespace controls
