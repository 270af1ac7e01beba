// TTimerSpeedButton: a flat push button with a glyph that clicks when the left
// mouse button is released over it, and repeats its click while held down
// (first after 400 ms, then every 100 ms) when its auto-repeat flag is set.
// It is no window of its own but a painted part of its owner's window (the
// arrow pair): the owner hands it the mouse messages and timer ticks that
// concern it, lends it its capture and timer, and paints it with paint().
// It never takes the keyboard focus; its owner may ask it to show a focus mark.
#pragma once

#include "toolkit/handles.h"

#include <windows.h>

#include <functional>

namespace controls {

class TTimerSpeedButton {
public:
  // The flags of the button, both clear after construction.
  enum TimeBtnState : unsigned { tbFocusRect = 1, tbAllowTimer = 2 };

  TTimerSpeedButton() = default;
  TTimerSpeedButton(const TTimerSpeedButton&) = delete;
  TTimerSpeedButton& operator=(const TTimerSpeedButton&) = delete;
  ~TTimerSpeedButton();

  // The window the button is part of (borrowed) and the id of its repeat
  // timer there.
  void attach(HWND owner, UINT_PTR timerId) noexcept;
  HWND Owner() const noexcept { return owner_; }
  UINT_PTR TimerId() const noexcept { return timerId_; }

  // The button's place in the owner's client area.
  const RECT& BoundsRect() const noexcept { return bounds_; }
  void SetBoundsRect(const RECT& bounds);
  bool Contains(POINT client) const noexcept;

  unsigned TimeBtnStates() const noexcept { return states_; }
  void SetTimeBtnStates(unsigned states);

  // The glyph: NumGlyphs images side by side (normal, disabled, pressed, ...).
  HBITMAP Glyph() const noexcept { return glyph_.get(); }
  void SetGlyph(tk::UniqueBitmap glyph);
  int NumGlyphs() const noexcept { return numGlyphs_; }
  void SetNumGlyphs(int count);

  // Whether the button currently shows pressed.
  bool Down() const noexcept { return pressed_; }
  // Whether a left press is being followed with the owner's capture.
  bool Tracking() const noexcept { return tracking_; }
  // Whether the auto-repeat timer is running.
  bool TimerEnabled() const noexcept { return timerEnabled_; }

  // Raises OnClick, as a release over the button does.
  void Click();

  std::function<void(TTimerSpeedButton&)> OnClick;
  // Raised first on every mouse press, with WM_LBUTTONDOWN, WM_RBUTTONDOWN, ...
  std::function<void(TTimerSpeedButton&, UINT message)> OnMouseDown;

  // The owner's messages for the button; points in the owner's client area.
  void mouseDown(UINT msg);
  void mouseMove(POINT client);
  void mouseUp(UINT msg, POINT client);
  // The owner lost the capture (another window took it, or a modal window
  // cancelled the mode): the press ends without a click and the repeat stops.
  void captureLost() noexcept;
  void timerTick();
  // Stops the repeat timer; also when the owner's window goes.
  void stopTimer() noexcept;
  void paint(HDC dc) const;

private:
  void startTimer(UINT interval);
  void setPressed(bool pressed);
  void invalidate() const noexcept;
  bool enabled() const noexcept;
  void drawGlyph(HDC dc, const RECT& area) const;

  HWND owner_ = nullptr; // borrowed
  UINT_PTR timerId_ = 1;
  RECT bounds_{};
  tk::UniqueBitmap glyph_;
  int numGlyphs_ = 1;
  unsigned states_ = 0;
  bool pressed_ = false;  // shows pressed
  bool tracking_ = false; // a left press is being followed with the capture
  bool timerEnabled_ = false;
};

} // namespace controls
