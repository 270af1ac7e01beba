#include "toolkit/window.h"

#include "toolkit/errors.h"

#include <commctrl.h>

#include <utility>

namespace tk {
namespace {

const wchar_t kSelfProp[] = L"Sheetloom.Window";
const UINT_PTR kSubclassId = 1;

void registerOnce(const wchar_t* className, UINT classStyle, HBRUSH background, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, className, &existing))
    return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  checked(RegisterClassExW(&wc), "ウィンドウクラスを登録できません");
}

HWND createWindow(const wchar_t* className, const CreateArgs& a, void* param, const char* failure) {
  HMENU menu = (a.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)) : nullptr;
  return checked(CreateWindowExW(a.exStyle, className, a.text, a.style, a.x, a.y, a.width, a.height,
                                 a.parent, menu, GetModuleHandleW(nullptr), param),
                 failure);
}

} // namespace

HWND createChild(const wchar_t* className, const CreateArgs& args) {
  return createWindow(className, args, nullptr, "コントロールを作成できません");
}

Window::~Window() {
  if (HWND h = hwnd()) {
    // Detached first: the derived part of this object is already gone, so
    // the messages of the teardown must not reach it.
    detach();
    DestroyWindow(h);
  }
}

void Window::destroy() noexcept {
  if (HWND h = hwnd())
    DestroyWindow(h);
}

Window* Window::fromHandle(HWND hwnd) noexcept {
  return hwnd ? static_cast<Window*>(GetPropW(hwnd, kSelfProp)) : nullptr;
}

bool Window::preTranslateMessage(MSG&) {
  return false;
}

void Window::attach(HWND hwnd) noexcept {
  hwnd_ = hwnd;
  SetPropW(hwnd, kSelfProp, this);
}

void Window::detach() noexcept {
  HWND h = std::exchange(hwnd_, nullptr);
  if (!h)
    return;
  RemovePropW(h, kSelfProp);
  if (subclassed_)
    RemoveWindowSubclass(h, subclassProc, kSubclassId);
  subclassed_ = false;
}

void Window::createOwn(const wchar_t* className, const CreateArgs& a, UINT classStyle,
                       HBRUSH background) {
  registerOnce(className, classStyle, background, ownProc);
  createWindow(className, a, this, "ウィンドウを作成できません");
}

void Window::createControl(const wchar_t* className, const CreateArgs& a) {
  HWND h = createChild(className, a);
  attach(h);
  if (!SetWindowSubclass(h, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    const DWORD code = GetLastError();
    detach();
    DestroyWindow(h);
    throw Error("コントロールを準備できません", code);
  }
  subclassed_ = true;
}

LRESULT Window::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return defaultProc(msg, wp, lp);
}

LRESULT Window::defaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return subclassed_ ? DefSubclassProc(hwnd(), msg, wp, lp) : DefWindowProcW(hwnd(), msg, wp, lp);
}

LRESULT Window::dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return guarded([&] { return handleMessage(msg, wp, lp); });
}

LRESULT CALLBACK Window::ownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = fromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self)
      self->attach(hwnd);
  }
  if (!self)
    return DefWindowProcW(hwnd, msg, wp, lp);
  return self->deliver(msg, wp, lp);
}

LRESULT CALLBACK Window::subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR ref) {
  (void)hwnd;
  return reinterpret_cast<Window*>(ref)->deliver(msg, wp, lp);
}

// The window's last message is handled and then the object forgets the
// window, whoever destroyed it.
LRESULT Window::deliver(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  const LRESULT result = dispatch(msg, wp, lp);
  if (msg == WM_NCDESTROY)
    detach();
  return result;
}

} // namespace tk
