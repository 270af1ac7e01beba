#include "toolkit/message_loop.h"

#include "toolkit/window.h"

namespace tk {

bool preTranslate(MSG& msg) {
  if (!msg.hwnd)
    return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  Window* window = Window::fromHandle(root);
  return window && window->preTranslateMessage(msg);
}

namespace {

HWND g_applicationWindow = nullptr;

// Gets, offers and dispatches messages until `done` (when given) is true.
// While `idle` returns true it is called whenever the queue holds nothing,
// not even a window to paint. Returns GetMessage's last answer: 0 at WM_QUIT
// (whose exit code `msg` then holds), -1 when it failed, else TRUE.
BOOL pump(MSG& msg, const bool* done, const std::function<bool()>& idle) {
  bool idling = static_cast<bool>(idle);
  while (!done || !*done) {
    while (idling && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
      idling = idle();
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1)
      return got;
    if (preTranslate(msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return TRUE;
}

} // namespace

int runMessageLoop(const std::function<bool()>& idle) {
  MSG msg{};
  pump(msg, nullptr, idle);
  return static_cast<int>(msg.wParam);
}

void runModalLoop(const bool& done) {
  MSG msg{};
  if (pump(msg, &done, {}) == 0)
    PostQuitMessage(static_cast<int>(msg.wParam)); // the outer loop ends too
}

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
