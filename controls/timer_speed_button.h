// TTimerSpeedButton: a flat push button with a glyph that clicks when the left
// mouse button is released over it, and repeats its click while held down
// (first after 400 ms, then every 100 ms) when its auto-repeat flag is set.
// It never takes the keyboard focus; its owner may ask it to show a focus mark.
#pragma once

#include "toolkit/handles.h"
#include "toolkit/window.h"

#include <functional>

namespace controls {

class TTimerSpeedButton : public tk::Window {
public:
  // The flags of the button, both clear after construction.
  enum TimeBtnState : unsigned { tbFocusRect = 1, tbAllowTimer = 2 };

  TTimerSpeedButton() = default;
  ~TTimerSpeedButton() override;

  void create(HWND parent, int x, int y, int width, int height);

  unsigned TimeBtnStates() const noexcept { return states_; }
  void SetTimeBtnStates(unsigned states);

  // The glyph: NumGlyphs images side by side (normal, disabled, pressed, ...).
  HBITMAP Glyph() const noexcept { return glyph_.get(); }
  void SetGlyph(tk::UniqueBitmap glyph);
  int NumGlyphs() const noexcept { return numGlyphs_; }
  void SetNumGlyphs(int count);

  // Whether the button currently shows pressed.
  bool Down() const noexcept { return pressed_; }
  // Whether the auto-repeat timer is running.
  bool TimerEnabled() const noexcept { return timerEnabled_; }

  // Raises OnClick, as a release over the button does.
  void Click();

  std::function<void(TTimerSpeedButton&)> OnClick;
  // Raised first on every mouse press, with WM_LBUTTONDOWN, WM_RBUTTONDOWN, ...
  std::function<void(TTimerSpeedButton&, UINT message)> OnMouseDown;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void mouseDown(UINT msg);
  void mouseMove(LPARAM lp);
  void mouseUp(UINT msg, LPARAM lp);
  void timerTick();
  void startTimer(UINT interval);
  void stopTimer() noexcept;
  void setPressed(bool pressed);
  bool pointInside(LPARAM lp) const;
  void paint(HDC dc) const;
  void drawGlyph(HDC dc, const RECT& area) const;

  tk::UniqueBitmap glyph_;
  int numGlyphs_ = 1;
  unsigned states_ = 0;
  bool pressed_ = false;  // shows pressed
  bool tracking_ = false; // a left press is being followed with the capture
  bool timerEnabled_ = false;
};

} // namespace controls
