// TSpinButton: a pair of auto-repeating arrow buttons, up above down, in one
// window: the buttons are painted parts of it, which it hit-tests and hands the
// mouse to. Inside a TSpinEdit it steps the edit; it can also stand beside any
// other control, and then, as a tab stop, takes the focus and answers Space and
// the arrow keys.
#pragma once

#include "controls/timer_speed_button.h"

#include "toolkit/subclass.h"
#include "toolkit/window.h"

#include <functional>

namespace controls {

class TSpinButton : public tk::Window {
public:
  TSpinButton();
  ~TSpinButton() override;

  // Creates the pair (default size 20 x 25) with its two buttons.
  void create(HWND parent, int x, int y, int width = 20, int height = 25, int id = 0,
              bool tabStop = false);
  // Moves and sizes the pair; the width is raised to the minimum of 15
  // pixels at 96 dpi.
  void SetBounds(int x, int y, int width, int height);

  // The DPI the pair is drawn at: its minimum width and its built-in arrows
  // follow it. Set from the window's DPI at creation.
  UINT Dpi() const noexcept { return dpi_; }
  void SetDpi(UINT dpi);

  // A copy of `glyph` becomes the button's glyph; null restores the built-in
  // arrow (drawn for the pair's DPI). Reading returns the button's own bitmap
  // (still owned by it).
  HBITMAP UpGlyph() const noexcept { return up_.Glyph(); }
  void SetUpGlyph(HBITMAP glyph);
  HBITMAP DownGlyph() const noexcept { return down_.Glyph(); }
  void SetDownGlyph(HBITMAP glyph);
  int UpNumGlyphs() const noexcept { return up_.NumGlyphs(); }
  void SetUpNumGlyphs(int count) { up_.SetNumGlyphs(count); }
  int DownNumGlyphs() const noexcept { return down_.NumGlyphs(); }
  void SetDownNumGlyphs(int count) { down_.SetNumGlyphs(count); }

  // The control that an arrow press focuses (borrowed); forgotten when that
  // window is destroyed.
  HWND FocusControl() const noexcept { return focusControl_.hwnd(); }
  void SetFocusControl(HWND control);

  TTimerSpeedButton& UpButton() noexcept { return up_; }
  TTimerSpeedButton& DownButton() noexcept { return down_; }
  // The button that carries the focus mark while the pair has the focus.
  TTimerSpeedButton& CurrentButton() noexcept { return *current_; }
  // The button under a point of the pair's client area, or null. The up
  // button owns the row the two share.
  TTimerSpeedButton* ButtonAt(POINT client) noexcept;

  std::function<void(TSpinButton&)> OnUpClick;
  std::function<void(TSpinButton&)> OnDownClick;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void setGlyph(TTimerSpeedButton& button, HBITMAP glyph);
  // The button that receives a mouse message at `client`: the one following
  // a left press, else the one under the point.
  TTimerSpeedButton* mouseTarget(POINT client) noexcept;
  void paint(HDC dc);
  void onMouse(UINT msg, POINT at);
  // Every press ends without a click (the capture is lost).
  void endPresses() noexcept;
  bool onKeyDown(WPARAM key);
  void layoutButtons(int width, int height);
  void onSize();
  void buttonClick(TTimerSpeedButton& button);
  void buttonMouseDown(TTimerSpeedButton& button, UINT message);
  void setCurrent(TTimerSpeedButton& button);
  void setFocusMark(bool on);
  int minimumWidth() const;

  TTimerSpeedButton up_;
  TTimerSpeedButton down_;
  TTimerSpeedButton* current_ = &up_;
  // Watching the focus control's messages lets the pair forget it at its
  // WM_NCDESTROY, before its handle can be reused by another window.
  tk::Subclass focusControl_;
  UINT dpi_ = 96;
  bool upBuiltIn_ = true;
  bool downBuiltIn_ = true;
};

} // namespace controls
