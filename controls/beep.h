// Every beep of the spin edit goes through here, so that tests can count them.
#pragma once

#include <windows.h>

namespace controls {

using BeepFunction = void (*)(UINT type);

// Installs `beep` (nullptr restores MessageBeep); returns the previous one.
BeepFunction setBeepFunction(BeepFunction beep) noexcept;

// Sounds MessageBeep(type), or whatever setBeepFunction installed.
void beep(UINT type = 0) noexcept;

} // namespace controls
