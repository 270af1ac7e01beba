#include "tests/support/real_input.h"

#include "tests/support/window_helpers.h"
#include "toolkit/message_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace sheetloom_test {
namespace {

// A virtual-key code that no keyboard sends (0x88-0x8F are unassigned): the
// marker that ends every action.
constexpr WORD kMarkerKey = 0x88;
// How long one action may take before its input counts as lost. Generous:
// it only bounds a failing run, the passing one never waits for it.
constexpr UINT kTimeoutMs = 15000;

// One run of the loop that waits for a marker (or for a plain time).
struct Wait {
  ULONG_PTR marker = 0; // 0: waits for its timer only
  UINT_PTR timer = 0;
  bool done = false;
  bool timedOut = false;
};

// State shared with the hook and the timer callbacks, which carry no context.
// Waits nest when an action opens a modal window and the test acts inside it.
HHOOK g_hook = nullptr;
ULONG_PTR g_lastMarkerSent = 0;
ULONG_PTR g_lastMarkerSeen = 0;
std::vector<Wait*> g_waits;

// Sees every message the moment a loop (ours, a dialog's, a message box's)
// takes it from the queue; the markers are counted and turned into WM_NULL,
// so no window ever sees them.
LRESULT CALLBACK getMessageHook(int code, WPARAM removal, LPARAM lp) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lp);
    const bool key = msg->message == WM_KEYDOWN || msg->message == WM_KEYUP ||
                     msg->message == WM_SYSKEYDOWN || msg->message == WM_SYSKEYUP;
    if (key && msg->wParam == kMarkerKey) {
      if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) {
        // Input arrives in the order it was sent: this marker's arrival
        // means every earlier one has arrived too.
        const auto marker = static_cast<ULONG_PTR>(GetMessageExtraInfo());
        g_lastMarkerSeen = std::max(g_lastMarkerSeen, marker);
        for (Wait* wait : g_waits)
          if (wait->marker && wait->marker <= g_lastMarkerSeen)
            wait->done = true;
      }
      msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(g_hook, code, removal, lp);
}

void CALLBACK waitTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (Wait* wait : g_waits) {
    if (wait->timer == id && !wait->done) {
      wait->timedOut = wait->marker != 0;
      wait->done = true;
    }
  }
}

// Runs the program's loop until `wait` is done; its timer ends it at the latest.
void runLoop(Wait& wait, UINT ms) {
  wait.timer = SetTimer(nullptr, 0, ms, waitTimer);
  g_waits.push_back(&wait);
  tk::runModalLoop(wait.done);
  g_waits.erase(std::find(g_waits.begin(), g_waits.end(), &wait));
  KillTimer(nullptr, wait.timer);
}

bool isExtendedKey(WORD vk) {
  switch (vk) {
  case VK_LEFT:
  case VK_RIGHT:
  case VK_UP:
  case VK_DOWN:
  case VK_HOME:
  case VK_END:
  case VK_PRIOR:
  case VK_NEXT:
  case VK_INSERT:
  case VK_DELETE:
  case VK_RCONTROL:
  case VK_RMENU:
    return true;
  default:
    return false;
  }
}

std::vector<WORD> modifierKeys(Modifier modifiers) {
  std::vector<WORD> keys;
  if (modifiers & Ctrl)
    keys.push_back(VK_CONTROL);
  if (modifiers & Shift)
    keys.push_back(VK_SHIFT);
  if (modifiers & Alt)
    keys.push_back(VK_MENU);
  return keys;
}

// What the input left behind: paints, and messages posted by the handlers
// after the marker was taken. Handled with the loop's own steps; a quit
// request stays queued for the loop that ends the program.
void drainQueue() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (tk::preTranslate(msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

} // namespace

RealInput::RealInput() {
  if (g_hook)
    ADD_FAILURE() << "only one RealInput at a time";
  g_hook = SetWindowsHookExW(WH_GETMESSAGE, getMessageHook, nullptr, GetCurrentThreadId());
  if (!g_hook)
    ADD_FAILURE() << "the message hook could not be installed";
}

RealInput::~RealInput() {
  std::vector<INPUT> release;
  for (auto it = keysDown_.rbegin(); it != keysDown_.rend(); ++it)
    release.push_back(keyInput(*it, true));
  if (buttonDown_) {
    POINT at{};
    GetCursorPos(&at);
    release.push_back(mouseInput(MOUSEEVENTF_LEFTUP, at));
  }
  if (!release.empty())
    send(std::move(release));
  if (g_hook)
    UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

bool RealInput::bringToFront(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  SetForegroundWindow(root);
  SetActiveWindow(root);
  drainQueue();
  return GetForegroundWindow() == root && GetActiveWindow() == root;
}

INPUT RealInput::keyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return in;
}

INPUT RealInput::mouseInput(DWORD flags, POINT screen) {
  // Absolute positions are in 1/65536 of the primary screen; the system
  // maps them back to pixels rounding down, so round up here.
  const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(screen.x) * 65536 + width - 1) / width);
  in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(screen.y) * 65536 + height - 1) / height);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

