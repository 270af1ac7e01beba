// The main window described as data: every control of Form1 with its kind,
// name, parent, place, tab order, caption or entries, initial state and the
// handler its event runs. The builder creates the controls in the table's
// order, so within each parent the rows stand in tab order (labels, which
// take no focus, stand before the control they name).
//
// Every control also has an identifier, ControlId, generated from the same
// list of names as the table's rows: code addresses a control by identifier,
// so a misspelled name fails to compile, and the builder keeps the controls
// in a table indexed by it.
//
// Places and sizes are 96-dpi pixels, relative to the parent's client area;
// for a page's children, to the page area below the tab buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The controls of Form1 by name, in the order of the description's rows
// (laid out by hand, one parent's children to a line or two).
// clang-format off
#define SHEETLOOM_FORM_CONTROLS(X) \
  X(GroupBox1) \
  X(Label1) X(TAG) X(make) X(StyleSheet) X(Button2) X(Button5) X(PageControl1) \
  X(TabSheet2) X(TabSheet1) X(TabSheet3) \
  X(Button1) X(Label8) X(align) X(Label9) X(valign) X(Label10) X(width) X(wu) X(Label12) \
  X(height) X(hu) X(Label13) X(cursor) \
  X(GroupBox2) X(GroupBox3) X(GroupBox4) X(GroupBox5) \
  X(border_kind) X(Label2) X(border_style) X(Label3) X(border_width) X(border_unit) X(Label4) \
  X(border_color) X(Button3) X(border_check) \
  X(Ma_kind) X(Ma_unit) X(Ma) X(Ma_check) \
  X(Pa_kind) X(Pa_unit) X(Pa) X(Pa_check) \
  X(Button4) X(Label5) X(back_color) X(Label6) X(Back_Image) X(Label7) X(back_repeat) X(kotei) \
  X(Label14) X(zin) X(Label15) X(posit) X(Label16) X(top) X(tu) X(Label17) X(buttom) X(bu) \
  X(Label11) X(left) X(lu) X(Label18) X(right) X(ru) X(visible)

namespace ui {

enum class ControlId : std::uint8_t {
#define SHEETLOOM_CONTROL_ID(name) name,
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
#define SHEETLOOM_CONTROL_NAME(name) #name,
    SHEETLOOM_FORM_CONTROLS(SHEETLOOM_CONTROL_NAME)
#undef SHEETLOOM_CONTROL_NAME
};

// The control's name in the description; "Form1" for ControlId::None.
constexpr std::string_view nameOf(ControlId id) {
  return id == ControlId::None ? std::string_view("Form1") : ControlNames[indexOf(id)];
}

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
  ControlKind kind;
  ControlId id;
  ControlId parentId;      // ControlId::None for the framing group
  std::string_view name;   // nameOf(id)
  std::string_view parent; // nameOf(parentId): "Form1" for the framing group
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
// The row of the control with this name, or nullptr: for tools and tests that
// address controls by name.
const ControlDescription* findControl(std::string_view name);

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
