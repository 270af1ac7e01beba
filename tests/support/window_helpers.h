// Small ways for a test to host controls and act on them as a user or the
// message loop would, and to see what the user would see.
#pragma once

#include "tests/support/non_copyable.h"
#include "toolkit/errors.h"
#include "toolkit/window.h"

#include <windows.h>

#include <imm.h>

#include <string>
#include <string_view>
#include <vector>

namespace sheetloom_test {

// A top-level window of our own class `className` for a test to put
// controls in; destroyed with the object. A derived class's handleMessage
// sees no message of the teardown, which runs after its members are gone.
class HostWindow : public tk::Window {
public:
  HostWindow(const wchar_t* className, DWORD style, int x, int y, int width, int height,
             const wchar_t* text = L"host");
  ~HostWindow() override { destroy(); }
};

// Dispatches the queued messages through the same steps as the program's
// message loop; a WM_QUIT in the queue is dropped.
void pumpPending();

// A monotonic clock in milliseconds, for timing what a test waits for.
double nowMs();

// Dispatches messages for `ms` milliseconds, offering each to
// IsDialogMessage of `dialog` first when one is given, as a dialog loop does.
void pumpFor(double ms, HWND dialog = nullptr);

// The state of Ctrl and Shift that GetKeyState reports from now on.
void setModifierKeys(bool ctrl, bool shift);

// Sends each character as a WM_CHAR, as typing does.
void typeChars(HWND target, std::wstring_view chars);
// Commits `text` through the input method, as a user converting with an IME
// does: the composition is set in the input context of `target`, which has the
// focus, and completed (ImmSetCompositionStringW, then ImmNotifyIME with
// CPS_COMPLETE), which sends the window the messages of a real commit. False
// when the window has no input context, or it refused the composition. With
// CPS_CANCEL as `ending`, the composition is cancelled instead.
bool commitThroughIme(HWND target, std::wstring_view text, DWORD ending = CPS_COMPLETE);

// `child`'s window rectangle in `parent`'s client coordinates.
RECT rectIn(HWND child, HWND parent);

// The parts of a combo box: its edit (hwndItem) and drop-down list (hwndList).
COMBOBOXINFO comboBoxInfo(HWND combo);

// The clipboard's Unicode text, or "<cannot open>" when it cannot be opened.
std::wstring clipboardText(HWND owner = nullptr);
// Puts `text` on the clipboard as Unicode text; false when it cannot.
bool setClipboardText(HWND owner, const std::wstring& text);

std::wstring className(HWND hwnd);

// True under Wine (its ntdll has wine_get_version), for the few rows whose
// Windows behaviour Wine cannot show.
bool runningUnderWine();

// The text of a message box's message (the static control with id 0xFFFF).
std::wstring messageBoxText(HWND box);

// How many pixels of the window's client area, or of a part of it, as shown on
// the screen, have the colour.
int countPixels(HWND window, COLORREF colour);
int countPixels(HWND window, COLORREF colour, const RECT& part);

// Collects what the error display would show while the object lives, and
// puts the earlier display back afterwards. One at a time.
class ErrorCapture : NonCopyable {
public:
  ErrorCapture();
  ~ErrorCapture();

  std::vector<std::wstring> shown;

private:
  static void record(std::wstring_view message);
  tk::ErrorDisplay previous_;
};

// While it lives, this executable's calls of `function` in `dll` go to
// `replacement`: the address in the executable's import table is swapped, so
// a failure of the system itself reaches the code under test unchanged.
class ImportReplacement : NonCopyable {
public:
  ImportReplacement(const wchar_t* dll, const char* function, void (*replacement)());
  ~ImportReplacement();
  bool active() const noexcept { return slot_ != nullptr; }

private:
  FARPROC* slot_ = nullptr;
  FARPROC original_ = nullptr;
};

} // namespace sheetloom_test
