// Builds Form1's controls from the form description and keeps them in a table
// indexed by ControlId: one place to reach any control, to place them all
// again for another DPI, and to follow the window's size with the docked ones.
#pragma once

#include "ui/form_description.h"
#include "ui/window_fonts.h"

#include "toolkit/window.h"

#include <array>
#include <functional>
#include <memory>

namespace controls {
class CompletionCombo;
class TSpinEdit;
} // namespace controls

namespace ui {

using controls::CompletionCombo;
using controls::TSpinEdit;
class Memo;
class CaptionMeasure;

class FormControls {
public:
  struct Control {
    const ControlDescription* row = nullptr;
    HWND hwnd = nullptr;                    // destroyed with Form1's window tree
    std::unique_ptr<tk::Window> window;     // containers, the memo and spin edits
    std::unique_ptr<CompletionCombo> combo; // every combo
    // A label on a page not shown at start keeps its described size until
    // the page is first shown (see fitCaptionsOn).
    bool captionPending = false;
  };

  FormControls();
  ~FormControls();
  FormControls(const FormControls&) = delete;
  FormControls& operator=(const FormControls&) = delete;

  // Creates every control of the description inside `form` (borrowed), at
  // the given DPI and with the given fonts (which must outlive the controls
  // or be replaced through relayout). A combo's change event calls
  // `onChange` with the combo's row; the other events reach the form as
  // WM_COMMAND.
  void build(HWND form, UINT dpi, const WindowFonts& fonts,
             std::function<void(const ControlDescription&)> onChange);

  // Places every control again for `dpi` and gives it the new fonts.
  void relayout(UINT dpi, const WindowFonts& fonts);
  // Follows a change of the form's client size: the docked controls only.
  void dock();
  // Sizes the labels inside `page` to their captions, if they are not yet:
  // called before a page is shown. Measuring a caption loads its glyphs
  // from the font file, which the labels of pages never shown need not cost.
  void fitCaptionsOn(HWND page);

  using Table = std::array<Control, ControlCount>;

  // The controls of the pages not shown at start (every page but the first,
  // with everything on it) are left out by build: buildNextPage creates them
  // a few controls at a time, and anything that asks for one of them before (hwnd,
  // spinEdit, combo, all) has the rest built at once. Either way each control
  // is made as build would have made it, in the same z-order.
  bool buildNextPage(); // false once every control exists
  bool complete() const noexcept { return pending_ == 0; }

  // Every control by its identifier, once build has run.
  HWND hwnd(ControlId id) const {
    ensure(id);
    return controls_[indexOf(id)].hwnd;
  }
  // The typed objects behind a control. Asking for the wrong kind throws
  // tk::Error naming the control; the window resolves what its handlers use
  // when it is built, so such a fault shows at start-up.
  TSpinEdit& spinEdit(ControlId id) const;
  CompletionCombo& combo(ControlId id) const;
  Memo& memo() const;
  const Control* find(HWND hwnd) const; // nullptr when not ours
  const Table& all() const {
    if (pending_ && !building_)
      const_cast<FormControls*>(this)->buildRest(); // every FormControls is a mutable object
    return controls_;
  }
  bool built() const noexcept { return built_; }

  // The page area of the tab control, in the coordinates of its parent.
  RECT pageArea() const;

private:
  void create(const ControlDescription& row, const CaptionMeasure& measure);
  void ensure(ControlId id) const {
    if (pending_ && !building_ && !controls_[indexOf(id)].hwnd)
      const_cast<FormControls*>(this)->buildRest();
  }
  void buildRest();
  // Up to `limit` more controls of `page` (0: all of them).
  void buildPage(const ControlDescription& page, std::size_t limit);
  bool pageDone(const ControlDescription& page) const;
  void checkBuilt() const;
  bool deferred(const ControlDescription& row) const;
  const Control& checkedKind(ControlId id, ControlKind kind) const;
  HWND parentOf(const ControlDescription& row) const;
  // A label's size is its caption's, when `measure` is given.
  RECT boundsOf(const Control& control, const CaptionMeasure* measure = nullptr) const;
  void place(Control& control, const CaptionMeasure& measure);
  void placePages();
  bool onHiddenPage(const ControlDescription& row) const;
  void fitCombo(HWND combo) const;

  HWND form_ = nullptr; // borrowed
  UINT dpi_ = 96;
  const WindowFonts* fonts_ = nullptr; // borrowed: replaced only through relayout
  Table controls_;
  std::size_t pending_ = 0; // pages still to build
  bool building_ = false;
  bool built_ = false;
  std::function<void(const ControlDescription&)> onChange_;
};

} // namespace ui
