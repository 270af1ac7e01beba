// UTF-8 (used everywhere in our own code) <-> UTF-16 (used at every W call).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tk {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The whole text of a window (WM_GETTEXTLENGTH + WM_GETTEXT), as UTF-16.
std::wstring windowText(HWND hwnd);
void setWindowText(HWND hwnd, std::wstring_view text);

} // namespace tk
