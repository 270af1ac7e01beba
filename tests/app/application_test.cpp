// Start-up and end of the real program, the error display and the
// confirmation window, with real windows under a watchdog.
#include "tests/support/modal_windows.h"
#include "tests/support/temporary_files.h"
#include "tests/support/win32_threads.h"
#include "tests/support/window_helpers.h"

#include "app/application.h"
#include "app/confirmation_window.h"
#include "app/error_display.h"
#include "toolkit/common_dialogs.h"
#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/message_loop.h"
#include "toolkit/text.h"
#include "version.h" // generated from the project's version, like the record

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <optional>
#include <vector>

namespace {

using namespace sheetloom_test;

TEST(ErrorDisplay, PeriodRule) {
  struct Case {
    const wchar_t* message;
    const wchar_t* shown;
  } cases[] = {
      {L"ファイル C:\\a.css を作成できません", L"ファイル C:\\a.css を作成できません."},
      {L"already.", L"already."},
      {L"見出し。", L"見出し。."},
      {L"(closed)", L"(closed)"},
      {L"space ", L"space "},
      {L"dash-", L"dash-"},    // "-" is below "."
      {L"slash/", L"slash/."}, // "/" is above "."
      {L"9", L"9."},
      {L"\U0001F600", L"\U0001F600."},
      {L"", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(app::withFinalPeriod(c.message), c.shown) << tk::narrow(c.message);
}

// A window whose command raises an error inside its handler.
class FailingWindow : public HostWindow {
public:
  FailingWindow()
      : HostWindow(L"SheetloomFailingTestWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                   200, L"failing") {}
  int handled = 0;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND && LOWORD(wp) == 1) {
      ++handled;
      throw tk::Error("書き込みできません");
    }
    return defaultProc(msg, wp, lp);
  }
};

// A child window in the middle of a mouse drag (it holds the capture): the
// error ends the drag once, and no capture outlives the box.
class DraggingChild : public tk::Window {
public:
  explicit DraggingChild(HWND parent) {
    tk::CreateArgs args;
    args.style = WS_CHILD | WS_VISIBLE;
    args.width = args.height = 50;
    args.parent = parent;
    createOwn(L"SheetloomDraggingTestChild", args);
    SetCapture(hwnd());
  }
  int cancelModes = 0;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_CANCELMODE)
      ++cancelModes;
    return defaultProc(msg, wp, lp);
  }
};

