// TSpinEdit: a one-line numeric edit with a pair of arrow buttons inside its
// right edge. The number lives only in the edit's text; Value parses it on
// every read (an unreadable text reads as MinValue) and writes it back in
// decimal after the range rule. Equal bounds mean no bounds at all.
#pragma once

#include "controls/beep.h"
#include "toolkit/window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace controls {

class TSpinButton;
struct EditSnapshot;

class TSpinEdit : public tk::Window {
public:
  // `beep` (kept by reference) sounds for a refused key or step.
  explicit TSpinEdit(const Beep& beep = systemBeep());
  ~TSpinEdit() override;

  // Creates the edit window with its button pair at the given bounds (pixels,
  // parent client coordinates). `font` (borrowed, may be null) is applied
  // before the size is checked against the minimum height.
  void create(HWND parent, int id, int x, int y, int width, int height, HFONT font = nullptr);

  int32_t MinValue() const noexcept { return minValue_; }
  void SetMinValue(int32_t value) noexcept { minValue_ = value; }
  int32_t MaxValue() const noexcept { return maxValue_; }
  void SetMaxValue(int32_t value) noexcept { maxValue_ = value; }
  int32_t Increment() const noexcept { return increment_; }
  void SetIncrement(int32_t value) noexcept { increment_ = value; }
  bool EditorEnabled() const noexcept { return editorEnabled_; }
  void SetEditorEnabled(bool enabled) noexcept { editorEnabled_ = enabled; }
  bool ReadOnly() const noexcept { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool AutoSelect() const noexcept { return autoSelect_; }
  void SetAutoSelect(bool autoSelect) noexcept { autoSelect_ = autoSelect; }
  // With AutoSize, a font change sets the height to the minimum height.
  bool AutoSize() const noexcept { return autoSize_; }
  void SetAutoSize(bool autoSize) noexcept { autoSize_ = autoSize; }
  // A sunken 3-D border (the default) or a flat one; the button pair sits
  // differently inside each.
  bool Ctl3D() const noexcept { return ctl3D_; }
  void SetCtl3D(bool ctl3D);

  // The integer the text denotes, or MinValue when it denotes none.
  int32_t Value() const;
  // Shows the value after the range rule; an unchanged text stays untouched.
  void SetValue(int32_t value);

  std::wstring Text() const;
  void SetText(std::wstring_view text);

  // Same as sending WM_SETFONT (borrowed font); the height follows AutoSize.
  void SetFont(HFONT font);
  // Text height of the font plus room for the border, at the control's DPI.
  int MinHeight() const;

  // The DPI the control is shown at, the window's at creation. A new DPI
  // scales the button pair and its arrows; set it before the font made for
  // that DPI, whose height then follows the minimum height.
  UINT Dpi() const noexcept { return dpi_; }
  void SetDpi(UINT dpi);

  // The arrow pair; exists from construction until destruction begins.
  TSpinButton& Button() noexcept { return *button_; }

  // The typing filter: whether a typed character may reach the edit.
  virtual bool AcceptsChar(wchar_t ch);
  // One step up or down by Increment (the sender is ignored). Both the
  // arrow buttons and the arrow keys come here, so an override changes both.
  virtual void StepUp(tk::Window* sender);
  virtual void StepDown(tk::Window* sender);

  // Raised after the text changed through Value, a step, typing, paste or cut.
  std::function<void(TSpinEdit&)> OnChange;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void step(int32_t direction);
  void onSize();
  void placeButton();
  // The pair's place for an outer size w x h and a pair width p.
  RECT pairPlace(int w, int h, int p) const;
  void setTextArea();
  // One member for each message the edit handles itself.
  LRESULT typed(WPARAM wp, LPARAM lp);
  LRESULT keyDown(WPARAM wp, LPARAM lp);
  LRESULT pressed(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT focusLost(WPARAM wp, LPARAM lp);
  LRESULT resized(WPARAM wp, LPARAM lp);
  LRESULT fontSet(WPARAM wp, LPARAM lp);
  LRESULT editCommand(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT composition(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT dialogCode(WPARAM wp, LPARAM lp);
  LRESULT paintFrame(WPARAM region);

  const Beep& beep_;
  std::unique_ptr<TSpinButton> button_;
  std::unique_ptr<EditSnapshot> composing_; // while an input method composes
  std::wstring pendingText_ = L"0";         // the text until the window exists
  UINT dpi_ = 96;
  int32_t minValue_ = 0;
  int32_t maxValue_ = 0;
  int32_t increment_ = 1;
  bool editorEnabled_ = true;
  bool readOnly_ = false;
  bool autoSelect_ = true;
  bool autoSize_ = true;
  bool ctl3D_ = true;
  bool pressingEdit_ = false; // a left press on the edit is giving it the focus
  bool inEditCommand_ = false;
  bool creating_ = false; // create lays the control out itself
};

} // namespace controls
