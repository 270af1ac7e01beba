// Form1 as the user first meets it: its frame, its controls' starting values,
// its layout when maximised and at another DPI, and its tab order. The keys
// and clicks themselves are tested with real input (tests/input).
#include "tests/support/form_fixture.h"

#include "controls/spin_button.h"
#include "toolkit/dpi.h"
#include "toolkit/handles.h"
#include "ui/form_description.h"
#include "ui/screen_reader_names.h"
#include "ui/window_fonts.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using sheetloom_test::FormTest;
using ui::ControlDescription;
using C = ui::ControlId;

// ---- the description itself ----

TEST(FormDescription, ParentsComeFirstAndEachParentsChildrenStandInTabOrder) {
  std::set<C> seen{C::None};
  std::map<C, int> nextTab;
  for (auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
    EXPECT_TRUE(seen.count(row->parentId)) << row->id << " comes before its parent";
    EXPECT_TRUE(seen.insert(row->id).second) << row->id << " appears twice";
    if (row->tab != ui::NoTab) {
      EXPECT_EQ(row->tab, nextTab[row->parentId]++) << row->id << " is out of tab order";
    }
  }
  EXPECT_EQ(ui::formDescriptionSize(), 71u);
}

TEST(FormDescription, EventsAreWiredAsDesigned) {
  const std::map<C, ui::Handler> wiring = {
      {C::TAG, ui::Handler::TAGChange},
      {C::make, ui::Handler::makeClick},
      {C::Button2, ui::Handler::Button2Click},
      {C::Button5, ui::Handler::Button5Click},
      {C::Button1, ui::Handler::Button1Click},
      {C::Button3, ui::Handler::Button3Click},
      {C::Button4, ui::Handler::Button4Click},
      {C::border_kind, ui::Handler::border_kindChange},
      {C::border_check, ui::Handler::border_kindChange},
      {C::Ma_kind, ui::Handler::Ma_kindChange},
      {C::Ma_check, ui::Handler::Ma_kindChange},
      {C::Pa_kind, ui::Handler::Pa_kindChange},
      {C::Pa_check, ui::Handler::Pa_kindChange},
  };
  for (auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
    const auto it = wiring.find(row->id);
    EXPECT_EQ(row->handler, it == wiring.end() ? ui::Handler::None : it->second) << row->id;
  }
}

// ---- the window ----

TEST_F(FormTest, HasCaptionAndClientSize) {
  EXPECT_EQ(tk::windowText(form.hwnd()), L"SHEETLOOM");
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, 710);
  EXPECT_EQ(client.bottom, 601);
}