TEST(ErrorDisplay, ErrorInHandlerShowsStopBoxAndWindowStaysUsable) {
  Watchdog watchdog(30);
  app::Application application;
  FailingWindow window;
  SetActiveWindow(window.hwnd());
  DraggingChild dragging(window.hwnd());
  ASSERT_EQ(GetCapture(), dragging.hwnd());
  std::wstring caption, text;
  bool windowDisabled = false;
  int style = 0;
  HWND owner = nullptr;
  {
    WhenWindowAppears box(L"#32770", [&](HWND b) {
      caption = tk::windowText(b);
      text = messageBoxText(b);
      owner = GetWindow(b, GW_OWNER);
      // The icon control of a box with an icon: id 0x14 on Windows, 0x440 under Wine.
      style = GetDlgItem(b, 0x14) || GetDlgItem(b, 0x440) ? 1 : 0;
      windowDisabled = !IsWindowEnabled(window.hwnd());
      PostMessageW(b, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(window.hwnd(), WM_COMMAND, 1, 0);
    EXPECT_TRUE(box.fired());
  }
  EXPECT_EQ(dragging.cancelModes, 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(caption, L"Sheetloom");
  EXPECT_EQ(text, L"書き込みできません.");
  EXPECT_EQ(owner, application.window());
  EXPECT_EQ(style, 1);
  EXPECT_TRUE(windowDisabled);
  EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
  EXPECT_EQ(GetActiveWindow(), window.hwnd());
  // Still usable: the next command runs and fails the same way.
  {
    WhenWindowAppears box(L"#32770", [](HWND b) { PostMessageW(b, WM_COMMAND, IDOK, 0); });
    SendMessageW(window.hwnd(), WM_COMMAND, 1, 0);
  }
  EXPECT_EQ(window.handled, 2);
}

// Every modal window the program opens ends a mouse capture before it shows
// (a button held down when a dialog opens must stop what the press started):
// the capture window gets one WM_CANCELMODE, and no capture is left.
TEST(ModalWindows, EveryOneEndsAMouseCaptureBeforeItShows) {
  Watchdog watchdog(60);
  app::Application application;
  const struct {
    const char* what;
    const wchar_t* className;
    WPARAM dismiss;
    std::function<void()> open;
  } cases[] = {
      {"save dialog", L"#32770", IDCANCEL,
       [] {
         std::wstring path;
         tk::runSaveDialog(nullptr, L"CSS|*.css", path);
       }},
      {"font dialog", L"#32770", IDCANCEL,
       [] {
         LOGFONTW font{};
         font.lfHeight = -12;
         std::wcscpy(font.lfFaceName, L"Tahoma");
         tk::chooseFont(font, 0);
       }},
      {"colour dialog", L"#32770", IDCANCEL,
       [] {
         tk::CustomColours custom = tk::noCustomColours();
         tk::chooseColour(0, custom);
       }},
      {"confirmation window", L"SheetloomConfirmation", IDOK,
       [] { app::showConfirmation(L"保存しました。"); }},
      {"error display", L"#32770", IDOK, [] { app::showError(L"書き込みできません"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FailingWindow window;
    SetActiveWindow(window.hwnd());
    DraggingChild dragging(window.hwnd());
    ASSERT_EQ(GetCapture(), dragging.hwnd());
    int cancelledWhenShown = -1;
    HWND captureWhenShown = nullptr;
    {
      WhenWindowAppears shown(c.className, [&](HWND w) {
        cancelledWhenShown = dragging.cancelModes;
        captureWhenShown = GetCapture();
        PostMessageW(w, WM_COMMAND, c.dismiss, 0);
      });
      c.open();
      EXPECT_TRUE(shown.fired());
    }
    EXPECT_EQ(cancelledWhenShown, 1);
    EXPECT_EQ(captureWhenShown, nullptr);
    EXPECT_EQ(dragging.cancelModes, 1);
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

// The caption of the OK button of the system's own message box.
std::wstring messageBoxOkCaption() {
  std::wstring caption;
  WhenWindowAppears box(L"#32770", [&](HWND b) {
    caption = tk::windowText(GetDlgItem(b, IDOK));
    PostMessageW(b, WM_COMMAND, IDOK, 0);
  });
  MessageBoxW(nullptr, L"?", L"probe", MB_OK);
  return caption;
}

// The message font at `dpi`: the system's, its height scaled from 96 dpi.
tk::UniqueFont messageFontAt(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, 96);
  return tk::UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

// The line height of the message font at a DPI.
int messageLineHeight(int dpi) {
  tk::UniqueFont font = messageFontAt(dpi);
  tk::WindowDc dc(nullptr);
  tk::SelectScope select(dc.get(), font.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  return tm.tmHeight;
}

// The confirmation window's geometry, computed here from the message font.
struct ExpectedConfirmation {
  SIZE client;
  RECT button;
};
ExpectedConfirmation expectedFor(const std::wstring& message, const std::wstring& okCaption,
                                 int dpi = 96) {
  tk::UniqueFont font = messageFontAt(dpi);
  tk::WindowDc dc(nullptr);
  tk::SelectScope select(dc.get(), font.get());
  SIZE letters{}, ok{}, text{};
  GetTextExtentPoint32W(dc.get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                        &letters);
  GetTextExtentPoint32W(dc.get(), okCaption.c_str(), static_cast<int>(okCaption.size()), &ok);
  GetTextExtentPoint32W(dc.get(), message.c_str(), static_cast<int>(message.size()), &text);
  const int x = letters.cx / 52, y = letters.cy;
  const int buttonWidth = std::max(MulDiv(x, 50, 4), static_cast<int>(ok.cx) + 8);
  const int buttonHeight = MulDiv(y, 14, 8);
  ExpectedConfirmation e{};
  // A one-line message: its text box is its extent.
  e.client.cx = std::max(static_cast<int>(text.cx), buttonWidth) + 2 * MulDiv(x, 8, 4);
  e.client.cy = text.cy + MulDiv(y, 10, 8) + buttonHeight + 2 * MulDiv(y, 8, 8);
  e.button.left = (e.client.cx - buttonWidth) / 2;
  e.button.top = MulDiv(y, 8, 8) + text.cy + MulDiv(y, 10, 8);
  e.button.right = e.button.left + buttonWidth;
  e.button.bottom = e.button.top + buttonHeight;
  return e;
}

// What the test saw of a confirmation window.
struct SeenConfirmation {
  RECT client{}, button{}, window{};
  std::wstring buttonText;
  LONG fontHeight = 0;
};
SeenConfirmation look(HWND w) {
  SeenConfirmation seen;
  GetClientRect(w, &seen.client);
  GetWindowRect(w, &seen.window);
  HWND ok = GetDlgItem(w, IDOK);
  seen.buttonText = tk::windowText(ok);
  GetWindowRect(ok, &seen.button);
  MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&seen.button), 2);
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(ok, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  seen.fontHeight = lf.lfHeight;
  return seen;
}

void expectLaidOut(const SeenConfirmation& seen, const ExpectedConfirmation& e, int dpi) {
  EXPECT_EQ(seen.client.right, e.client.cx) << dpi << " dpi";
  EXPECT_EQ(seen.client.bottom, e.client.cy) << dpi << " dpi";
  EXPECT_EQ(seen.button.left, e.button.left) << dpi << " dpi";
  EXPECT_EQ(seen.button.top, e.button.top) << dpi << " dpi";
  EXPECT_EQ(seen.button.right, e.button.right) << dpi << " dpi";
  EXPECT_EQ(seen.button.bottom, e.button.bottom) << dpi << " dpi";
}

TEST(ConfirmationWindow, SizeFromFontAndCtrlCText) {
  Watchdog watchdog(30);
  app::Application application;
  const std::wstring message = L"保存しました。";
  const std::wstring okCaption = messageBoxOkCaption();
  ASSERT_FALSE(okCaption.empty());
  SeenConfirmation seen;
  std::wstring caption, copied;
  LONG_PTR exStyle = 0;
  {
    WhenWindowAppears confirmation(L"SheetloomConfirmation", [&](HWND w) {
      caption = tk::windowText(w);
      exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
      seen = look(w);
      // Ctrl+C, handled the way the modal loop handles it, then Enter.
      setModifierKeys(true, false);
      PostMessageW(GetFocus(), WM_KEYDOWN, 'C', 0);
      pumpPending();
      setModifierKeys(false, false);
      copied = clipboardText();
      PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    });
    app::showConfirmation(message);
    EXPECT_TRUE(confirmation.fired());
  }
  setModifierKeys(false, false);
  EXPECT_EQ(caption, L"Sheetloom");
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  // The button says what the system's own message box says on its OK button.
  EXPECT_EQ(seen.buttonText, okCaption);
  expectLaidOut(seen, expectedFor(message, okCaption), 96);
  const RECT& window = seen.window;
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2);
  EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2);
  const std::wstring rule = L"---------------------------\r\n";
  EXPECT_EQ(copied, rule + L"Sheetloom\r\n" + rule + L"保存しました。\r\n" + rule + okCaption +
                        L"   \r\n" + rule);
}

// Moved to a monitor of another DPI, the window takes the message font at
// that DPI and lays itself out again from it, keeping its centre; back on the
// first monitor it is as it was.
TEST(ConfirmationWindow, FollowsAMoveToAnotherDpi) {
  Watchdog watchdog(30);
  app::Application application;
  const std::wstring message = L"保存しました。";
  const std::wstring okCaption = messageBoxOkCaption();
  const int systemDpi = static_cast<int>(tk::screenDpi());
  ASSERT_EQ(systemDpi, 96) << "the expectations assume a 96-dpi screen";
  std::vector<std::pair<int, SeenConfirmation>> seen;
  POINT centreBefore{}, centreAfter{};
  {
    WhenWindowAppears confirmation(L"SheetloomConfirmation", [&](HWND w) {
      seen.emplace_back(96, look(w));
      for (int dpi : {144, 192, 96}) {
        RECT suggested{}; // as the system proposes it: the old frame scaled about its place
        GetWindowRect(w, &suggested);
        centreBefore = {(suggested.left + suggested.right) / 2,
                        (suggested.top + suggested.bottom) / 2};
        SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        pumpPending();
        seen.emplace_back(dpi, look(w));
        const RECT& now = seen.back().second.window;
        centreAfter = {(now.left + now.right) / 2, (now.top + now.bottom) / 2};
        EXPECT_LE(std::abs(centreAfter.x - centreBefore.x), 1) << dpi;
        EXPECT_LE(std::abs(centreAfter.y - centreBefore.y), 1) << dpi;
      }
      PostMessageW(w, WM_COMMAND, IDOK, 0);
    });
    app::showConfirmation(message);
    EXPECT_TRUE(confirmation.fired());
  }
  ASSERT_EQ(seen.size(), 4u);
  const LONG height96 = seen.front().second.fontHeight;
  for (const auto& [dpi, look] : seen) {
    EXPECT_EQ(look.fontHeight, MulDiv(height96, dpi, 96)) << dpi << " dpi";
    expectLaidOut(look, expectedFor(message, okCaption, dpi), dpi);
  }
  // At 144 dpi everything is half as large again, give or take a rounding.
  // The height is made of lines of the font, whose height need not grow in
  // exactly that proportion (Wine 10's message font: 13 pixels at 96 dpi, 21
  // at 144), so it is held to the font's own growth.
  const RECT& small = seen[0].second.client;
  const RECT& large = seen[1].second.client;
  EXPECT_NEAR(large.right, small.right * 3 / 2, 4);
  const int line96 = messageLineHeight(96), line144 = messageLineHeight(144);
  EXPECT_GE(line144, line96 * 3 / 2);
  EXPECT_NEAR(large.bottom, MulDiv(small.bottom, line144, line96), 4)
      << "line height " << line96 << " -> " << line144;
}

// The system refusing the text once the clipboard is open, as it does when
// memory runs short.
HANDLE WINAPI refuseClipboardData(UINT, HANDLE) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

// Another program holding the clipboard open. For a moment: Ctrl+C waits for
// it and copies. For long: Ctrl+C raises the clipboard error through the error
// display, the clipboard keeps what it held, and the window stays open until
// dismissed. The system refusing the text: Ctrl+C says so, instead of
// leaving an empty clipboard as if it had copied.
TEST(ConfirmationWindow, CtrlCWhileTheClipboardIsHeld) {
  Watchdog watchdog(60);
  app::Application application;
  const struct {
    const char* what;
    DWORD holdMs;
    bool copied;
    bool refused = false;
  } cases[] = {
      {"held for 10 ms", 10, true},
      {"held until the window is dismissed", 20000, false},
      {"the text refused", 0, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ErrorCapture errors;
    std::optional<ImportReplacement> refusal;
    if (c.refused) {
      refusal.emplace(L"user32.dll", "SetClipboardData",
                      reinterpret_cast<void (*)()>(&refuseClipboardData));
      ASSERT_TRUE(refusal->active());
    }
    Event opened, release;
    bool holding = false; // written before `opened` is set, read after
    Thread holder([&] {
      holding = OpenClipboard(nullptr) != FALSE;
      if (holding && EmptyClipboard()) {
        const wchar_t earlier[] = L"earlier";
        if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof earlier)) {
          std::memcpy(GlobalLock(memory), earlier, sizeof earlier);
          GlobalUnlock(memory);
          if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
        }
      }
      opened.set();
      release.wait(c.holdMs);
      if (holding)
        CloseClipboard();
    });
    opened.wait();
    if (!holding) {
      release.set();
      holder.join();
      FAIL() << "the helper thread could not open the clipboard";
    }
    bool stillOpen = false;
    {
      WhenWindowAppears confirmation(L"SheetloomConfirmation", [&](HWND w) {
        setModifierKeys(true, false);
        PostMessageW(GetFocus(), WM_KEYDOWN, 'C', 0);
        pumpPending();
        setModifierKeys(false, false);
        stillOpen = IsWindowVisible(w) != FALSE;
        PostMessageW(w, WM_COMMAND, IDOK, 0);
      });
      app::showConfirmation(L"保存しました。");
      EXPECT_TRUE(confirmation.fired());
    }
    release.set();
    holder.join();
    setModifierKeys(false, false);
    EXPECT_TRUE(stillOpen);
    refusal.reset();
    if (c.copied) {
      EXPECT_TRUE(errors.shown.empty());
      EXPECT_NE(clipboardText().find(L"保存しました。"), std::wstring::npos);
    } else if (c.refused) {
      EXPECT_EQ(errors.shown,
                std::vector<std::wstring>{L"クリップボードにテキストを置くことができません"});
    } else {
      EXPECT_EQ(errors.shown, std::vector<std::wstring>{L"クリップボードを開くことができません"});
      EXPECT_EQ(clipboardText(), L"earlier");
    }
  }
}

TEST(ConfirmationWindow, EscapeAndCloseBoxDismissIt) {
  Watchdog watchdog(30);
  app::Application application;
  for (UINT key : {static_cast<UINT>(VK_ESCAPE), 0u}) {
    WhenWindowAppears confirmation(L"SheetloomConfirmation", [key](HWND w) {
      if (key)
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
      else
        PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    app::showConfirmation(L"一行目\r\n二行目");
    EXPECT_TRUE(confirmation.fired());
    EXPECT_FALSE(FindWindowW(L"SheetloomConfirmation", nullptr));
  }
}

TEST(ConfirmationWindow, ClipboardTextRemovesAmpersands) {
  EXPECT_EQ(app::confirmationClipboardText(L"T", L"M", L"&Yes"),
            L"---------------------------\r\nT\r\n---------------------------\r\nM\r\n"
            L"---------------------------\r\nYes   \r\n---------------------------\r\n");
}

TEST(Application, StartsMaximisedOwnedByTheTaskbarWindowAndEndsWithZero) {
  Watchdog watchdog(30);
  app::Application application;
  ui::TForm1& form = application.start(SW_SHOWMAXIMIZED);
  EXPECT_EQ(tk::windowText(application.window()), L"Sheetloom");
  EXPECT_TRUE(IsWindowVisible(application.window()));
  EXPECT_EQ(GetWindow(form.hwnd(), GW_OWNER), application.window());
  EXPECT_EQ(tk::applicationWindow(), application.window());
  EXPECT_TRUE(IsZoomed(form.hwnd()));
  PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(application.run(), 0);
}

TEST(Application, ShowStatesOtherThanMaximisedOrMinimisedShowNormally) {
  Watchdog watchdog(30);
  for (int show : {SW_SHOWNORMAL, SW_SHOWDEFAULT, SW_SHOW, SW_SHOWMINIMIZED}) {
    app::Application application;
    ui::TForm1& form = application.start(show);
    EXPECT_TRUE(IsWindowVisible(form.hwnd())) << show;
    EXPECT_FALSE(IsZoomed(form.hwnd())) << show;
    EXPECT_FALSE(IsIconic(form.hwnd())) << show;
    EXPECT_FALSE(IsIconic(application.window())) << show;
    PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(application.run(), 0);
  }
}

TEST(Application, StartsMinimisedOnRequest) {
  Watchdog watchdog(30);
  app::Application application;
  ui::TForm1& form = application.start(SW_SHOWMINNOACTIVE);
  EXPECT_TRUE(IsIconic(application.window()));
  // Never shown before the restore: no flash of the form at start.
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  ShowWindow(application.window(), SW_RESTORE);
  EXPECT_FALSE(IsIconic(application.window()));
  EXPECT_TRUE(IsWindowVisible(form.hwnd()));
  EXPECT_FALSE(IsZoomed(form.hwnd()));
  EXPECT_FALSE(IsIconic(form.hwnd()));
  PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(application.run(), 0);
}

BOOL CALLBACK countWindow(HWND, LPARAM lp) {
  ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

int threadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// The program's own ending: closing (Alt+F4, the close button, the taskbar's
// "Close window") only hides Form1 and ends the loop, so that the process can
// end without tearing the windows down one by one; the text is not touched.
// The teardown that only a test reaches destroys every window the
// application made and leaves no application window behind for the next.
TEST(Application, ClosingEndsTheLoopAndLeavesTheWindowsStanding) {
  Watchdog watchdog(30);
  for (bool fromTaskbar : {false, true}) {
    const int windowsBefore = threadWindows();
    HWND formWindow = nullptr, applicationWindow = nullptr;
    {
      app::Application application;
      ui::TForm1& form = application.start(SW_SHOWNORMAL);
      formWindow = form.hwnd();
      applicationWindow = application.window();
      HWND memo = form.controls().hwnd(ui::ControlId::StyleSheet);
      ASSERT_TRUE(memo);
      SetWindowTextW(memo, L"p {}");
      if (fromTaskbar)
        PostMessageW(application.window(), WM_CLOSE, 0, 0);
      else
        PostMessageW(form.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
      EXPECT_EQ(application.run(), 0) << fromTaskbar;
      EXPECT_TRUE(IsWindow(form.hwnd())) << fromTaskbar;
      EXPECT_FALSE(IsWindowVisible(form.hwnd())) << fromTaskbar;
      EXPECT_EQ(tk::windowText(memo), L"p {}") << fromTaskbar;
    }
    EXPECT_FALSE(IsWindow(formWindow)) << fromTaskbar;
    EXPECT_FALSE(IsWindow(applicationWindow)) << fromTaskbar;
    EXPECT_EQ(tk::applicationWindow(), nullptr) << fromTaskbar;
    EXPECT_EQ(threadWindows(), windowsBefore) << fromTaskbar;
  }
}

BOOL CALLBACK findByText(HWND hwnd, LPARAM lp) {
  auto* found = reinterpret_cast<std::pair<const wchar_t*, HWND>*>(lp);
  if (tk::windowText(hwnd) == found->first) {
    found->second = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND childWithText(HWND parent, const wchar_t* text) {
  std::pair<const wchar_t*, HWND> found{text, nullptr};
  EnumChildWindows(parent, findByText, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

BOOL CALLBACK findMultilineEdit(HWND hwnd, LPARAM lp) {
  if (_wcsicmp(className(hwnd).c_str(), L"EDIT") == 0 &&
      (GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_MULTILINE)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND memoOf(HWND form) {
  HWND memo = nullptr;
  EnumChildWindows(form, findMultilineEdit, reinterpret_cast<LPARAM>(&memo));
  return memo;
}

// Form1's save and clear buttons reach the document, and the save confirms
// in the confirmation window.
TEST(Application, FormButtonsSaveWithConfirmationAndClear) {
  Watchdog watchdog(30);
  TemporaryFolder folder;
  app::Application application;
  ui::TForm1& form = application.start(SW_SHOWNORMAL);
  const std::wstring target = folder.file(L"form.css");
  std::wstring offered; // the path the dialog would open on
  bool choose = true;
  form.document().services().chooseFile = [&](HWND, std::wstring& path) {
    offered = path;
    path = target;
    return choose;
  };
  HWND save = childWithText(form.hwnd(), L"ファイルに保存");
  HWND clear = childWithText(form.hwnd(), L"クリア");
  HWND memo = memoOf(form.hwnd());
  ASSERT_TRUE(save);
  ASSERT_TRUE(clear);
  ASSERT_TRUE(memo);
  tk::setWindowText(memo, L"P {\r\n  color: 赤;\r\n}\r\n");
  std::wstring message;
  {
    WhenWindowAppears confirmation(L"SheetloomConfirmation", [&](HWND w) {
      message = tk::windowText(GetWindow(w, GW_CHILD));
      PostMessageW(w, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(save, BM_CLICK, 0, 0);
    EXPECT_TRUE(confirmation.fired());
  }
  EXPECT_EQ(message, L"保存しました。");
  EXPECT_EQ(readFile(target), "P {\r\n  color: \x90\xD4;\r\n}\r\n");
  EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
  SendMessageW(clear, BM_CLICK, 0, 0);
  EXPECT_EQ(tk::windowText(memo), L"");
  choose = false; // the next save, cancelled, offers the saved file
  SendMessageW(save, BM_CLICK, 0, 0);
  EXPECT_EQ(offered, target);
  EXPECT_EQ(readFile(target), "P {\r\n  color: \x90\xD4;\r\n}\r\n");
  PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(application.run(), 0);
}

// The real program, run as a child process.
std::wstring programPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  for (int i = 0; i < 3; ++i)
    path.erase(path.find_last_of(L'\\'));
  return path + L"\\app\\sheetloom.exe";
}

struct Found {
  DWORD process;
  const wchar_t* title;
  HWND hwnd;
};
BOOL CALLBACK findProcessWindow(HWND hwnd, LPARAM lp) {
  auto* found = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == found->process && tk::windowText(hwnd) == found->title) {
    found->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND waitForWindow(DWORD process, const wchar_t* title) {
  for (int i = 0; i < 200; ++i) {
    Found found{process, title, nullptr};
    EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&found));
    if (found.hwnd && IsWindowVisible(found.hwnd))
      return found.hwnd;
    Sleep(50);
  }
  return nullptr;
}

TEST(Program, LaunchedMaximisedAndClosedEndsWithZero) {
  Watchdog watchdog(45);
  std::wstring command = L"\"" + programPath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &child))
      << tk::narrow(command);
  tk::UniqueFile process(child.hProcess), thread(child.hThread);
  HWND form = waitForWindow(child.dwProcessId, L"SHEETLOOM");
  HWND application = waitForWindow(child.dwProcessId, L"Sheetloom");
  ASSERT_TRUE(form);
  ASSERT_TRUE(application);
  EXPECT_TRUE(IsZoomed(form));
  EXPECT_EQ(GetWindow(form, GW_OWNER), application);
  // The system menu's Close, as Alt+F4 sends it: no question, exit code 0.
  PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u);
}

TEST(Program, VersionRecord) {
  const std::wstring path = programPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
  auto value = [&](const wchar_t* key) -> std::wstring {
    void* p = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041103A4\\") + key;
    if (!VerQueryValueW(data.data(), query.c_str(), &p, &length))
      return L"<none>";
    return std::wstring(static_cast<const wchar_t*>(p));
  };
  EXPECT_EQ(value(L"FileDescription"), L"スタイルシートを作成するソフト");
  EXPECT_EQ(value(L"InternalName"), L"SHEETLOOM");
  // The version is set in one place, the project's; both forms of it agree.
  constexpr WORD numbers[] = {SHEETLOOM_VERSION_NUMBERS};
  std::wstring dotted;
  for (WORD n : numbers)
    dotted += (dotted.empty() ? L"" : L".") + std::to_wstring(n);
  EXPECT_EQ(tk::widen(SHEETLOOM_VERSION_TEXT), dotted);
  EXPECT_EQ(value(L"FileVersion"), dotted);
  EXPECT_EQ(value(L"ProductVersion"), dotted);
  for (const wchar_t* empty :
       {L"CompanyName", L"ProductName", L"OriginalFilename", L"LegalTrademarks", L"Comments"})
    EXPECT_EQ(value(empty), L"") << tk::narrow(empty);
  void* p = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &p, &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(static_cast<const WORD*>(p)[0], 0x0411);
  EXPECT_EQ(static_cast<const WORD*>(p)[1], 932);
  VS_FIXEDFILEINFO* fixed = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(numbers[1], numbers[0]));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(numbers[3], numbers[2]));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(numbers[1], numbers[0]));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(numbers[3], numbers[2]));
  // MAINICON: one image, 32 x 32 with 16 colours. The group directory is a
  // 6-byte header (reserved, type, count) and one 14-byte entry per image.
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module);
  HRSRC icon = FindResourceW(module, L"MAINICON", RT_GROUP_ICON);
  ASSERT_TRUE(icon);
  ASSERT_EQ(SizeofResource(module, icon), 6u + 14u);
  const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, icon)));
  ASSERT_TRUE(group);
  EXPECT_EQ(group[4], 1);  // count
  EXPECT_EQ(group[6], 32); // width
  EXPECT_EQ(group[7], 32); // height
  EXPECT_EQ(group[8], 16); // colours
  FreeLibrary(module);
}

} // namespace
