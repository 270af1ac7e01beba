// Whether a font face is installed.
#pragma once

#include <windows.h>

namespace tk {

// True when `face` itself is installed. A face that the system merely
// substitutes (a Windows face name on a system without it) is enumerated
// under the name of the face it maps to, so only an enumerated face of
// exactly that name counts.
bool isInstalledFace(HDC dc, const wchar_t* face);

} // namespace tk
