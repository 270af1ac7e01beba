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
#include <type_traits>
#include <variant>

namespace controls {
class CompletionCombo;
class TSpinEdit;
} // namespace controls

namespace ui {

using controls::CompletionCombo;
using controls::TSpinEdit;
class Memo;
class GroupContainer;
class PageContainer;
class TabControl;
class CaptionMeasure;

// The type a control of each kind is reached through: the object the builder
// makes for it, or for a plain control (a label, button, edit or check box)
// its window handle only.
template <ControlKind Kind> struct ControlTypeOf { using type = HWND; };
template <> struct ControlTypeOf<ControlKind::GroupBox> { using type = GroupContainer; };
template <> struct ControlTypeOf<ControlKind::Page> { using type = PageContainer; };
template <> struct ControlTypeOf<ControlKind::TabControl> { using type = TabControl; };
template <> struct ControlTypeOf<ControlKind::Memo> { using type = Memo; };
template <> struct ControlTypeOf<ControlKind::SpinEdit> { using type = TSpinEdit; };
template <> struct ControlTypeOf<ControlKind::EditCombo> { using type = CompletionCombo; };
template <> struct ControlTypeOf<ControlKind::DropDownList> { using type = CompletionCombo; };
template <ControlId Id> using ControlType = typename ControlTypeOf<kindOf(Id)>::type;

class FormControls {
public:
  // What a slot owns: the object behind a control of a typed kind, or
  // nothing for a plain control, whose window goes with Form1's window tree.
  using Owner =
      std::variant<std::monostate, std::unique_ptr<GroupContainer>, std::unique_ptr<PageContainer>,
                   std::unique_ptr<TabControl>, std::unique_ptr<Memo>, std::unique_ptr<TSpinEdit>,
                   std::unique_ptr<CompletionCombo>>;
  struct Control {
    const ControlDescription* row = nullptr;
    HWND hwnd = nullptr; // the owner's window, or the plain control; null until built
    Owner owner;
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
  // a few controls at a time, and anything that asks for one of them before
  // (hwnd, get, all) has the rest built at once. Either way each control
  // is made as build would have made it, in the same z-order.
  bool buildNextPage(); // false once every control exists
  bool complete() const noexcept { return pending_ == 0; }

  // Every control by its identifier, once build has run.
  HWND hwnd(ControlId id) const {
    ensure(id);
    return controls_[indexOf(id)].hwnd;
  }
  // A control as its kind's type (ControlTypeOf): get<ControlId::width>() is
  // the TSpinEdit, get<ControlId::TAG>() the CompletionCombo, and a plain
  // control's is its HWND.
  template <ControlId Id> decltype(auto) get() const {
    ensure(Id);
    using Type = ControlType<Id>;
    const Control& c = controls_[indexOf(Id)];
    if constexpr (std::is_same_v<Type, HWND>) {
      return HWND{c.hwnd};
    } else {
      Type& object = *std::get<std::unique_ptr<Type>>(c.owner);
      return object; // decltype(auto): the reference
    }
  }
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
  bool deferred(const ControlDescription& row) const;
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
