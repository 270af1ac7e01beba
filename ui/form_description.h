// The main window described as data: every control of Form1 with its kind,
// name, parent, place, tab order, caption or entries, initial state and the
// handler its event runs. The builder creates the controls in the table's
// order, so within each parent the rows stand in tab order (labels, which
// take no focus, stand before the control they name).
//
// Places and sizes are 96-dpi pixels, relative to the parent's client area;
// for a page's children, to the page area below the tab buttons.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

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

// The eleven handler methods of TForm1.
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
  std::string_view name;
  std::string_view parent; // "Form1" for the framing group
  Bounds bounds;
  int tab;               // position in the parent's tab order, or NoTab
  std::string_view text; // caption, or a text box's initial text
  Entries entries;       // list entries, in list order
  int initialIndex;      // selected entry at start, or NoSelection
  Completion completion;
  Handler handler; // the change or click event's handler
  Dock dock;
};

// Every control of Form1, parents before their children, each parent's
// children in tab order.
const ControlDescription* formDescriptionBegin();
const ControlDescription* formDescriptionEnd();
std::size_t formDescriptionSize();

// The row of a control, or nullptr.
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

} // namespace ui
