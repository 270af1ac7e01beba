// The parts of FormControls' implementation that its files share: the
// builder (form_builder.cpp), the creators of each kind of control
// (control_creators.cpp) and the layout (form_layout.cpp).
#pragma once

#include "ui/form_builder.h"

#include "toolkit/handles.h"
#include "toolkit/text.h"

#include <functional>
#include <string>
#include <string_view>

namespace ui {

inline constexpr int FirstControlId = 100; // clear of IDOK and IDCANCEL

// Measures captions in the controls' font on one screen DC, so that labels are
// created at their size instead of being measured and moved one by one.
class CaptionMeasure {
public:
  explicit CaptionMeasure(HFONT font) noexcept : select_(screen_.get(), font) {}
  SIZE extent(std::string_view caption) const {
    SIZE size{0, 0};
    if (screen_.get()) {
      const std::wstring text = tk::widen(caption);
      GetTextExtentPoint32W(screen_.get(), text.data(), static_cast<int>(text.size()), &size);
    }
    return size;
  }

private:
  tk::WindowDc screen_{nullptr};
  tk::SelectScope select_;
};

// What a creator needs besides the row: where the control goes and how it
// looks. Each creator makes the control at its bounds, in its font, and
// fills in the Control: its window and, for a typed kind, the object of its
// kind's type, which own() takes.
struct Creation {
  const ControlDescription& row;
  HWND parent; // the window the control is made in
  HWND owner;  // the window of the row's parent (for a page, the tab control)
  HWND form;   // receives the containers' notifications
  int id;      // the control ID
  RECT bounds; // in the parent's client coordinates, scaled
  HFONT font;  // the controls' font (borrowed)
  HFONT memoFont;
  UINT dpi;
  std::function<void()> onChange; // a combo's change event
  bool late;                      // made after build (its tab exists already)
};

// Makes the control of `creation.row` into its slot.
using Creator = void (*)(FormControls::Control&, const Creation&);
Creator creatorFor(ControlKind kind);

// Adds a tab of the caption `text` at the end; its index.
LRESULT addTab(HWND tabs, std::string_view text);

constexpr bool isCombo(ControlKind kind) {
  return kind == ControlKind::EditCombo || kind == ControlKind::DropDownList;
}

} // namespace ui
