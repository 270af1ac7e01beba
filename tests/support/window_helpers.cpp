#include "tests/support/window_helpers.h"

#include "toolkit/handles.h"
#include "toolkit/message_loop.h"
#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sheetloom_test {

HostWindow::HostWindow(const wchar_t* className, DWORD style, int x, int y, int width, int height,
                       const wchar_t* text) {
  createOwn(className, tk::CreateArgs{0, style, text, x, y, width, height});
}

void pumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT)
      continue;
    if (tk::preTranslate(msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void pumpFor(double ms, HWND dialog) {
  const double end = nowMs() + ms;
  MSG m;
  for (;;) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (dialog && IsDialogMessageW(dialog, &m))
        continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    const double left = end - nowMs();
    if (left <= 0)
      break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  }
}

void setModifierKeys(bool ctrl, bool shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
}

void typeChars(HWND target, std::wstring_view chars) {
  for (wchar_t ch : chars)
    SendMessageW(target, WM_CHAR, ch, 1);
}

bool commitThroughIme(HWND target, std::wstring_view text, DWORD ending) {
  const HIMC context = ImmGetContext(target);
  if (!context)
    return false;
  ImmSetOpenStatus(context, TRUE);
  const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  const bool done = ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(text.data()),
                                             bytes, nullptr, 0) &&
                    ImmNotifyIME(context, NI_COMPOSITIONSTR, ending, 0);
  ImmReleaseContext(target, context);
  return done;
}

RECT rectIn(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

COMBOBOXINFO comboBoxInfo(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info;
}

std::wstring clipboardText(HWND owner) {
  if (!OpenClipboard(owner))
    return L"<cannot open>";
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool setClipboardText(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner))
    return false;
  EmptyClipboard();
  bool put = false;
  if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    if (auto* p = static_cast<wchar_t*>(GlobalLock(mem))) {
      std::copy(text.c_str(), text.c_str() + text.size() + 1, p);
      GlobalUnlock(mem);
      put = SetClipboardData(CF_UNICODETEXT, mem) != nullptr; // the clipboard owns it now
    }
    if (!put)
      GlobalFree(mem);
  }
  CloseClipboard();
  return put;
}

std::wstring className(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring messageBoxText(HWND box) {
  // The message is the static control with id 0xFFFF (the icon is id 0x14).
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? tk::windowText(text) : std::wstring();
}

namespace {
ErrorCapture* g_capture = nullptr;
} // namespace

ErrorCapture::ErrorCapture() : previous_(tk::setErrorDisplay(record)) {
  if (g_capture)
    ADD_FAILURE() << "only one error capture at a time";
  g_capture = this;
}

ErrorCapture::~ErrorCapture() {
  tk::setErrorDisplay(previous_);
  g_capture = nullptr;
}

void ErrorCapture::record(std::wstring_view message) {
  try {
    if (g_capture)
      g_capture->shown.emplace_back(message);
  } catch (...) {
    // A display must not throw; a message lost to a full memory fails the check.
  }
}

int countPixels(HWND window, COLORREF colour) {
  RECT r{};
  GetClientRect(window, &r);
  return countPixels(window, colour, r);
}

int countPixels(HWND window, COLORREF colour, const RECT& part) {
  tk::WindowDc dc(window);
  int n = 0;
  for (int y = part.top; y < part.bottom; ++y)
    for (int x = part.left; x < part.right; ++x)
      n += GetPixel(dc.get(), x, y) == colour;
  return n;
}

bool runningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

namespace {

// Writes `value` into a slot of the import table, which is read-only.
void writeSlot(FARPROC* slot, FARPROC value) {
  DWORD protection = 0;
  if (VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) {
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
  }
}

} // namespace

ImportReplacement::ImportReplacement(const wchar_t* dll, const char* function,
                                     void (*replacement)()) {
  HMODULE library = GetModuleHandleW(dll);
  const FARPROC target = library ? GetProcAddress(library, function) : nullptr;
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!target || !imports.VirtualAddress)
    return;
  // Every imported library's address table, looked through for the one
  // address the loader put there for the function.
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       d->Name != 0; ++d)
    for (auto* slot = reinterpret_cast<FARPROC*>(base + d->FirstThunk); *slot; ++slot)
      if (*slot == target) {
        slot_ = slot;
        original_ = target;
        writeSlot(slot_, reinterpret_cast<FARPROC>(replacement));
        return;
      }
}

ImportReplacement::~ImportReplacement() {
  if (slot_)
    writeSlot(slot_, original_);
}

} // namespace sheetloom_test
