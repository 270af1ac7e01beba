#include "ui/form_description.h"

#include "style/options.h"

namespace ui {
namespace {

namespace st = style;
using K = ControlKind;
using H = Handler;

template <std::size_t N> constexpr Entries list(const std::array<std::string_view, N>& labels) {
  return {labels.data(), N};
}

using C = ControlId;
constexpr ControlId Form1 = ControlId::None; // the window, parent of the framing group

// The fields every row has; the helpers below fill in the rest by kind.
constexpr ControlDescription row(ControlKind kind, ControlId id, ControlId parent, Bounds b,
                                 int tab, std::string_view text = {}) {
  return {kind,    id,         parent,          b, tab, text, {}, NoSelection, Completion::Off,
          H::None, Dock::None, ControlId::None, {}};
}

// One helper per kind keeps each row on one line and its meaning readable.
constexpr ControlDescription group(ControlId id, ControlId parent, Bounds b,
                                   std::string_view caption, Dock dock = Dock::None) {
  ControlDescription r = row(K::GroupBox, id, parent, b, NoTab, caption);
  r.dock = dock;
  return r;
}
constexpr ControlDescription label(ControlId id, ControlId parent, Bounds b,
                                   std::string_view caption, ControlId names) {
  ControlDescription r = row(K::Label, id, parent, b, NoTab, caption);
  r.labelFor = names;
  return r;
}
// A control with the name a screen reader speaks for it.
constexpr ControlDescription spoken(ControlDescription r, std::string_view name) {
  r.spokenName = name;
  return r;
}
constexpr ControlDescription button(ControlId id, ControlId parent, Bounds b, int tab,
                                    std::string_view caption, Handler click) {
  ControlDescription r = row(K::Button, id, parent, b, tab, caption);
  r.handler = click;
  return r;
}
constexpr ControlDescription editCombo(ControlId id, ControlId parent, Bounds b, int tab,
                                       Entries entries, int index, std::string_view text = {},
                                       Completion completion = Completion::On,
                                       Handler change = H::None) {
  ControlDescription r = row(K::EditCombo, id, parent, b, tab, text);
  r.entries = entries;
  r.initialIndex = index;
  r.completion = completion;
  r.handler = change;
  return r;
}
constexpr ControlDescription dropList(ControlId id, ControlId parent, Bounds b, int tab,
                                      Entries entries, int index, Handler change = H::None,
                                      Completion completion = Completion::Off) {
  ControlDescription r = row(K::DropDownList, id, parent, b, tab);
  r.entries = entries;
  r.initialIndex = index;
  r.completion = completion;
  r.handler = change;
  return r;
}
constexpr ControlDescription spin(ControlId id, ControlId parent, Bounds b, int tab) {
  return row(K::SpinEdit, id, parent, b, tab);
}
constexpr ControlDescription edit(ControlId id, ControlId parent, Bounds b, int tab,
                                  std::string_view text) {
  return row(K::Edit, id, parent, b, tab, text);
}
constexpr ControlDescription check(ControlId id, ControlId parent, Bounds b, int tab,
                                   std::string_view caption, Handler click = H::None) {
  ControlDescription r = row(K::CheckBox, id, parent, b, tab, caption);
  r.handler = click;
  return r;
}
constexpr ControlDescription memo(ControlId id, ControlId parent, Bounds b, int tab, Dock dock) {
  ControlDescription r = row(K::Memo, id, parent, b, tab);
  r.dock = dock;
  return r;
}
constexpr ControlDescription tabControl(ControlId id, ControlId parent, Bounds b, int tab,
                                        int firstPage) {
  ControlDescription r = row(K::TabControl, id, parent, b, tab);
  r.initialIndex = firstPage;
  return r;
}
constexpr ControlDescription page(ControlId id, std::string_view caption) {
  return row(K::Page, id, C::PageControl1, {0, 0, 0, 0}, NoTab, caption);
}

constexpr Entries Units = list(st::UnitChoices);
constexpr Entries Sides = list(st::SideChoices);

// The docked controls' places follow from the window's client size: the
// group fills it, and the memo spans its width at the bottom, MemoInset
// from the edges.
constexpr Bounds WholeClient{0, 0, FormClientWidth, FormClientHeight};
constexpr int MemoHeight = 203;
constexpr Bounds MemoAtBottom{MemoInset, FormClientHeight - MemoInset - MemoHeight,
                              FormClientWidth - 2 * MemoInset, MemoHeight};

// Constant: the table is data in the executable, built by no code at start.
constexpr ControlDescription Rows[] = {
    // Form1's client area is filled by the framing group, whose caption
    // mirrors the selector.
    group(C::GroupBox1, Form1, WholeClient, "BODY", Dock::Fill),
    label(C::Label1, C::GroupBox1, {8, 24, 62, 12}, "HTMLタグ名", C::TAG),
    editCombo(C::TAG, C::GroupBox1, {72, 24, 121, 20}, 0, list(st::TagChoices), NoSelection, "BODY",
              Completion::OnWithDropDown, H::TAGChange),
    button(C::make, C::GroupBox1, {8, 368, 115, 25}, 1, "スタイルシートに追加", H::makeClick),
    spoken(memo(C::StyleSheet, C::GroupBox1, MemoAtBottom, 2, Dock::Bottom), "スタイルシート"),
    button(C::Button2, C::GroupBox1, {128, 368, 89, 25}, 3, "ファイルに保存", H::Button2Click),
    button(C::Button5, C::GroupBox1, {224, 368, 49, 25}, 4, "クリア", H::Button5Click),
    spoken(tabControl(C::PageControl1, C::GroupBox1, {8, 54, 684, 312}, 5, 0), "設定のページ"),
    // The pages, in tab order; the first is shown at start.
    page(C::TabSheet2, "設定1"),
    page(C::TabSheet1, "設定2"),
    page(C::TabSheet3, "設定3"),

    // Page "設定1": font, alignment, size and cursor.
    button(C::Button1, C::TabSheet2, {16, 16, 81, 20}, 0, "フォントの設定", H::Button1Click),
    label(C::Label8, C::TabSheet2, {16, 48, 24, 12}, "位置", C::align),
    dropList(C::align, C::TabSheet2, {72, 48, 145, 20}, 1, list(st::AlignKeywords.labels), 0),
    label(C::Label9, C::TabSheet2, {16, 80, 48, 12}, "縦の位置", C::valign),
    dropList(C::valign, C::TabSheet2, {72, 80, 145, 20}, 2, list(st::VAlignKeywords.labels),
             NoSelection),
    label(C::Label10, C::TabSheet2, {16, 112, 12, 12}, "幅", C::width),
    spin(C::width, C::TabSheet2, {72, 112, 57, 21}, 3),
    spoken(editCombo(C::wu, C::TabSheet2, {136, 112, 81, 20}, 4, Units, 0), "幅の単位"),
    label(C::Label12, C::TabSheet2, {16, 144, 21, 12}, "高さ", C::height),
    spin(C::height, C::TabSheet2, {72, 144, 57, 21}, 5),
    spoken(editCombo(C::hu, C::TabSheet2, {136, 144, 81, 20}, 6, Units, 0), "高さの単位"),
    label(C::Label13, C::TabSheet2, {16, 184, 44, 12}, "カーソル", C::cursor),
    editCombo(C::cursor, C::TabSheet2, {72, 184, 145, 20}, 7, list(st::CursorKeywords.labels),
              NoSelection),

    // Page "設定2": border, margin, padding and background.
    group(C::GroupBox2, C::TabSheet1, {8, 8, 665, 105}, "ボーダー"),
    group(C::GroupBox3, C::TabSheet1, {8, 113, 313, 89}, "マージン"),
    group(C::GroupBox4, C::TabSheet1, {328, 113, 345, 89}, "パディング"),
    group(C::GroupBox5, C::TabSheet1, {8, 205, 665, 73}, "背景"),

    spoken(
        dropList(C::border_kind, C::GroupBox2, {8, 16, 145, 20}, 0, Sides, 0, H::border_kindChange),
        "ボーダーの辺"),
    label(C::Label2, C::GroupBox2, {8, 40, 82, 12}, "ボーダーの種類", C::border_style),
    dropList(C::border_style, C::GroupBox2, {96, 40, 145, 20}, 1,
             list(st::BorderStyleKeywords.labels), 0),
    label(C::Label3, C::GroupBox2, {8, 64, 79, 12}, "ボーダーの太さ", C::border_width),
    spin(C::border_width, C::GroupBox2, {96, 64, 57, 21}, 2),
    spoken(editCombo(C::border_unit, C::GroupBox2, {152, 64, 89, 20}, 3, Units, 0),
           "ボーダーの太さの単位"),
    label(C::Label4, C::GroupBox2, {264, 40, 70, 12}, "ボーダーの色", C::border_color),
    edit(C::border_color, C::GroupBox2, {344, 40, 57, 20}, 4, "#000000"),
    spoken(button(C::Button3, C::GroupBox2, {400, 40, 65, 20}, 5, "色の選択...", H::Button3Click),
           "ボーダーの色の選択..."),
    spoken(check(C::border_check, C::GroupBox2, {160, 16, 97, 17}, 6, "有効にする",
                 H::border_kindChange),
           "ボーダーを有効にする"),

    spoken(dropList(C::Ma_kind, C::GroupBox3, {8, 16, 145, 20}, 0, Sides, 0, H::Ma_kindChange),
           "マージンの辺"),
    spoken(editCombo(C::Ma_unit, C::GroupBox3, {64, 48, 89, 20}, 1, Units, 0), "マージンの単位"),
    spoken(spin(C::Ma, C::GroupBox3, {8, 48, 57, 21}, 2), "マージンの値"),
    spoken(check(C::Ma_check, C::GroupBox3, {160, 16, 81, 17}, 3, "有効にする", H::Ma_kindChange),
           "マージンを有効にする"),

    spoken(dropList(C::Pa_kind, C::GroupBox4, {8, 16, 145, 20}, 0, Sides, 0, H::Pa_kindChange),
           "パディングの辺"),
    spoken(editCombo(C::Pa_unit, C::GroupBox4, {64, 48, 89, 20}, 1, Units, 0), "パディングの単位"),
    spoken(spin(C::Pa, C::GroupBox4, {8, 48, 57, 21}, 2), "パディングの値"),
    spoken(check(C::Pa_check, C::GroupBox4, {160, 16, 81, 17}, 3, "有効にする", H::Pa_kindChange),
           "パディングを有効にする"),

    spoken(button(C::Button4, C::GroupBox5, {104, 21, 65, 20}, 0, "色の選択...", H::Button4Click),
           "背景色の選択..."),
    label(C::Label5, C::GroupBox5, {8, 24, 36, 12}, "背景色", C::back_color),
    edit(C::back_color, C::GroupBox5, {48, 21, 57, 20}, 1, ""),
    label(C::Label6, C::GroupBox5, {176, 24, 48, 12}, "背景画像", C::Back_Image),
    edit(C::Back_Image, C::GroupBox5, {224, 21, 281, 20}, 2, ""),
    label(C::Label7, C::GroupBox5, {176, 48, 135, 12}, "背景画像のリピートの仕方", C::back_repeat),
    dropList(C::back_repeat, C::GroupBox5, {312, 45, 193, 20}, 3, list(st::RepeatKeywords.labels),
             NoSelection),
    check(C::kotei, C::GroupBox5, {8, 45, 129, 17}, 4, "背景画像を固定する"),

    // Page "設定3": stacking order, positioning, offsets and visibility.
    label(C::Label14, C::TabSheet3, {16, 16, 68, 12}, "重なりの順序", C::zin),
    spin(C::zin, C::TabSheet3, {96, 16, 41, 21}, 0),
    label(C::Label15, C::TabSheet3, {16, 48, 48, 12}, "基準位置", C::posit),
    dropList(C::posit, C::TabSheet3, {96, 48, 113, 20}, 1, list(st::PositionKeywords.labels),
             NoSelection, H::None, Completion::On),
    label(C::Label16, C::TabSheet3, {16, 80, 70, 12}, "上からの位置", C::top),
    spin(C::top, C::TabSheet3, {96, 80, 57, 21}, 2),
    spoken(editCombo(C::tu, C::TabSheet3, {160, 80, 65, 20}, 3, Units, 0), "上からの位置の単位"),
    label(C::Label17, C::TabSheet3, {16, 112, 70, 12}, "下からの位置", C::buttom),
    spin(C::buttom, C::TabSheet3, {96, 112, 57, 21}, 4),
    spoken(editCombo(C::bu, C::TabSheet3, {160, 112, 65, 20}, 5, Units, 0), "下からの位置の単位"),
    label(C::Label11, C::TabSheet3, {16, 144, 70, 12}, "左からの位置", C::left),
    spin(C::left, C::TabSheet3, {96, 144, 57, 21}, 6),
    spoken(editCombo(C::lu, C::TabSheet3, {160, 144, 65, 20}, 7, Units, 0), "左からの位置の単位"),
    label(C::Label18, C::TabSheet3, {16, 176, 70, 12}, "右からの位置", C::right),
    spin(C::right, C::TabSheet3, {96, 176, 57, 21}, 8),
    spoken(editCombo(C::ru, C::TabSheet3, {160, 176, 65, 20}, 9, Units, 0), "右からの位置の単位"),
    check(C::visible, C::TabSheet3, {16, 216, 57, 17}, 10, "非表示"),
};

// The row of ControlId n is row n, so the builder's table can be indexed by
// identifier; each row is of its identifier's kind, which the types the
// builder makes follow; and a parent comes before its children, so it exists
// when they are created.
constexpr bool rowsFollowTheIdentifiers() {
  if (std::size(Rows) != ControlCount)
    return false;
  for (std::size_t i = 0; i < std::size(Rows); ++i) {
    const ControlDescription& r = Rows[i];
    if (indexOf(r.id) != i || r.kind != kindOf(r.id) ||
        (r.parentId != Form1 && indexOf(r.parentId) >= i))
      return false;
  }
  return true;
}
static_assert(rowsFollowTheIdentifiers(), "the rows must stand in the order of "
                                          "SHEETLOOM_FORM_CONTROLS, of its kinds, parents first");

// The controls a user types or chooses in, which a screen reader names by
// the label before them or by their annotation.
constexpr bool takesInput(ControlKind kind) {
  switch (kind) {
  case K::EditCombo:
  case K::DropDownList:
  case K::SpinEdit:
  case K::Edit:
  case K::Memo:
  case K::TabControl:
    return true;
  default:
    return false;
  }
}

// Each label names the control that comes right after it among its siblings,
// which is where screen readers look; and every control that takes input
// has exactly one name: a label's or its own spoken name.
constexpr bool everyInputIsNamedOnce() {
  std::array<int, ControlCount> names{};
  for (std::size_t i = 0; i < std::size(Rows); ++i) {
    const ControlDescription& r = Rows[i];
    if (r.kind == K::Label) {
      std::size_t next = i + 1;
      while (next < std::size(Rows) && Rows[next].parentId != r.parentId)
        ++next;
      if (next == std::size(Rows) || Rows[next].id != r.labelFor)
        return false;
      ++names[indexOf(r.labelFor)];
    } else if (r.labelFor != C::None) {
      return false;
    }
    if (!r.spokenName.empty())
      ++names[i];
  }
  for (const ControlDescription& r : Rows)
    if (takesInput(r.kind) && names[indexOf(r.id)] != 1)
      return false;
  return true;
}
static_assert(everyInputIsNamedOnce(),
              "each label must stand right before the control it names, and each control that "
              "takes input must have one label or one spoken name");

} // namespace

const ControlDescription& describe(ControlId id) {
  return Rows[indexOf(id)];
}

std::string_view spokenNameOf(ControlId id) {
  const ControlDescription& row = describe(id);
  if (!row.spokenName.empty())
    return row.spokenName;
  for (const ControlDescription& label : Rows)
    if (label.kind == K::Label && label.labelFor == id)
      return label.text;
  return row.text;
}

const ControlDescription* formDescriptionBegin() {
  return std::begin(Rows);
}
const ControlDescription* formDescriptionEnd() {
  return std::end(Rows);
}
std::size_t formDescriptionSize() {
  return std::size(Rows);
}

} // namespace ui
