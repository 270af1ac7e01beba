// The default error display: every error that escapes a handler ends up here
// and is shown in a stop-icon message box owned by the application window.
#pragma once

#include <string>
#include <string_view>

namespace app {

// The message as shown: a "." is added when the last character's code is
// greater than that of "." (letters, digits, Japanese text), so a message
// already ending in ".", ")" or a space gets none.
std::wstring withFinalPeriod(std::wstring_view message);

// Shows the message modally; installed with tk::setErrorDisplay.
void showError(std::wstring_view message) noexcept;

} // namespace app
