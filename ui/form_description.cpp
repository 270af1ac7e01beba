#include "ui/form_description.h"

#include "style/options.h"

namespace ui {
namespace {

namespace st = sheetloom::style;
using K = ControlKind;
using H = Handler;

template <std::size_t N> constexpr Entries list(const std::array<std::string_view, N>& labels) {
  return {labels.data(), N};
}

// One helper per kind keeps each row on one line and its meaning readable.
constexpr ControlDescription group(std::string_view name, std::string_view parent, Bounds b,
                                   std::string_view caption, Dock dock = Dock::None) {
  return {K::GroupBox, name,        parent,          b,       NoTab, caption,
          {},          NoSelection, Completion::Off, H::None, dock};
}
constexpr ControlDescription label(std::string_view name, std::string_view parent, Bounds b,
                                   std::string_view caption) {
  return {K::Label, name,        parent,          b,       NoTab,     caption,
          {},       NoSelection, Completion::Off, H::None, Dock::None};
}
constexpr ControlDescription button(std::string_view name, std::string_view parent, Bounds b,
                                    int tab, std::string_view caption, Handler click) {
  return {K::Button, name,        parent,          b,     tab,       caption,
          {},        NoSelection, Completion::Off, click, Dock::None};
}
constexpr ControlDescription editCombo(std::string_view name, std::string_view parent, Bounds b,
                                       int tab, Entries entries, int index,
                                       std::string_view text = {},
                                       Completion completion = Completion::On,
                                       Handler change = H::None) {
  return {K::EditCombo, name, parent, b, tab, text, entries, index, completion, change, Dock::None};
}
constexpr ControlDescription dropList(std::string_view name, std::string_view parent, Bounds b,
                                      int tab, Entries entries, int index, Handler change = H::None,
                                      Completion completion = Completion::Off) {
  return {K::DropDownList, name,  parent,     b,      tab,       {},
          entries,         index, completion, change, Dock::None};
}
constexpr ControlDescription spin(std::string_view name, std::string_view parent, Bounds b,
                                  int tab) {
  return {K::SpinEdit, name,        parent,          b,       tab,       {},
          {},          NoSelection, Completion::Off, H::None, Dock::None};
}
constexpr ControlDescription edit(std::string_view name, std::string_view parent, Bounds b, int tab,
                                  std::string_view text) {
  return {K::Edit, name,        parent,          b,       tab,       text,
          {},      NoSelection, Completion::Off, H::None, Dock::None};
}
constexpr ControlDescription check(std::string_view name, std::string_view parent, Bounds b,
                                   int tab, std::string_view caption, Handler click = H::None) {
  return {K::CheckBox, name,        parent,          b,     tab,       caption,
          {},          NoSelection, Completion::Off, click, Dock::None};
}
constexpr ControlDescription memo(std::string_view name, std::string_view parent, Bounds b, int tab,
                                  Dock dock) {
  return {K::Memo, name, parent, b, tab, {}, {}, NoSelection, Completion::Off, H::None, dock};
}
constexpr ControlDescription tabControl(std::string_view name, std::string_view parent, Bounds b,
                                        int tab, int firstPage) {
  return {K::TabControl,   name,    parent,    b, tab, {}, {}, firstPage,
          Completion::Off, H::None, Dock::None};
}
constexpr ControlDescription page(std::string_view name, std::string_view caption) {
  return {K::Page, name,        "PageControl1",  {0, 0, 0, 0}, NoTab,     caption,
          {},      NoSelection, Completion::Off, H::None,      Dock::None};
}

constexpr Entries Units = list(st::UnitChoices);
constexpr Entries Sides = list(st::SideChoices);

// Constant: the table is data in the executable, built by no code at start.
constexpr ControlDescription Rows[] = {
    // Form1's client area is filled by the framing group, whose caption
    // mirrors the selector.
    group("GroupBox1", "Form1", {0, 0, 710, 601}, "BODY", Dock::Fill),
    label("Label1", "GroupBox1", {8, 24, 62, 12}, "HTMLタグ名"),
    editCombo("TAG", "GroupBox1", {72, 24, 121, 20}, 0, list(st::TagChoices), NoSelection, "BODY",
              Completion::OnWithDropDown, H::TAGChange),
    button("make", "GroupBox1", {8, 368, 115, 25}, 1, "スタイルシートに追加", H::makeClick),
    memo("StyleSheet", "GroupBox1", {2, 396, 706, 203}, 2, Dock::Bottom),
    button("Button2", "GroupBox1", {128, 368, 89, 25}, 3, "ファイルに保存", H::Button2Click),
    button("Button5", "GroupBox1", {224, 368, 49, 25}, 4, "クリア", H::Button5Click),
    tabControl("PageControl1", "GroupBox1", {8, 54, 684, 312}, 5, 0),
    // The pages, in tab order; the first is shown at start.
    page("TabSheet2", "設定1"),
    page("TabSheet1", "設定2"),
    page("TabSheet3", "設定3"),

    // Page "設定1": font, alignment, size and cursor.
    button("Button1", "TabSheet2", {16, 16, 81, 20}, 0, "フォントの設定", H::Button1Click),
    label("Label8", "TabSheet2", {16, 48, 24, 12}, "位置"),
    dropList("align", "TabSheet2", {72, 48, 145, 20}, 1, list(st::AlignKeywords.labels), 0),
    label("Label9", "TabSheet2", {16, 80, 48, 12}, "縦の位置"),
    dropList("valign", "TabSheet2", {72, 80, 145, 20}, 2, list(st::VAlignKeywords.labels),
             NoSelection),
    label("Label10", "TabSheet2", {16, 112, 12, 12}, "幅"),
    spin("width", "TabSheet2", {72, 112, 57, 21}, 3),
    editCombo("wu", "TabSheet2", {136, 112, 81, 20}, 4, Units, 0),
    label("Label12", "TabSheet2", {16, 144, 21, 12}, "高さ"),
    spin("height", "TabSheet2", {72, 144, 57, 21}, 5),
    editCombo("hu", "TabSheet2", {136, 144, 81, 20}, 6, Units, 0),
    label("Label13", "TabSheet2", {16, 184, 44, 12}, "カーソル"),
    editCombo("cursor", "TabSheet2", {72, 184, 145, 20}, 7, list(st::CursorKeywords.labels),
              NoSelection),

    // Page "設定2": border, margin, padding and background.
    group("GroupBox2", "TabSheet1", {8, 8, 665, 105}, "ボーダー"),
    group("GroupBox3", "TabSheet1", {8, 113, 313, 89}, "マージン"),
    group("GroupBox4", "TabSheet1", {328, 113, 345, 89}, "パディング"),
    group("GroupBox5", "TabSheet1", {8, 205, 665, 73}, "背景"),

    dropList("border_kind", "GroupBox2", {8, 16, 145, 20}, 0, Sides, 0, H::border_kindChange),
    label("Label2", "GroupBox2", {8, 40, 82, 12}, "ボーダーの種類"),
    dropList("border_style", "GroupBox2", {96, 40, 145, 20}, 1,
             list(st::BorderStyleKeywords.labels), 0),
    label("Label3", "GroupBox2", {8, 64, 79, 12}, "ボーダーの太さ"),
    spin("border_width", "GroupBox2", {96, 64, 57, 21}, 2),
    editCombo("border_unit", "GroupBox2", {152, 64, 89, 20}, 3, Units, 0),
    label("Label4", "GroupBox2", {264, 40, 70, 12}, "ボーダーの色"),
    edit("border_color", "GroupBox2", {344, 40, 57, 20}, 4, "#000000"),
    button("Button3", "GroupBox2", {400, 40, 65, 20}, 5, "色の選択...", H::Button3Click),
    check("border_check", "GroupBox2", {160, 16, 97, 17}, 6, "有効にする", H::border_kindChange),

    dropList("Ma_kind", "GroupBox3", {8, 16, 145, 20}, 0, Sides, 0, H::Ma_kindChange),
    editCombo("Ma_unit", "GroupBox3", {64, 48, 89, 20}, 1, Units, 0),
    spin("Ma", "GroupBox3", {8, 48, 57, 21}, 2),
    check("Ma_check", "GroupBox3", {160, 16, 81, 17}, 3, "有効にする", H::Ma_kindChange),

    dropList("Pa_kind", "GroupBox4", {8, 16, 145, 20}, 0, Sides, 0, H::Pa_kindChange),
    editCombo("Pa_unit", "GroupBox4", {64, 48, 89, 20}, 1, Units, 0),
    spin("Pa", "GroupBox4", {8, 48, 57, 21}, 2),
    check("Pa_check", "GroupBox4", {160, 16, 81, 17}, 3, "有効にする", H::Pa_kindChange),

    button("Button4", "GroupBox5", {104, 21, 65, 20}, 0, "色の選択...", H::Button4Click),
    label("Label5", "GroupBox5", {8, 24, 36, 12}, "背景色"),
    edit("back_color", "GroupBox5", {48, 21, 57, 20}, 1, ""),
    label("Label6", "GroupBox5", {176, 24, 48, 12}, "背景画像"),
    edit("Back_Image", "GroupBox5", {224, 21, 281, 20}, 2, ""),
    label("Label7", "GroupBox5", {176, 48, 135, 12}, "背景画像のリピートの仕方"),
    dropList("back_repeat", "GroupBox5", {312, 45, 193, 20}, 3, list(st::RepeatKeywords.labels),
             NoSelection),
    check("kotei", "GroupBox5", {8, 45, 129, 17}, 4, "背景画像を固定する"),

    // Page "設定3": stacking order, positioning, offsets and visibility.
    label("Label14", "TabSheet3", {16, 16, 68, 12}, "重なりの順序"),
    spin("zin", "TabSheet3", {96, 16, 41, 21}, 0),
    label("Label15", "TabSheet3", {16, 48, 48, 12}, "基準位置"),
    dropList("posit", "TabSheet3", {96, 48, 113, 20}, 1, list(st::PositionKeywords.labels),
             NoSelection, H::None, Completion::On),
    label("Label16", "TabSheet3", {16, 80, 70, 12}, "上からの位置"),
    spin("top", "TabSheet3", {96, 80, 57, 21}, 2),
    editCombo("tu", "TabSheet3", {160, 80, 65, 20}, 3, Units, 0),
    label("Label17", "TabSheet3", {16, 112, 70, 12}, "下からの位置"),
    spin("buttom", "TabSheet3", {96, 112, 57, 21}, 4),
    editCombo("bu", "TabSheet3", {160, 112, 65, 20}, 5, Units, 0),
    label("Label11", "TabSheet3", {16, 144, 70, 12}, "左からの位置"),
    spin("left", "TabSheet3", {96, 144, 57, 21}, 6),
    editCombo("lu", "TabSheet3", {160, 144, 65, 20}, 7, Units, 0),
    label("Label18", "TabSheet3", {16, 176, 70, 12}, "右からの位置"),
    spin("right", "TabSheet3", {96, 176, 57, 21}, 8),
    editCombo("ru", "TabSheet3", {160, 176, 65, 20}, 9, Units, 0),
    check("visible", "TabSheet3", {16, 216, 57, 17}, 10, "非表示"),
};

} // namespace

const ControlDescription* formDescriptionBegin() {
  return std::begin(Rows);
}
const ControlDescription* formDescriptionEnd() {
  return std::end(Rows);
}
std::size_t formDescriptionSize() {
  return std::size(Rows);
}

const ControlDescription* findControl(std::string_view name) {
  for (const ControlDescription& row : Rows)
    if (row.name == name)
      return &row;
  return nullptr;
}

} // namespace ui
