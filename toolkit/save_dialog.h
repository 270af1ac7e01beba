// The explorer-style save-file dialog, centred horizontally and placed a third
// of the way down the monitor the user is working on.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tk {

// "description|pattern|..." as the dialog wants it: every "|" becomes NUL and
// the list ends in two NULs (the second one is the string's terminator).
std::wstring dialogFilterList(std::wstring_view filterText);

// Runs GetSaveFileNameW owned by the application window, with the other
// windows disabled. `path` is offered as the file name and receives the
// chosen full path, of any length the system allows. `mainWindow` names
// the monitor to place the dialog on when the application has no active
// window. Returns false when the user cancelled or the dialog failed.
bool runSaveDialog(HWND mainWindow, std::wstring_view filterText, std::wstring& path);

} // namespace tk
