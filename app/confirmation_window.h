// The small modal window that confirms a save: the message in a word-wrapping
// label above one OK button (captioned with the system's own text), in the
// system's message font at the DPI of the window's monitor.
#pragma once

#include "toolkit/handles.h"
#include "toolkit/window.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace app {

// The system's caption for an OK button, as its message boxes show it; "OK"
// when the system gives none.
std::wstring systemOkCaption();

// Client-area geometry of the window for one message, measured with the font
// selected into `dc`.
struct ConfirmationLayout {
  SIZE client;
  RECT text;
  RECT button;
};
ConfirmationLayout layoutConfirmation(HDC dc, std::wstring_view message, int maxTextWidth,
                                      std::wstring_view buttonCaption);

// What Ctrl+C puts on the clipboard: caption, message and the button captions
// between lines of hyphens, every line ending in CR LF.
std::wstring confirmationClipboardText(std::wstring_view caption, std::wstring_view message,
                                       std::wstring_view buttonCaption);

class ConfirmationWindow : public tk::Window {
public:
  explicit ConfirmationWindow(std::wstring_view message);
  ~ConfirmationWindow() override;

  // Shows the window with the application's other windows disabled and
  // returns once the user dismissed it.
  void showModal();

  bool preTranslateMessage(MSG& msg) override;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void build();
  SIZE layOut(UINT dpi);
  void placeCentred(SIZE client, UINT dpi, const RECT& area);
  void onDpiChanged(UINT dpi, const RECT& suggested);
  void copyToClipboard();

  std::wstring message_;
  std::wstring buttonCaption_;
  tk::UniqueFont font_;
  bool done_ = false;
  HWND label_ = nullptr;  // borrowed: a child, destroyed with the window
  HWND button_ = nullptr; // borrowed: a child, destroyed with the window
};

// Installed as the document's confirmation.
void showConfirmation(std::wstring_view message);

} // namespace app