void RealInput::send(std::vector<INPUT> inputs) {
  if (!ok_)
    return; // an earlier action was lost: do not pile more on a stuck run
  if (queueOnly_) {
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
      ADD_FAILURE() << "SendInput refused the input (error " << GetLastError() << ")";
    return;
  }
  // The marker ends the batch; its extra information numbers it.
  const ULONG_PTR marker = ++g_lastMarkerSent;
  for (bool up : {false, true}) {
    INPUT in = keyInput(kMarkerKey, up);
    in.ki.wScan = 0;
    in.ki.dwExtraInfo = marker;
    inputs.push_back(in);
  }
  const UINT count = static_cast<UINT>(inputs.size());
  if (SendInput(count, inputs.data(), sizeof(INPUT)) != count) {
    ok_ = false;
    ADD_FAILURE() << "SendInput refused the input (error " << GetLastError() << ")";
    return;
  }
  Wait wait;
  wait.marker = marker;
  wait.done = g_lastMarkerSeen >= marker;
  runLoop(wait, kTimeoutMs);
  if (wait.timedOut) {
    ok_ = false;
    ADD_FAILURE() << "sent input never arrived: is the window in the foreground? (foreground "
                  << GetForegroundWindow() << ")";
    return;
  }
  drainQueue();
}

void RealInput::moveTo(HWND window, POINT client) {
  ClientToScreen(window, &client);
  send({mouseInput(0, client)});
  if (queueOnly_)
    return;
  POINT now{};
  GetCursorPos(&now);
  EXPECT_TRUE(now.x == client.x && now.y == client.y)
      << "the pointer went to " << now.x << "," << now.y << " instead of " << client.x << ","
      << client.y;
}

void RealInput::click(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  click(window, POINT{r.right / 2, r.bottom / 2});
}

void RealInput::waitOutDoubleClick(POINT screen) {
  const DWORD now = GetTickCount();
  const DWORD elapsed = now - lastClickTime_;
  const bool samePlace =
      std::abs(screen.x - lastClick_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
      std::abs(screen.y - lastClick_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (clicked_ && samePlace && elapsed <= GetDoubleClickTime())
    runLoopFor(GetDoubleClickTime() - elapsed + 1);
  clicked_ = true;
  lastClick_ = screen;
  lastClickTime_ = GetTickCount();
}

void RealInput::click(HWND window, POINT client) {
  ClientToScreen(window, &client);
  waitOutDoubleClick(client);
  send({mouseInput(0, client), mouseInput(MOUSEEVENTF_LEFTDOWN, client),
        mouseInput(MOUSEEVENTF_LEFTUP, client)});
}

void RealInput::doubleClick(HWND window, POINT client) {
  ClientToScreen(window, &client);
  waitOutDoubleClick(client);
  send({mouseInput(0, client), mouseInput(MOUSEEVENTF_LEFTDOWN, client),
        mouseInput(MOUSEEVENTF_LEFTUP, client), mouseInput(MOUSEEVENTF_LEFTDOWN, client),
        mouseInput(MOUSEEVENTF_LEFTUP, client)});
}

void RealInput::mouseDown(HWND window, POINT client) {
  ClientToScreen(window, &client);
  waitOutDoubleClick(client);
  buttonDown_ = true;
  send({mouseInput(0, client), mouseInput(MOUSEEVENTF_LEFTDOWN, client)});
}

void RealInput::mouseUp() {
  POINT at{};
  GetCursorPos(&at);
  buttonDown_ = false;
  send({mouseInput(MOUSEEVENTF_LEFTUP, at)});
}

void RealInput::key(WORD vk, Modifier modifiers) {
  const std::vector<WORD> held = modifierKeys(modifiers);
  std::vector<INPUT> inputs;
  for (WORD m : held)
    inputs.push_back(keyInput(m, false));
  inputs.push_back(keyInput(vk, false));
  inputs.push_back(keyInput(vk, true));
  for (auto it = held.rbegin(); it != held.rend(); ++it)
    inputs.push_back(keyInput(*it, true));
  send(std::move(inputs));
}

void RealInput::keyDown(WORD vk) {
  keysDown_.push_back(vk);
  send({keyInput(vk, false)});
}

void RealInput::keyUp(WORD vk) {
  keysDown_.erase(std::remove(keysDown_.begin(), keysDown_.end(), vk), keysDown_.end());
  send({keyInput(vk, true)});
}

void RealInput::type(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t ch : text) {
    WORD vk = 0;
    bool shift = false;
    if (ch == L'\b') {
      vk = VK_BACK;
    } else if (ch == L'\r' || ch == L'\n') {
      vk = VK_RETURN;
    } else if (ch == L'\t') {
      vk = VK_TAB;
    } else if (ch >= 0x20 && ch < 0x7F) {
      // Only plain or shifted keys of the layout; anything needing Ctrl or
      // Alt (or missing from the layout) goes as a Unicode packet.
      const SHORT scan = VkKeyScanW(ch);
      if (scan != -1 && (HIBYTE(scan) & ~1) == 0) {
        vk = LOBYTE(scan);
        shift = (HIBYTE(scan) & 1) != 0;
      }
    }
    if (vk) {
      if (shift)
        inputs.push_back(keyInput(VK_SHIFT, false));
      inputs.push_back(keyInput(vk, false));
      inputs.push_back(keyInput(vk, true));
      if (shift)
        inputs.push_back(keyInput(VK_SHIFT, true));
      continue;
    }
    for (bool up : {false, true}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wScan = ch;
      in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(in);
    }
  }
  send(std::move(inputs));
}

void RealInput::runLoopFor(DWORD ms) {
  Wait wait;
  runLoop(wait, ms);
  drainQueue();
}

} // namespace sheetloom_test
