// The platform's font, colour and save-file dialogs, modal to the whole
// application: owned by tk::dialogOwner(), every other window of the
// application disabled while one is open, activation and focus given back
// afterwards. The font and colour dialogs open centred on the work area of
// their owner's monitor; the explorer-style save-file dialog centred
// horizontally and a third of the way down the monitor the user is working on.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tk {

struct FontChoice {
  LOGFONTW font{};         // face name, lfHeight (negative: character height), weight, ...
  COLORREF colour = 0;     // the starting colour unless the user picked one in the dialog
  int pointSizeTenths = 0; // the size the dialog reports, in tenths of a point
};

// Runs the font dialog (screen TrueType fonts, effects shown, existing fonts
// only) starting from `start`; a face that is not installed but substituted by
// the system starts the dialog on the face drawn in its place. Returns the choice when the user
// confirms and nothing when the user cancels. Throws tk::Error when the dialog cannot run.
std::optional<FontChoice> chooseFont(const LOGFONTW& start, COLORREF colour);

// The colour dialog's sixteen custom colours; the caller keeps them between runs.
using CustomColours = std::array<COLORREF, 16>;
// No custom colours: sixteen white boxes.
CustomColours noCustomColours() noexcept;

// Runs the colour dialog in its basic form starting from `start`. Returns the
// chosen 24-bit colour when the user confirms and nothing when the user
// cancels. Throws tk::Error when the dialog cannot run.
std::optional<COLORREF> chooseColour(COLORREF start, CustomColours& custom);

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
