// What the input method commits, for controls that handle committed text as
// typed characters rather than let the edit insert it by itself.
#pragma once

#include <windows.h>

#include <string>

namespace controls {

// The string the input method committed, as a WM_IME_COMPOSITION with
// GCS_RESULTSTR in `lp` announces it to `hwnd`; empty when there is none.
std::wstring committedText(HWND hwnd, LPARAM lp);

// The WM_IME_COMPOSITION flags without those of the committed string: what
// remains for the platform's own composition display (0: nothing).
LPARAM compositionOnly(LPARAM lp);

// An edit's text and selection as they stood when a composition began. The
// platform may show the composition inside the text, replacing the selection
// (Wine's edit does); the committed characters are typed on what stood before,
// and a cancelled composition leaves it as it was.
struct EditSnapshot {
  std::wstring text;
  DWORD start = 0, end = 0;

  static EditSnapshot of(HWND edit);
  // Sets the text back (WM_SETTEXT) where it differs, and the selection;
  // true when the text differed.
  bool restore(HWND edit) const;
};

} // namespace controls
