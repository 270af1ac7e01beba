// The common dialog library (comdlg32), loaded the first time a dialog opens
// instead of with the program. Importing it makes the system load it, and the
// shell libraries it needs, at start: about 6 MB of working set under Wine,
// for dialogs that most sessions open late or never.
#pragma once

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

namespace tk::dialogs {

// As the functions of the same names; FALSE when the library cannot be
// loaded, which extendedError() then reports as CDERR_INITIALIZATION.
BOOL getSaveFileName(OPENFILENAMEW* ofn);
BOOL chooseFont(CHOOSEFONTW* cf);
BOOL chooseColor(CHOOSECOLORW* cc);
DWORD extendedError();

} // namespace tk::dialogs
