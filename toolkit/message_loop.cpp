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

int runMessageLoop(const std::function<bool()>& idle) {
  MSG msg;
  bool idling = static_cast<bool>(idle);
  for (;;) {
    while (idling && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
      idling = idle();
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
      break;
    if (preTranslate(msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void runModalLoop(const bool& done) {
  MSG msg;
  while (!done) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got < 0)
      return;
    if (preTranslate(msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

} // namespace tk
