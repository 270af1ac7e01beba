// The main window described as data: every control of Form1 with its kind,
// parent, place, tab order, caption or entries, initial state and the handler
// its event runs. The builder creates the controls in the table's
// order, so within each parent the rows stand in tab order (labels, which
// take no focus, stand before the control they name).
//
// Every control also has an identifier, ControlId, and a kind, generated from
// one list of names and kinds that the table's rows follow: code addresses a
// control by identifier, so a misspelled name fails to compile; the builder
// keeps the controls in a table indexed by it, and the kind decides, when
// compiling, the type a control is reached through.
//
// Places and sizes are 96-dpi pixels, relative to the parent's client area;
// for a page's children, to the page area below the tab buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The controls of Form1 by name and kind, in the order of the description's
// rows (laid out by hand, one parent's children to a line or two).
// clang-format off
#define SHEETLOOM_FORM_CONTROLS(X) \
  X(GroupBox1, GroupBox) \
  X(Label1, Label) X(TAG, EditCombo) X(make, Button) X(StyleSheet, Memo) X(Button2, Button) \
  X(Button5, Button) X(PageControl1, TabControl) \
  X(TabSheet2, Page) X(TabSheet1, Page) X(TabSheet3, Page) \
  X(Button1, Button) X(Label8, Label) X(align, DropDownList) X(Label9, Label) \
  X(valign, DropDownList) X(Label10, Label) X(width, SpinEdit) X(wu, EditCombo) X(Label12, Label) \
  X(height, SpinEdit) X(hu, EditCombo) X(Label13, Label) X(cursor, EditCombo) \
  X(GroupBox2, GroupBox) X(GroupBox3, GroupBox) X(GroupBox4, GroupBox) X(GroupBox5, GroupBox) \
  X(border_kind, DropDownList) X(Label2, Label) X(border_style, DropDownList) X(Label3, Label) \
  X(border_width, SpinEdit) X(border_unit, EditCombo) X(Label4, Label) \
  X(border_color, Edit) X(Button3, Button) X(border_check, CheckBox) \
  X(Ma_kind, DropDownList) X(Ma_unit, EditCombo) X(Ma, SpinEdit) X(Ma_check, CheckBox) \
  X(Pa_kind, DropDownList) X(Pa_unit, EditCombo) X(Pa, SpinEdit) X(Pa_check, CheckBox) \
  X(Button4, Button) X(Label5, Label) X(back_color, Edit) X(Label6, Label) X(Back_Image, Edit) \
  X(Label7, Label) X(back_repeat, DropDownList) X(kotei, CheckBox) \
  X(Label14, Label) X(zin, SpinEdit) X(Label15, Label) X(posit, DropDownList) X(Label16, Label) \
  X(top, SpinEdit) X(tu, EditCombo) X(Label17, Label) X(buttom, SpinEdit) X(bu, EditCombo) \
  X(Label11, Label) X(left, SpinEdit) X(lu, EditCombo) X(Label18, Label) X(right, SpinEdit) \
  X(ru, EditCombo) X(visible, CheckBox)

