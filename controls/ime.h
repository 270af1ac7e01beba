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

} // namespace controls