// A window whose frame came out other than computed (under Wine, a frame
// drawn at the system DPI around a window laid out for its monitor's) is
// resized to the client area it was meant to have, in place.
TEST(FitClientSize, GivesTheClientAreaWhateverFrameTheWindowGot) {
  struct Case {
    DWORD style, exStyle;
    SIZE outer; // what the window was first given
  };
  const SIZE client{300, 200};
  for (const Case& c : {Case{WS_OVERLAPPEDWINDOW, 0, {300, 200}},
                        Case{WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, {260, 150}},
                        Case{WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, {420, 330}}}) {
    tk::UniqueHwnd window(CreateWindowExW(c.exStyle, L"STATIC", L"", c.style, 40, 50, c.outer.cx,
                                          c.outer.cy, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    const SIZE outer = tk::fitClientSize(window.get(), client);
    RECT got{}, placed{};
    GetClientRect(window.get(), &got);
    GetWindowRect(window.get(), &placed);
    EXPECT_EQ(got.right, client.cx) << c.style;
    EXPECT_EQ(got.bottom, client.cy) << c.style;
    EXPECT_EQ(placed.left, 40) << c.style;
    EXPECT_EQ(placed.top, 50) << c.style;
    EXPECT_EQ(placed.right - placed.left, outer.cx) << c.style;
    EXPECT_EQ(placed.bottom - placed.top, outer.cy) << c.style;
    // Already right: nothing moves.
    EXPECT_EQ(tk::fitClientSize(window.get(), client).cx, outer.cx) << c.style;
  }
}

TEST_F(FormTest, FrameIsFixedWithMinimiseAndMaximiseAndPlacedAsDesigned) {
  const LONG_PTR style = GetWindowLongPtrW(form.hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the frame cannot be dragged to another size";
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  RECT window{}, client{};
  GetWindowRect(form.hwnd(), &window);
  EXPECT_EQ(window.left, 239);
  EXPECT_EQ(window.top, 107);
  // The inner border: one pixel between the frame and the client area.
  GetClientRect(form.hwnd(), &client);
  RECT frameOnly{0, 0, 710, 601};
  AdjustWindowRectEx(&frameOnly, static_cast<DWORD>(style), FALSE, 0);
  EXPECT_EQ(window.right - window.left, frameOnly.right - frameOnly.left + 2);
  EXPECT_EQ(window.bottom - window.top, frameOnly.bottom - frameOnly.top + 2);
}

TEST_F(FormTest, StartsWithEveryControlAtItsInitialValue) {
  EXPECT_EQ(text(C::GroupBox1), L"BODY");
  EXPECT_EQ(text(C::TAG), L"BODY");
  EXPECT_EQ(selected(C::TAG), -1);
  EXPECT_EQ(currentPage(), 0);
  EXPECT_TRUE(IsWindowVisible(c(C::TabSheet2)));
  EXPECT_FALSE(IsWindowVisible(c(C::TabSheet1)));
  EXPECT_FALSE(IsWindowVisible(c(C::TabSheet3)));
  for (ui::ControlId name : {C::width, C::height, C::border_width, C::Ma, C::Pa, C::zin, C::top,
                             C::buttom, C::left, C::right}) {
    EXPECT_EQ(spin(name).Text(), L"0") << name;
    EXPECT_EQ(spin(name).Value(), 0) << name;
  }
  for (ui::ControlId name :
       {C::wu, C::hu, C::tu, C::bu, C::lu, C::ru, C::border_unit, C::Ma_unit, C::Pa_unit}) {
    EXPECT_EQ(text(name), L"px") << name;
    EXPECT_EQ(selected(name), 0) << name;
  }
  for (ui::ControlId name : {C::border_kind, C::Ma_kind, C::Pa_kind}) {
    EXPECT_EQ(selected(name), 0) << name;
    EXPECT_EQ(text(name), L"上下左右") << name;
  }
  EXPECT_EQ(text(C::border_style), L"なし");
  EXPECT_EQ(text(C::border_color), L"#000000");
  EXPECT_EQ(text(C::back_color), L"");
  EXPECT_EQ(text(C::Back_Image), L"");
  for (ui::ControlId name : {C::border_check, C::Ma_check, C::Pa_check, C::kotei, C::visible})
    EXPECT_FALSE(checked(name)) << name;
  EXPECT_EQ(selected(C::align), 0);
  EXPECT_EQ(text(C::align), L"");
  for (ui::ControlId name : {C::valign, C::cursor, C::posit, C::back_repeat})
    EXPECT_EQ(selected(name), -1) << name;
  EXPECT_EQ(text(C::cursor), L"");
  EXPECT_EQ(memo(), L"");
  EXPECT_EQ(text(C::visible), L"非表示");
  EXPECT_EQ(text(C::make), L"スタイルシートに追加");
}

TEST_F(FormTest, ListsHoldTheirEntriesUnsortedAndShowEightAtATime) {
  EXPECT_EQ(SendMessageW(c(C::TAG), CB_GETCOUNT, 0, 0), 84);
  EXPECT_EQ(indexOf(C::TAG, L"A"), 0);
  EXPECT_EQ(indexOf(C::TAG, L"VAR"), 83);
  EXPECT_EQ(SendMessageW(c(C::cursor), CB_GETCOUNT, 0, 0), 17);
  EXPECT_EQ(indexOf(C::back_repeat, L"1回だけ表示して、繰り返さない。"), 4);
  EXPECT_EQ(indexOf(C::border_style, L"アウトセット"), 8);
  // The open list of the selector shows eight entries.
  SendMessageW(c(C::TAG), CB_SHOWDROPDOWN, TRUE, 0);
  RECT list{};
  GetClientRect(sheetloom_test::comboBoxInfo(c(C::TAG)).hwndList, &list);
  const auto item = SendMessageW(c(C::TAG), CB_GETITEMHEIGHT, 0, 0);
  EXPECT_EQ(list.bottom / item, 8);
  SendMessageW(c(C::TAG), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(FormTest, ControlsUseTheWindowFontAndTheMemoOneMorePixel) {
  const auto fontOf = [this](ui::ControlId name) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c(name), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
  };
  for (ui::ControlId name :
       {C::GroupBox1, C::Label1, C::TAG, C::make, C::border_check, C::back_color}) {
    const LOGFONTW lf = fontOf(name);
    EXPECT_EQ(lf.lfHeight, -12) << name;
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET) << name;
    EXPECT_EQ(lf.lfWeight, FW_NORMAL) << name;
  }
  EXPECT_EQ(fontOf(C::StyleSheet).lfHeight, -13);
  // A proportional Japanese face: the preferred one, or what this system has.
  const std::wstring face = fontOf(C::make).lfFaceName;
  EXPECT_TRUE(face == L"ＭＳ Ｐゴシック" || face == L"MS PGothic" || face == L"IPAPGothic" ||
              face == L"IPA Pゴシック")
      << tk::narrow(face);
}

TEST_F(FormTest, ControlsStandWhereDesigned) {
  HWND group = c(C::GroupBox1);
  const RECT tag = boundsIn(C::TAG, group);
  EXPECT_EQ(tag.left, 72);
  EXPECT_EQ(tag.top, 24);
  EXPECT_EQ(tag.right - tag.left, 121);
  EXPECT_EQ(tag.bottom - tag.top, 20);
  const RECT make = boundsIn(C::make, group);
  EXPECT_EQ(make.left, 8);
  EXPECT_EQ(make.top, 368);
  EXPECT_EQ(make.right - make.left, 115);
  const RECT memo = boundsIn(C::StyleSheet, group);
  EXPECT_EQ(memo.left, 2);
  EXPECT_EQ(memo.top, 396);
  EXPECT_EQ(memo.right - memo.left, 706);
  EXPECT_EQ(memo.bottom - memo.top, 203);
  const RECT border = boundsIn(C::border_color, c(C::GroupBox2));
  EXPECT_EQ(border.left, 344);
  EXPECT_EQ(border.top, 40);
  // The page area lies inside the tab control, below its buttons.
  const RECT tabs = boundsIn(C::PageControl1, group);
  const RECT page = boundsIn(C::TabSheet2, group);
  EXPECT_GE(page.left, tabs.left);
  EXPECT_GT(page.top, tabs.top);
  EXPECT_LE(page.right, tabs.right);
  EXPECT_LE(page.bottom, tabs.bottom);
}

// Where every control must stand: its described bounds scaled to `dpi`; a
// label as large as its caption in its own font; a combo as high as 20 pixels
// at 96 dpi, whatever its list; a spin edit at least as high as its font needs.
RECT expectedBounds(const ControlDescription& row, HWND control, const controls::TSpinEdit* spin,
                    UINT dpi) {
  const auto s = [dpi](int px) { return MulDiv(px, static_cast<int>(dpi), 96); };
  RECT r{s(row.bounds.left), s(row.bounds.top), s(row.bounds.left) + s(row.bounds.width),
         s(row.bounds.top) + s(row.bounds.height)};
  if (row.kind == ui::ControlKind::Label) {
    const std::wstring caption = tk::windowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    r.right = r.left + size.cx;
    r.bottom = r.top + size.cy;
  }
  if (row.kind == ui::ControlKind::EditCombo || row.kind == ui::ControlKind::DropDownList)
    r.bottom = r.top + s(20);
  if (row.kind == ui::ControlKind::SpinEdit && spin && spin->AutoSize())
    r.bottom = r.top + std::max<LONG>(r.bottom - r.top, spin->MinHeight());
  return r;
}

TEST_F(FormTest, EveryControlStandsWhereDescribedAtStartAndAtAnotherDpi) {
  struct Case {
    UINT dpi;
    RECT suggested;
  };
  // The labels of a page take their caption's size when the page is first
  // shown: show every page once.
  showPage(2);
  showPage(1);
  showPage(0);
  for (const Case& at : {Case{96, {}}, Case{144, {100, 100, 1200, 1100}}}) {
    if (at.dpi != 96) {
      SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(at.dpi, at.dpi),
                   reinterpret_cast<LPARAM>(&at.suggested));
      pump();
    }
    for (auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
      if (row->kind == ui::ControlKind::Page || row->dock != ui::Dock::None)
        continue;
      HWND control = c(row->id);
      const RECT want = expectedBounds(
          *row, control, row->kind == ui::ControlKind::SpinEdit ? &spin(row->id) : nullptr, at.dpi);
      RECT got{};
      GetWindowRect(control, &got);
      MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&got), 2);
      EXPECT_EQ(got.left, want.left) << row->id << " at " << at.dpi << " dpi";
      EXPECT_EQ(got.top, want.top) << row->id << " at " << at.dpi << " dpi";
      EXPECT_EQ(got.right, want.right) << row->id << " at " << at.dpi << " dpi";
      EXPECT_EQ(got.bottom, want.bottom) << row->id << " at " << at.dpi << " dpi";
    }
  }
}

