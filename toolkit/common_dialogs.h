// The platform's font and colour dialogs, modal to the whole application:
// owned by tk::dialogOwner(), every other window of the application disabled
// while one is open, activation and focus given back afterwards. Both open
// centred on the work area of their owner's monitor.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

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

} // namespace tk
