#include "toolkit/modal.h"

namespace tk {
namespace {
HWND g_applicationWindow = nullptr;
} // namespace

void setApplicationWindow(HWND hwnd) noexcept {
  g_applicationWindow = hwnd;
}
HWND applicationWindow() noexcept {
  return g_applicationWindow;
}

HWND dialogOwner() noexcept {
  if (g_applicationWindow && IsWindow(g_applicationWindow))
    return g_applicationWindow;
  return GetActiveWindow();
}

void cancelMouseCapture() noexcept {
  if (HWND capture = GetCapture())
    SendMessageW(capture, WM_CANCELMODE, 0, 0);
}

ModalScope::ModalScope() : active_(GetActiveWindow()), focus_(GetFocus()) {
  cancelMouseCapture();
  EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(this));
  for (HWND h : disabled_)
    EnableWindow(h, FALSE);
}

ModalScope::~ModalScope() {
  for (HWND h : disabled_)
    if (IsWindow(h))
      EnableWindow(h, TRUE);
  if (active_ && IsWindow(active_))
    SetActiveWindow(active_);
  if (focus_ && IsWindow(focus_))
    SetFocus(focus_);
}

BOOL CALLBACK ModalScope::collect(HWND hwnd, LPARAM self) {
  auto* scope = reinterpret_cast<ModalScope*>(self);
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    try {
      scope->disabled_.push_back(hwnd);
    } catch (...) {
      return FALSE; // out of memory: disable what we have
    }
  }
  return TRUE;
}

} // namespace tk