// The labels of a page not shown at start are sized when the page is first
// shown, in the font they have then (here a larger one than the window's, so
// that the described size and the caption's differ).
TEST_F(FormTest, ALabelOfAHiddenPageTakesItsCaptionSizeWhenThePageIsShown) {
  tk::UniqueFont large(CreateFontW(-30, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                   0, 0, 0, ui::windowFaceName().c_str()));
  ASSERT_TRUE(large);
  HWND label = c(C::Label14); // on the page 設定3
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(large.get()), FALSE);
  showPage(2);
  const RECT want = expectedBounds(ui::describe(C::Label14), label, nullptr, tk::screenDpi());
  const RECT got = boundsIn(C::Label14, GetParent(label));
  EXPECT_EQ(got.right - got.left, want.right - want.left);
  EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
  EXPECT_GT(got.bottom - got.top, 20);
}

TEST_F(FormTest, APageNotYetBuiltIsBuiltWhenAHandlerAPageSwitchOrTheAddNeedsIt) {
  const auto addRule = [](ui::TForm1& f) {
    SendMessageW(f.controls().hwnd(ui::ControlId::make), BM_CLICK, 0, 0);
    return tk::windowText(f.controls().hwnd(ui::ControlId::StyleSheet));
  };
  static_cast<void>(form.controls().all()); // the fixture's form, every page built
  const std::wstring afterFullStart = addRule(form);
  struct Case {
    const char* need;
    void (*act)(ui::TForm1&);
  };
  const Case cases[] = {
      {"a handler", [](ui::TForm1& f) { f.Ma_kindChange(f.hwnd()); }},
      {"a page switch", [](ui::TForm1& f) { sheetloom_test::switchToPage(f, 1); }},
      {"the add",
       [](ui::TForm1& f) { SendMessageW(f.controls().hwnd(ui::ControlId::make), BM_CLICK, 0, 0); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.need);
    ui::TForm1 fresh;
    fresh.create(nullptr, SW_SHOWNORMAL);
    pump();
    ASSERT_FALSE(fresh.controls().complete());
    k.act(fresh);
    EXPECT_TRUE(fresh.controls().complete());
  }
  ui::TForm1 fresh;
  fresh.create(nullptr, SW_SHOWNORMAL);
  pump();
  EXPECT_EQ(addRule(fresh), afterFullStart);
}

TEST_F(FormTest, MaximisedTheGroupFillsTheWindowAndTheMemoKeepsItsHeight) {
  ShowWindow(form.hwnd(), SW_MAXIMIZE);
  pump();
  RECT client{}, group{};
  GetClientRect(form.hwnd(), &client);
  ASSERT_GT(client.right, 710);
  ASSERT_GT(client.bottom, 601);
  GetWindowRect(c(C::GroupBox1), &group);
  EXPECT_EQ(group.right - group.left, client.right);
  EXPECT_EQ(group.bottom - group.top, client.bottom);
  const RECT memo = boundsIn(C::StyleSheet, c(C::GroupBox1));
  EXPECT_EQ(memo.bottom - memo.top, 203);
  EXPECT_EQ(memo.left, 2);
  EXPECT_EQ(memo.right, client.right - 2);
  EXPECT_EQ(memo.bottom, client.bottom - 2);
  const RECT make = boundsIn(C::make, c(C::GroupBox1));
  EXPECT_EQ(make.top, 368) << "every other control keeps its place";

  ShowWindow(form.hwnd(), SW_RESTORE);
  pump();
  EXPECT_EQ(boundsIn(C::StyleSheet, c(C::GroupBox1)).top, 396);
}

TEST_F(FormTest, AnotherDpiScalesEveryBoundAndFont) {
  RECT suggested{100, 100, 1200, 1100}; // as the system would propose for 144 dpi
  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  pump();
  const RECT make = boundsIn(C::make, c(C::GroupBox1));
  EXPECT_EQ(make.left, 12);
  EXPECT_EQ(make.top, 552);
  EXPECT_EQ(make.right - make.left, 173);
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c(C::make), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -18);
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c(C::StyleSheet), WM_GETFONT, 0, 0)), sizeof lf,
             &lf);
  EXPECT_EQ(lf.lfHeight, -20);
  const RECT memo = boundsIn(C::StyleSheet, c(C::GroupBox1));
  EXPECT_EQ(memo.bottom - memo.top, 305);
  RECT group{};
  GetClientRect(c(C::GroupBox1), &group);
  EXPECT_EQ(memo.bottom, group.bottom - 3);
}

