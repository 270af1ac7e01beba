// The small modal window that confirms a save: the message in a word-wrapping
// label above one "OK" button, in the system's message font.
#pragma once

#include "toolkit/handles.h"
#include "toolkit/window.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace app {

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
  void copyToClipboard();

  std::wstring message_;
  tk::UniqueFont font_;
  bool done_ = false;
  HWND button_ = nullptr; // borrowed: a child, destroyed with the window
};

// Installed as the document's confirmation.
void showConfirmation(std::wstring_view message);

} // namespace app
