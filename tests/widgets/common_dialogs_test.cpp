// The real font and colour dialogs, driven from a thread timer that the
// dialogs' own modal loops dispatch.
#include "toolkit/common_dialogs.h"

#include "tests/support/modal_windows.h"
#include "tests/support/window_helpers.h"
#include "toolkit/handles.h"
#include "toolkit/installed_faces.h"
#include "toolkit/message_loop.h"
#include "toolkit/placement.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <colordlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

using namespace sheetloom_test;

// Runs `open` with the driver armed and checks that it saw a dialog.
template <class F> auto drive(DialogDriver& driver, F open) {
  auto result = driveDialog(driver, open);
  EXPECT_TRUE(driver.opened) << "no dialog opened";
  return result;
}

// The application window with an edit holding the focus.
class Host : public HostWindow {
public:
  Host() : HostWindow(L"SheetloomDialogTestHost", WS_OVERLAPPEDWINDOW, 20, 20, 300, 200) {
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100, 20,
                            hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetActiveWindow(hwnd());
    SetFocus(edit_);
    tk::setApplicationWindow(hwnd());
  }
  ~Host() override { tk::setApplicationWindow(nullptr); }
  HWND edit() const { return edit_; }

private:
  HWND edit_; // borrowed: our child
};

class DialogTest : public ::testing::Test {
protected:
  void expectModalAndCentred(const DialogDriver& d) {
    EXPECT_EQ(d.owner, host_.hwnd());
    EXPECT_FALSE(d.ownerEnabled) << "the application is disabled while the dialog is open";
    EXPECT_TRUE(IsWindowEnabled(host_.hwnd()));
    EXPECT_EQ(GetFocus(), host_.edit()) << "the focus comes back";
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((d.rect.left + d.rect.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((d.rect.top + d.rect.bottom) - (work.top + work.bottom)), 2);
  }
  Host host_;
};

LRESULT findExact(HWND dialog, int id, const wchar_t* text) {
  return SendDlgItemMessageW(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(text));
}

LOGFONTW startFont() {
  LOGFONTW lf{};
  lf.lfHeight = -16;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy_s(lf.lfFaceName, L"IPA Pゴシック");
  return lf;
}

TEST_F(DialogTest, FontConfirmedUnchangedReturnsTheStartingFont) {
  DialogDriver d;
  auto choice = drive(d, [] { return tk::chooseFont(startFont(), RGB(0, 0, 0)); });
  ASSERT_TRUE(choice);
  expectModalAndCentred(d);
  EXPECT_STREQ(choice->font.lfFaceName, L"IPA Pゴシック");
  EXPECT_EQ(choice->font.lfHeight, -16);
  EXPECT_EQ(choice->pointSizeTenths, 120);
  EXPECT_LE(choice->font.lfWeight, FW_NORMAL);
  EXPECT_FALSE(choice->font.lfItalic || choice->font.lfUnderline || choice->font.lfStrikeOut);
  EXPECT_EQ(choice->colour, RGB(0, 0, 0));
}

TEST_F(DialogTest, FontConfirmedWithChangesReturnsThem) {
  DialogDriver d;
  d.action = [](HWND dialog) {
    chooseInCombo(dialog, cmb1, findExact(dialog, cmb1, L"IPAゴシック"));
    HWND styles = GetDlgItem(dialog, cmb2); // the last style is bold italic
    chooseInCombo(dialog, cmb2, SendMessageW(styles, CB_GETCOUNT, 0, 0) - 1);
    chooseInCombo(dialog, cmb3, findExact(dialog, cmb3, L"20"));
    SendDlgItemMessageW(dialog, chx1, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, chx2, BM_CLICK, 0, 0);
    HWND colours = GetDlgItem(dialog, cmb4);
    const auto count = SendMessageW(colours, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
      if (SendMessageW(colours, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == RGB(255, 0, 0))
        chooseInCombo(dialog, cmb4, i);
  };
  auto choice = drive(d, [] { return tk::chooseFont(startFont(), RGB(0, 0, 0)); });
  ASSERT_TRUE(choice);
  EXPECT_STREQ(choice->font.lfFaceName, L"IPAゴシック");
  EXPECT_EQ(choice->pointSizeTenths, 200);
  tk::WindowDc screen(nullptr);
  EXPECT_EQ(choice->font.lfHeight, -MulDiv(20, GetDeviceCaps(screen.get(), LOGPIXELSY), 72));
  EXPECT_GT(choice->font.lfWeight, FW_NORMAL);
  EXPECT_TRUE(choice->font.lfItalic);
  EXPECT_TRUE(choice->font.lfUnderline);
  EXPECT_TRUE(choice->font.lfStrikeOut);
  EXPECT_EQ(choice->colour, RGB(255, 0, 0));
}

TEST_F(DialogTest, FontKeepsItsColourUnlessOneIsPicked) {
  DialogDriver d;
  d.action = [](HWND dialog) {
    chooseInCombo(dialog, cmb1, findExact(dialog, cmb1, L"IPAゴシック"));
  };
  auto choice = drive(d, [] { return tk::chooseFont(startFont(), RGB(0, 0, 255)); });
  ASSERT_TRUE(choice);
  EXPECT_STREQ(choice->font.lfFaceName, L"IPAゴシック");
  EXPECT_EQ(choice->colour, RGB(0, 0, 255));
}

TEST_F(DialogTest, FontNotInstalledStartsOnTheFaceDrawnInItsPlace) {
  DialogDriver d;
  LOGFONTW lf = startFont();
  wcscpy_s(lf.lfFaceName, L"ＭＳ Ｐゴシック"); // substituted under Wine, installed on Windows
  lf.lfHeight = -12;
  auto choice = drive(d, [&] { return tk::chooseFont(lf, RGB(0, 0, 0)); });
  ASSERT_TRUE(choice);
  EXPECT_NE(choice->font.lfFaceName[0], L'@') << "not a vertical face picked by the dialog";
  EXPECT_EQ(choice->pointSizeTenths, 90);
  EXPECT_EQ(choice->font.lfHeight, -12);
}

TEST_F(DialogTest, FontCancelledReturnsNothing) {
  DialogDriver d;
  d.command = IDCANCEL;
  d.action = [](HWND dialog) { SendDlgItemMessageW(dialog, chx1, BM_CLICK, 0, 0); };
  auto choice = drive(d, [] { return tk::chooseFont(startFont(), RGB(0, 0, 0)); });
  EXPECT_FALSE(choice);
  expectModalAndCentred(d);
}

TEST_F(DialogTest, ColourConfirmedUnchangedReturnsTheStartingColour) {
  tk::CustomColours custom = tk::noCustomColours();
  DialogDriver d;
  d.action = [](HWND dialog) {
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, COLOR_RAINBOW))) << "basic form";
  };
  auto colour = drive(d, [&] { return tk::chooseColour(RGB(0x12, 0x34, 0x56), custom); });
  ASSERT_TRUE(colour);
  EXPECT_EQ(*colour, RGB(0x12, 0x34, 0x56));
  expectModalAndCentred(d);
  EXPECT_EQ(custom, tk::noCustomColours());
}

