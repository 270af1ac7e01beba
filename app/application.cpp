#include "app/application.h"

#include "app/confirmation_window.h"
#include "app/error_display.h"
#include "toolkit/errors.h"
#include "toolkit/message_loop.h"

namespace app {
namespace {

constexpr UINT kActivatePopup = WM_APP + 1;

// The program's icon (a shared resource icon, never destroyed) as the
// window's large and small icon.
void showProgramIcon(HWND hwnd) {
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")) {
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

} // namespace

ApplicationWindow::ApplicationWindow() {
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  tk::CreateArgs args;
  // Created visible rather than shown: the first ShowWindow of the process is
  // left to Form1, which the launch show state is meant for.
  args.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  args.text = L"Sheetloom";
  args.x = x;
  args.y = y;
  args.width = 0;
  args.height = 0;
  createOwn(L"SheetloomApplication", args);
  showProgramIcon(hwnd());
}

ApplicationWindow::~ApplicationWindow() {
  destroy();
}

LRESULT ApplicationWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_CLOSE:
    // "Close window" on the taskbar button closes the main window, which ends
    // the program.
    if (main_ && IsWindow(main_))
      PostMessageW(main_, WM_CLOSE, 0, 0);
    else
      PostQuitMessage(0);
    return 0;
  case WM_ACTIVATE:
    // The window itself has nothing to show: activation passes on to the
    // window the user last worked in (Form1 or an open dialog).
    if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp))
      PostMessageW(hwnd(), kActivatePopup, 0, 0);
    break;
  case WM_SIZE:
    // A start minimised leaves Form1 hidden, so that it never flashes on
    // screen; the first restore shows it.
    if (wp == SIZE_RESTORED && showMainOnRestore_ && main_) {
      showMainOnRestore_ = false;
      ShowWindow(main_, SW_SHOWNORMAL);
    }
    break;
  case kActivatePopup:
    if (GetActiveWindow() == hwnd() && !IsIconic(hwnd())) {
      HWND popup = GetLastActivePopup(hwnd());
      if (popup == hwnd())
        popup = main_;
      if (popup && IsWindowVisible(popup) && IsWindowEnabled(popup))
        SetActiveWindow(popup);
    }
    return 0;
  }
  return defaultProc(msg, wp, lp);
}

Application::Application() {
  tk::setApplicationWindow(window_.hwnd());
  tk::setErrorDisplay(showError);
}

Application::~Application() {
  form_.reset();
  tk::setErrorDisplay(nullptr);
  tk::setApplicationWindow(nullptr);
}

ui::TForm1& Application::start(int showCommand) {
  const bool minimised = showCommand == SW_SHOWMINNOACTIVE;
  int formShow = SW_SHOWNORMAL;
  if (showCommand == SW_SHOWMAXIMIZED)
    formShow = SW_SHOWMAXIMIZED;
  else if (minimised)
    formShow = SW_HIDE; // shown by the application window's first restore
  form_ = std::make_unique<ui::TForm1>();
  form_->create(window_.hwnd(), formShow);
  HWND form = form_->hwnd();
  window_.setMainWindow(form, minimised);
  form_->document().services().confirm = showConfirmation;
  showProgramIcon(form);
  // Form1's minimise button minimises the whole application, so that the
  // form disappears behind the one taskbar button instead of shrinking to an
  // icon of its own; restoring that button brings it back. Closing Form1 (its
  // close box, the system menu, Alt+F4) ends the message loop with exit code
  // 0; the form only disappears from the screen, its windows stay for the
  // system to take back when the process ends.
  form_->onMinimize = [this] { ShowWindow(window_.hwnd(), SW_MINIMIZE); };
  form_->onClose = [form] {
    ShowWindow(form, SW_HIDE);
    PostQuitMessage(0);
  };
  if (minimised)
    ShowWindow(window_.hwnd(), SW_SHOWMINNOACTIVE);
  return *form_;
}

int Application::run() {
  // The pages not shown at start are built once Form1 has been painted.
  return tk::runMessageLoop([this] { return form_ && form_->buildLaterPages(); });
}

void run(int showCommand) {
  Application application;
  application.start(showCommand);
  const int code = application.run();
  // Nothing is left to do at the end: the program keeps nothing but its text,
  // which closing discards, and every file is closed when its save ends.
  // Destroying Form1's 113 windows one by one would make the end several times
  // slower than that of a bare window program (under Wine each one costs the
  // server, and the combo boxes' lists are X windows); the system takes them
  // back together when the process ends.
  ExitProcess(static_cast<UINT>(code));
}

} // namespace app
