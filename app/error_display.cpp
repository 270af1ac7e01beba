#include "app/error_display.h"

#include "toolkit/message_loop.h"
#include "toolkit/placement.h"

#include <windows.h>

namespace app {
namespace {

// While alive, the application window sits at the centre of the monitor of
// the active window, so that a message box it owns opens where the user is.
class CentreOwnerOnActiveMonitor {
public:
  CentreOwnerOnActiveMonitor(HWND owner, HWND active) : owner_(owner) {
    if (!owner || !active || owner == active)
      return;
    if (MonitorFromWindow(active, MONITOR_DEFAULTTONEAREST) ==
            MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST) ||
        !GetWindowRect(owner, &old_))
      return;
    moved_ = tk::centreOnMonitor(owner, active, tk::MonitorArea::whole);
  }
  CentreOwnerOnActiveMonitor(const CentreOwnerOnActiveMonitor&) = delete;
  CentreOwnerOnActiveMonitor& operator=(const CentreOwnerOnActiveMonitor&) = delete;
  ~CentreOwnerOnActiveMonitor() {
    if (moved_ && IsWindow(owner_))
      SetWindowPos(owner_, nullptr, old_.left, old_.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

private:
  HWND owner_; // borrowed
  RECT old_{};
  bool moved_ = false;
};

} // namespace

std::wstring withFinalPeriod(std::wstring_view message) {
  std::wstring text(message);
  // A surrogate pair's last unit is above "." as well, so the last code unit
  // decides for the whole character.
  if (!text.empty() && text.back() > L'.')
    text.push_back(L'.');
  return text;
}

void showError(std::wstring_view message) noexcept {
  try {
    tk::cancelMouseCapture(); // before the owner moves under a pressed button
    const std::wstring text = withFinalPeriod(message);
    HWND owner = tk::applicationWindow();
    CentreOwnerOnActiveMonitor placement(owner, GetActiveWindow());
    tk::ModalScope modal;
    MessageBoxW(owner, text.c_str(), L"Sheetloom", MB_OK | MB_ICONSTOP);
  } catch (...) {
    // Out of memory while showing an error: nothing is left to show it with.
  }
}

} // namespace app