TEST_F(DialogTest, ColourConfirmedWithAChangeReturnsIt) {
  tk::CustomColours custom = tk::noCustomColours();
  DialogDriver d;
  d.action = [](HWND dialog) { setColourDialogRgb(dialog, L"0", L"0", L"255"); };
  auto colour = drive(d, [&] { return tk::chooseColour(RGB(0, 0, 0), custom); });
  ASSERT_TRUE(colour);
  EXPECT_EQ(*colour, RGB(0, 0, 255));
}

TEST_F(DialogTest, ColourCancelledReturnsNothing) {
  tk::CustomColours custom = tk::noCustomColours();
  DialogDriver d;
  d.command = IDCANCEL;
  d.action = [](HWND dialog) { setColourDialogRgb(dialog, L"255", L"0", L"0"); };
  auto colour = drive(d, [&] { return tk::chooseColour(RGB(0, 0, 0), custom); });
  EXPECT_FALSE(colour);
  expectModalAndCentred(d);
}

// The placing rule of every dialog and message window: centred across, down
// by the free height over the divisor, and for the common dialogs kept with
// their top-left corner on the area.
TEST(Placement, CentredInAnArea) {
  const struct {
    RECT area;
    SIZE size;
    tk::Centring how;
    POINT expected;
  } cases[] = {
      {{0, 0, 1280, 1024}, {400, 300}, {}, {440, 362}},
      {{0, 0, 1280, 1024}, {563, 417}, {3, false}, {358, 202}},
      {{1280, -200, 2560, 824}, {600, 400}, {3, false}, {1620, 8}},
      {{0, 0, 800, 600}, {1001, 700}, {3, false}, {-100, -33}}, // larger, a third up
      {{1280, -200, 2560, 824}, {601, 401}, {}, {1619, 111}},   // odd free space rounds down
      {{0, 0, 800, 600}, {1001, 700}, {}, {-100, -50}},
      {{0, 0, 800, 600}, {1001, 700}, {2, true}, {0, 0}},
      {{-1024, 30, 0, 798}, {1100, 200}, {2, true}, {-1024, 314}},
  };
  for (const auto& c : cases) {
    const POINT at = tk::centredIn(c.area, c.size, c.how);
    EXPECT_EQ(at.x, c.expected.x) << c.area.left << " " << c.size.cx;
    EXPECT_EQ(at.y, c.expected.y) << c.area.top << " " << c.size.cy;
  }
}

int CALLBACK firstFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
  *reinterpret_cast<std::wstring*>(param) = font->lfFaceName;
  return 0;
}

// The face a font asking for `face` really draws with.
std::wstring drawnFace(HDC dc, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(lf.lfFaceName, face);
  tk::UniqueFont font(CreateFontIndirectW(&lf));
  tk::SelectScope select(dc, font.get());
  wchar_t drawn[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, drawn);
  return drawn;
}

// Only a face installed under exactly its name counts. Windows' Japanese
// face, which a system without it substitutes (as this Wine does), is
// enumerated there under the name of the face drawn in its place.
TEST(InstalledFaces, OnlyTheExactFaceCounts) {
  tk::WindowDc screen(nullptr);
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  std::wstring installed;
  EnumFontFamiliesExW(screen.get(), &any, firstFamily, reinterpret_cast<LPARAM>(&installed), 0);
  ASSERT_FALSE(installed.empty());
  EXPECT_TRUE(tk::isInstalledFace(screen.get(), installed.c_str())) << tk::narrow(installed);
  EXPECT_TRUE(tk::isInstalledFace(screen.get(), L"IPA Pゴシック"));
  for (const wchar_t* face :
       {L"Sheetloom No Such Face", L"", L"A face name longer than any face name can be"})
    EXPECT_FALSE(tk::isInstalledFace(screen.get(), face)) << tk::narrow(face);
  const wchar_t* windowsFace = L"ＭＳ Ｐゴシック";
  if (drawnFace(screen.get(), windowsFace) != windowsFace) {
    EXPECT_FALSE(tk::isInstalledFace(screen.get(), windowsFace)) << "substituted";
  }
}

} // namespace