// A close request that reaches a container (a multi-line edit posts one to
// its parent on Escape) must not destroy it with the controls inside.
TEST_F(FormTest, NoContainerClosesOnAWindowCloseRequest) {
  const C containers[] = {C::GroupBox1, C::PageControl1, C::TabSheet2, C::TabSheet1, C::TabSheet3,
                          C::GroupBox2, C::GroupBox3,    C::GroupBox4, C::GroupBox5};
  for (C name : containers) {
    SendMessageW(c(name), WM_CLOSE, 0, 0);
    PostMessageW(c(name), WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(IsWindow(c(name))) << name;
  }
  EXPECT_TRUE(IsWindow(c(C::StyleSheet)));
  EXPECT_TRUE(IsWindow(form.hwnd()));
}

// Escape delivered to the memo by a loop without dialog navigation, after
// the memo has been asked for its dialog code: no close request is posted,
// and the text stays.
TEST_F(FormTest, EscapeStraightToTheMemoPostsNoCloseRequest) {
  HWND memoHwnd = c(C::StyleSheet);
  tk::setWindowText(memoHwnd, L"P {\r\n}\r\n");
  SetFocus(memoHwnd);
  MSG key{memoHwnd, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
  SendMessageW(memoHwnd, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&key));
  SendMessageW(memoHwnd, WM_KEYDOWN, VK_ESCAPE, 1);
  SendMessageW(memoHwnd, WM_CHAR, VK_ESCAPE, 1);
  MSG posted{};
  EXPECT_FALSE(PeekMessageW(&posted, c(C::GroupBox1), WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
  pump();
  EXPECT_TRUE(IsWindow(c(C::GroupBox1)));
  EXPECT_EQ(memo(), L"P {\r\n}\r\n");
}

// ---- tab order ----

std::vector<C> tabWalk(const ui::TForm1& form, HWND start) {
  std::vector<C> names;
  HWND at = start;
  for (int guard = 0; guard < 100; ++guard) {
    const auto* control = form.controls().find(at);
    names.push_back(control ? control->row->id : C::None); // "Form1": no control of ours
    at = GetNextDlgTabItem(form.hwnd(), at, FALSE);
    if (at == start)
      break;
  }
  return names;
}

TEST_F(FormTest, TabWalksTheFrameThenTheTabControlThenThePageShown) {
  const std::vector<C> frame = {C::TAG,     C::make,    C::StyleSheet,
                                C::Button2, C::Button5, C::PageControl1};
  auto expect = [&](std::vector<C> page) {
    std::vector<C> all = frame;
    all.insert(all.end(), page.begin(), page.end());
    EXPECT_EQ(tabWalk(form, c(C::TAG)), all);
  };
  expect({C::Button1, C::align, C::valign, C::width, C::wu, C::height, C::hu, C::cursor});
  showPage(1);
  expect({C::border_kind, C::border_style, C::border_width, C::border_unit, C::border_color,
          C::Button3,     C::border_check, C::Ma_kind,      C::Ma_unit,     C::Ma,
          C::Ma_check,    C::Pa_kind,      C::Pa_unit,      C::Pa,          C::Pa_check,
          C::Button4,     C::back_color,   C::Back_Image,   C::back_repeat, C::kotei});
  showPage(2);
  expect({C::zin, C::posit, C::top, C::tu, C::buttom, C::bu, C::left, C::lu, C::right, C::ru,
          C::visible});
}

// ---- screen readers ----

// Screen readers name a control by the label just before it in the window
// order, which is also the order Tab walks: each label must come right before
// the control it names, without a place in the tab order of its own.
TEST_F(FormTest, EveryLabelStandsRightBeforeTheControlItNames) {
  int labels = 0;
  for (auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
    if (row->kind != ui::ControlKind::Label)
      continue;
    ++labels;
    EXPECT_EQ(GetWindow(c(row->labelFor), GW_HWNDPREV), c(row->id))
        << row->id << " does not stand right before " << row->labelFor;
    EXPECT_FALSE(GetWindowLongW(c(row->id), GWL_STYLE) & WS_TABSTOP) << row->id;
  }
  EXPECT_EQ(labels, 18);
}

// The controls no label names, and the spin edits' arrow pairs, get their
// names once an accessibility client asks the window for its object.
TEST_F(FormTest, ControlsWithoutALabelAreNamedWhenAnAccessibilityClientAsks) {
  std::map<HWND, std::wstring> expected;
  for (auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
    const std::wstring name = tk::widen(ui::spokenNameOf(row->id));
    if (!row->spokenName.empty())
      expected[c(row->id)] = name;
    if (row->kind == ui::ControlKind::SpinEdit) {
      controls::TSpinButton& pair = spin(row->id).Button();
      expected[pair.hwnd()] = name + L"の増減";
    }
  }
  EXPECT_EQ(expected[c(C::border_kind)], L"ボーダーの辺");
  EXPECT_EQ(expected[form.controls().get<C::width>().Button().hwnd()], L"幅の増減");

  const ui::ScreenReaderNames& names = form.screenReaderNames();
  if (!ui::screenReaderRunning()) {
    EXPECT_FALSE(names.applied()) << "named at start-up with no screen reader running";
  }
  SendMessageW(form.hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
  ASSERT_TRUE(names.applied());
  std::map<HWND, std::wstring> given;
  for (const ui::SpokenName& name : names.names())
    given.emplace(name.hwnd, name.text);
  for (const auto& [hwnd, name] : expected) {
    const auto it = given.find(hwnd);
    EXPECT_TRUE(it != given.end() && it->second == name) << tk::narrow(name);
  }
  // A library that takes names takes every one (Wine's takes none: E_NOTIMPL).
  std::printf("annotations: %zu of %zu accepted (0x%08lx)\n", names.accepted(),
              names.names().size(), static_cast<unsigned long>(names.status()));
  EXPECT_TRUE(names.accepted() == 0 || names.accepted() == names.names().size());
}

// ---- text in the window font ----

// In the window font every label ends before the control to its right and is
// one text line high, and a colour code fits its box whole. A face wider or
// taller than the design's (Wine's usual stand-ins for "ＭＳ Ｐゴシック") breaks
// these first.
TEST_F(FormTest, LabelsAndColourCodesFitTheirRoom) {
  const int lineHeight = tk::scale(ui::WindowFontHeight, tk::screenDpi());
  showPage(2); // each page's labels take their size when it is first shown
  showPage(1);
  showPage(0);
  for (auto* label = ui::formDescriptionBegin(); label != ui::formDescriptionEnd(); ++label) {
    if (label->kind != ui::ControlKind::Label)
      continue;
    const C name = label->id;
    HWND parent = GetParent(c(name));
    const RECT shown = boundsIn(name, parent);
    EXPECT_EQ(shown.bottom - shown.top, lineHeight) << name;
    const ui::Bounds& b = label->bounds;
    for (auto* other = ui::formDescriptionBegin(); other != ui::formDescriptionEnd(); ++other) {
      const ui::Bounds& o = other->bounds;
      const bool sameRow = o.top < b.top + b.height && b.top < o.top + o.height;
      if (other->parentId == label->parentId && o.left > b.left && sameRow) {
        EXPECT_LE(shown.right, boundsIn(other->id, parent).left)
            << name << " runs into " << other->id;
      }
    }
  }
  for (ui::ControlId name : {C::border_color, C::back_color}) {
    setText(name, L"#000000");
    RECT room{};
    SendMessageW(c(name), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    tk::WindowDc dc(c(name));
    tk::SelectScope font(dc.get(),
                         reinterpret_cast<HGDIOBJ>(SendMessageW(c(name), WM_GETFONT, 0, 0)));
    SIZE code{};
    GetTextExtentPoint32W(dc.get(), L"#000000", 7, &code);
    EXPECT_LE(code.cx, room.right - room.left) << name;
  }
}

} // namespace
