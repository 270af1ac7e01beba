// The fonts of the main window: the proportional Japanese Gothic face at 12
// pixels for every control and at 13 pixels for the memo, Shift_JIS
// character set, made for the window's DPI.
#pragma once

#include "toolkit/handles.h"

#include <windows.h>

#include <string>

namespace ui {

// The first installed face of a short preference list that starts with
// "ＭＳ Ｐゴシック"; found once per process. When none is installed, the
// first name, which the font mapper then substitutes.
const std::wstring& windowFaceName();

// The window's LOGFONT: `face`, regular, Shift_JIS, characters `height`
// pixels high. The window's own fonts are of variable pitch and Swiss; the
// font dialog starts without a pitch or family, as the font mapper's choice of
// a substitute for a face that is not installed depends on them.
LOGFONTW windowLogFont(const std::wstring& face, int height,
                       BYTE pitchAndFamily = VARIABLE_PITCH | FF_SWISS);

// A regular font of the window face whose characters are `height96` pixels
// high at 96 dpi, scaled to `dpi`.
tk::UniqueFont makeWindowFont(int height96, UINT dpi);

struct WindowFonts {
  tk::UniqueFont controls; // every control but the memo
  tk::UniqueFont memo;
};

WindowFonts makeWindowFonts(UINT dpi);

} // namespace ui