namespace ui {

enum class ControlKind {
  GroupBox,     // a frame with a caption; also a container of controls
  Label,        // static text, sized to its caption
  Button,       // push button
  EditCombo,    // one-line text box with a drop-down list
  DropDownList, // combo whose text is one of its entries (or none)
  SpinEdit,     // TSpinEdit
  Edit,         // one-line text box
  CheckBox,     // caption to the right of the box
  Memo,         // the multi-line stylesheet text
  TabControl,   // the page selector, tabs drawn as flat buttons
  Page,         // one page of the tab control; a container of controls
};

enum class ControlId : std::uint8_t {
#define SHEETLOOM_CONTROL_ID(name, kind) name,
  SHEETLOOM_FORM_CONTROLS(SHEETLOOM_CONTROL_ID)
#undef SHEETLOOM_CONTROL_ID
  None, // no control: the parent of GroupBox1 (the window itself)
};
// clang-format on
inline constexpr std::size_t ControlCount = static_cast<std::size_t>(ControlId::None);

constexpr std::size_t indexOf(ControlId id) {
  return static_cast<std::size_t>(id);
}

inline constexpr std::array<std::string_view, ControlCount> ControlNames = {
#define SHEETLOOM_CONTROL_NAME(name, kind) #name,
    SHEETLOOM_FORM_CONTROLS(SHEETLOOM_CONTROL_NAME)
#undef SHEETLOOM_CONTROL_NAME
};

inline constexpr std::array<ControlKind, ControlCount> ControlKinds = {
#define SHEETLOOM_CONTROL_KIND(name, kind) ControlKind::kind,
    SHEETLOOM_FORM_CONTROLS(SHEETLOOM_CONTROL_KIND)
#undef SHEETLOOM_CONTROL_KIND
};

// The control's name in the description, for messages and tools; "Form1"
// for ControlId::None.
constexpr std::string_view nameOf(ControlId id) {
  return id == ControlId::None ? std::string_view("Form1") : ControlNames[indexOf(id)];
}

// The control's kind, known when compiling: it decides the type through
// which code reaches the control (see FormControls::get).
constexpr ControlKind kindOf(ControlId id) {
  return ControlKinds[indexOf(id)];
}

// The handler methods of TForm1; Count is none, only their number.
enum class Handler {
  None,
  FormCreate,
  TAGChange,
  makeClick,
  Button2Click,
  Button5Click,
  Button1Click,
  Button3Click,
  Button4Click,
  border_kindChange,
  Ma_kindChange,
  Pa_kindChange,
  Count,
};

enum class Completion {
  Off,            // typed keys are left to the platform
  On,             // type-ahead completion (incremental search in a drop-down list)
  OnWithDropDown, // completion, and the list opens when the user types
};

enum class Dock {
  None,
  Fill,   // fills the parent's client area and follows its size
  Bottom, // spans the parent's inner width at its bottom, keeping its height
};

struct Bounds {
  int left, top, width, height;
};

// A list's entries: a view of one of style/'s label tables.
struct Entries {
  const std::string_view* data = nullptr;
  std::size_t size = 0;
  const std::string_view* begin() const { return data; }
  const std::string_view* end() const { return data + size; }
};

inline constexpr int NoTab = -1;       // labels, groups and pages take no focus
inline constexpr int NoSelection = -1; // a list with no entry selected

struct ControlDescription {
  ControlKind kind; // kindOf(id)
  ControlId id;
  ControlId parentId; // ControlId::None for the framing group
  Bounds bounds;
  int tab;               // position in the parent's tab order, or NoTab
  std::string_view text; // caption, or a text box's initial text
  Entries entries;       // list entries, in list order
  int initialIndex;      // selected entry at start, or NoSelection
  Completion completion;
  Handler handler; // the change or click event's handler
  Dock dock;
  // For screen readers, which name a control by the label just before it in
  // the window order: a label names the control in `labelFor`, which comes
  // next among its siblings; a control that no label names (or whose caption
  // alone is ambiguous) has the name given to it by annotation here.
  ControlId labelFor;          // labels only; ControlId::None otherwise
  std::string_view spokenName; // empty: the label's or the caption's
};

// Every control of Form1, parents before their children, each parent's
// children in tab order; the row of ControlId n is row n.
const ControlDescription* formDescriptionBegin();
const ControlDescription* formDescriptionEnd();
std::size_t formDescriptionSize();

const ControlDescription& describe(ControlId id);
// What a screen reader speaks for the control: its spoken name, else the
// caption of the label that names it, else its own caption.
std::string_view spokenNameOf(ControlId id);

// Window-wide figures (96 dpi).
inline constexpr std::string_view FormCaption = "SHEETLOOM";
inline constexpr int FormLeft = 239, FormTop = 107;
inline constexpr int FormClientWidth = 710, FormClientHeight = 601;
inline constexpr int FormInnerBorder = 1;
inline constexpr int WindowFontHeight = 12; // every control but the memo
inline constexpr int MemoFontHeight = 13;
inline constexpr int ListVisibleItems = 8;
inline constexpr int MemoInset = 2; // the memo's distance from the group's edges

// The window font's face: the first of these that is installed. Windows' own
// face first; the IPA face is what a Japanese Wine set-up has.
inline constexpr std::string_view WindowFaces[] = {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic",
                                                   "IPA Pゴシック"};

} // namespace ui
