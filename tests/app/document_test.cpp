// The save and clear actions on a plain multiline EDIT, with the dialog and
// the confirmation replaced by seams, and once with the real save dialog.
#include "tests/support/modal_windows.h"
#include "tests/support/temporary_files.h"
#include "tests/support/window_helpers.h"

#include "app/application.h"
#include "toolkit/atomic_file.h"
#include "toolkit/common_dialogs.h"
#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/message_loop.h"
#include "toolkit/placement.h"
#include "toolkit/text.h"
#include "toolkit/window.h"
#include "ui/stylesheet_document.h"

#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace {

using namespace sheetloom_test;

constexpr int kSaveCommand = 100;

// A top-level window with the memo; its save command runs inside the
// window's dispatch boundary, as Button2Click does.
class MemoWindow : public HostWindow {
public:
  explicit MemoWindow(const tk::FileSystem& files = tk::win32FileSystem())
      : HostWindow(L"SheetloomDocumentTestHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                   300),
        document(files) {
    memo_.reset(CreateWindowExW(0, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                                0, 0, 380, 250, hwnd(), nullptr, nullptr, nullptr));
    SendMessageW(memo_.get(), EM_SETLIMITTEXT, 0, 0);
    document.attach(memo_.get());
  }
  ~MemoWindow() override {
    memo_.release(); // destroyed with its parent
    destroy();
  }
  HWND memo() const { return memo_.get(); }
  void setText(const std::wstring& text) { tk::setWindowText(memo_.get(), text); }
  void clickSave() { SendMessageW(hwnd(), WM_COMMAND, kSaveCommand, 0); }

  ui::StylesheetDocument document;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND && LOWORD(wp) == kSaveCommand) {
      document.save(hwnd());
      return 0;
    }
    return defaultProc(msg, wp, lp);
  }

private:
  tk::UniqueHwnd memo_;
};

// The file system on a disk with `room` bytes left: a longer write writes
// what fits and fails, as on a full disk.
class SmallDisk final : public tk::FileSystem {
public:
  std::size_t room = SIZE_MAX;
  void write(HANDLE file, std::string_view bytes) const override {
    FileSystem::write(file, bytes.substr(0, room));
    if (bytes.size() > room)
      throw tk::FileError(tk::FileError::Kind::write, ERROR_DISK_FULL);
  }
};

// Records what the user would have seen: offered paths, confirmations, errors.
class DocumentTest : public ::testing::Test {
protected:
  void SetUp() override {
    SaveServices& services = host_.document.services();
    services.chooseFile = [this](HWND, std::wstring& path) {
      offered_.push_back(path);
      if (!choice_)
        return false;
      path = *choice_;
      return true;
    };
    services.confirm = [this](std::wstring_view message) { confirmed_.emplace_back(message); };
  }
  using SaveServices = ui::SaveServices;

  ErrorCapture errorCapture_;
  std::vector<std::wstring>& errors_ = errorCapture_.shown;
  TemporaryFolder folder_;
  SmallDisk disk_;
  MemoWindow host_{disk_};
  std::optional<std::wstring> choice_;
  std::vector<std::wstring> offered_, confirmed_;
};

std::wstring cannotCreate(const std::wstring& path) {
  return L"ファイル " + path + L" を作成できません";
}

TEST_F(DocumentTest, EmptyMemoSavesZeroByteFileAndConfirms) {
  choice_ = folder_.file(L"empty.css");
  host_.clickSave();
  EXPECT_TRUE(fileExists(*choice_));
  EXPECT_EQ(readFile(*choice_), "");
  EXPECT_EQ(confirmed_, std::vector<std::wstring>{L"保存しました。"});
  EXPECT_TRUE(errors_.empty());
}

TEST_F(DocumentTest, JapaneseRulesSaveAsExactShiftJisBytes) {
  host_.setText(L"BODY {\r\n  font-family: ＭＳ Ｐゴシック;\r\n}\r\n/* 見出し：表ソ */");
  choice_ = folder_.file(L"rules.css");
  host_.clickSave();
  const unsigned char expected[] = {
      0x42, 0x4F, 0x44, 0x59, 0x20, 0x7B, 0x0D, 0x0A, 0x20, 0x20, 0x66, 0x6F, 0x6E,
      0x74, 0x2D, 0x66, 0x61, 0x6D, 0x69, 0x6C, 0x79, 0x3A, 0x20, 0x82, 0x6C, 0x82,
      0x72, 0x20, 0x82, 0x6F, 0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4E, 0x3B,
      0x0D, 0x0A, 0x7D, 0x0D, 0x0A, 0x2F, 0x2A, 0x20, 0x8C, 0xA9, 0x8F, 0x6F, 0x82,
      0xB5, 0x81, 0x46, 0x95, 0x5C, 0x83, 0x5C, 0x20, 0x2A, 0x2F};
  EXPECT_EQ(readFile(*choice_),
            std::string(reinterpret_cast<const char*>(expected), sizeof expected));
  EXPECT_EQ(confirmed_.size(), 1u);
}

// A long text the user then edits: the file holds the memo's text as it is
// at each save, read from the edit control's own buffer.
TEST_F(DocumentTest, LongEditedTextSavesAsTheMemoHoldsIt) {
  std::wstring text;
  std::string bytes; // in Shift_JIS
  for (int i = 0; i < 3000; ++i) {
    text += i % 5 == 0 ? L"/* 見出し */\r\nH1 {\r\n}\r\n" : L"P {\r\n  color: #000000;\r\n}\r\n";
    bytes += i % 5 == 0 ? "/* \x8C\xA9\x8F\x6F\x82\xB5 */\r\nH1 {\r\n}\r\n"
                        : "P {\r\n  color: #000000;\r\n}\r\n";
  }
  host_.setText(text);
  choice_ = folder_.file(L"long.css");
  host_.clickSave();
  EXPECT_EQ(readFile(*choice_), bytes);
  SendMessageW(host_.memo(), EM_SETSEL, 10, 20);
  SendMessageW(host_.memo(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"表"));
  text.replace(10, 10, L"表");
  bytes.replace(13, 10, "\x95\x5C"); // the ten ASCII units after the three Japanese ones
  host_.clickSave();
  EXPECT_EQ(readFile(*choice_), bytes);
  EXPECT_EQ(tk::windowText(host_.memo()), text) << "the memo is left as it was";
  EXPECT_EQ(confirmed_.size(), 2u);
}

TEST_F(DocumentTest, ExistingFileIsReplacedAndSecondSaveOffersFirstPath) {
  choice_ = folder_.file(L"a.css");
  writeFile(*choice_, "an older and much longer content that must disappear entirely");
  host_.setText(L"P {\r\n}\r\n");
  host_.clickSave();
  host_.setText(L"A {\r\n}\r\n");
  host_.clickSave();
  EXPECT_EQ(offered_, (std::vector<std::wstring>{L"", *choice_}));
  EXPECT_EQ(readFile(*choice_), "A {\r\n}\r\n");
  EXPECT_EQ(folder_.files(), std::vector<std::wstring>{L"a.css"});
}

TEST_F(DocumentTest, CancellingWritesAndShowsNothingAndKeepsTheLastPath) {
  choice_ = folder_.file(L"kept.css");
  host_.clickSave();
  choice_.reset();
  host_.setText(L"X {}");
  host_.clickSave();
  EXPECT_EQ(readFile(folder_.file(L"kept.css")), "");
  EXPECT_EQ(confirmed_.size(), 1u);
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(offered_, (std::vector<std::wstring>{L"", folder_.file(L"kept.css")}));
  host_.clickSave();
  EXPECT_EQ(offered_.back(), folder_.file(L"kept.css")) << "still offered after the cancel";
}

// Every failed save over an existing file: the user's message, no
// confirmation, the old file as it was with nothing left beside it, the memo's
// text unchanged, and the path still offered next time. A character the code
// page cannot store is named with its line and column, and the memo has the
// focus with that character selected and scrolled into view.
TEST_F(DocumentTest, FailedSavesKeepTheOldFileAndTheMemo) {
  const auto unrepresentable = [](const wchar_t* where) {
    return std::wstring(where) + L" はこの文字コードでは保存できないため、ファイルを保存できません";
  };
  std::wstring longSheet;
  for (int i = 0; i < 300; ++i)
    longSheet += L"P {\r\n  margin: 1px; /* 〜−—‖¢£¬ */\r\n}\r\n";
  const std::wstring writeError = L"ストリームへの書き込みエラー";
  const struct Case {
    const char* what;
    std::wstring text;
    // Makes the save fail; what it returns stays open during the save.
    std::function<tk::UniqueFile(const std::wstring& path)> prepare;
    std::size_t diskRoom;                   // the write fails beyond, as on a full disk
    std::optional<std::wstring> error;      // none: the create error with the path
    DWORD refusedAt = 0, refusedLength = 0; // the memo's selection afterwards
  } cases[] = {
      {"read-only target", L"NEW",
       [](const std::wstring& path) {
         SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
         return tk::UniqueFile();
       },
       SIZE_MAX, std::nullopt},
      {"target held open without sharing", L"NEW",
       [](const std::wstring& path) {
         return tk::UniqueFile(
             CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
       },
       SIZE_MAX, std::nullopt},
      {"disk full part-way", L"BODY {\r\n}\r\n", nullptr, 3, writeError},
      {"disk full at once", L"BODY {\r\n}\r\n", nullptr, 0, writeError},
      {"emoji", L"A { content: \"\U0001F600\"; }", nullptr, SIZE_MAX,
       unrepresentable(L"1 行 15 文字目の「\U0001F600」(U+1F600)"), 14, 2},
      {"euro sign", L"P { content: \"€\"; }", nullptr, SIZE_MAX,
       unrepresentable(L"1 行 15 文字目の「€」(U+20AC)"), 14, 1},
      {"yen sign", L"X { content: \"\u00A5\"; }", nullptr, SIZE_MAX,
       unrepresentable(L"1 行 15 文字目の「\u00A5」(U+00A5)"), 14, 1},
      {"lone surrogate", L"表\xD800表", nullptr, SIZE_MAX,
       unrepresentable(L"1 行 2 文字目の文字 (U+D800)"), 1, 1},
      {"the first of two, after the seven that are stored",
       L"P {\r\n  margin: 1px;\r\n}\r\n/* 10〜20 − ¢ */\r\nA { content: \"é€\"; }", nullptr,
       SIZE_MAX, unrepresentable(L"5 行 15 文字目の「é」(U+00E9)"), 55, 1},
      {"far down a long sheet", longSheet + L"ß", nullptr, SIZE_MAX,
       unrepresentable(L"901 行 1 文字目の「ß」(U+00DF)"), static_cast<DWORD>(longSheet.size()), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TemporaryFolder folder;
    choice_ = folder.file(L"old.css");
    writeFile(*choice_, "old content");
    host_.setText(c.text);
    errors_.clear();
    disk_.room = c.diskRoom;
    {
      const tk::UniqueFile held = c.prepare ? c.prepare(*choice_) : tk::UniqueFile();
      host_.clickSave();
    }
    EXPECT_EQ(errors_, std::vector<std::wstring>{c.error ? *c.error : cannotCreate(*choice_)});
    EXPECT_TRUE(confirmed_.empty());
    EXPECT_EQ(readFile(*choice_), "old content");
    EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"old.css"});
    EXPECT_EQ(tk::windowText(host_.memo()), c.text);
    if (c.refusedLength) {
      DWORD start = 0, end = 0;
      SendMessageW(host_.memo(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      EXPECT_EQ(start, c.refusedAt);
      EXPECT_EQ(end, c.refusedAt + c.refusedLength);
      EXPECT_EQ(GetFocus(), host_.memo());
      // In view: the character's top left corner lies in the memo's client area.
      const LRESULT at = SendMessageW(host_.memo(), EM_POSFROMCHAR, start, 0);
      RECT client{};
      GetClientRect(host_.memo(), &client);
      const POINT corner{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
      EXPECT_TRUE(at != -1 && PtInRect(&client, corner)) << corner.x << ", " << corner.y;
      SendMessageW(host_.memo(), EM_SETSEL, 0, 0);
      SendMessageW(host_.memo(), EM_SCROLLCARET, 0, 0);
    }
    // The next save, cancelled, offers the path that failed.
    const std::wstring failed = *choice_;
    choice_.reset();
    host_.clickSave();
    EXPECT_EQ(offered_.back(), failed);
  }
}

TEST_F(DocumentTest, UncreatableTargetsGiveTheCreateError) {
  const std::wstring targets[] = {
      folder_.file(L"missing\\a.css"), // folder does not exist
      folder_.path(),                  // a folder, not a file
  };
  for (const std::wstring& target : targets) {
    errors_.clear();
    choice_ = target;
    host_.setText(L"BODY {}");
    host_.clickSave();
    EXPECT_EQ(errors_, std::vector<std::wstring>{cannotCreate(target)});
    EXPECT_EQ(tk::windowText(host_.memo()), L"BODY {}");
  }
  EXPECT_TRUE(confirmed_.empty());
  EXPECT_TRUE(folder_.files().empty());
}

TEST_F(DocumentTest, ClearEmptiesTheMemoOnly) {
  choice_ = folder_.file(L"c.css");
  host_.setText(L"BODY {}");
  host_.clickSave();
  host_.document.clear();
  EXPECT_EQ(tk::windowText(host_.memo()), L"");
  EXPECT_EQ(readFile(*choice_), "BODY {}");
  const std::wstring saved = *choice_;
  choice_.reset();
  host_.clickSave();
  EXPECT_EQ(offered_.back(), saved) << "the next save still offers the file";
}

// The same failure as the user sees it: the stop box of the error display,
// the message with the path and a final ".", and the memo untouched.
// The real error box, with the period the error display adds; once it is
// closed, a refused character is selected in the memo, which has the focus.
TEST(SaveErrorBox, ReadOnlyTargetShowsTheMessageWithAPeriod) {
  Watchdog watchdog(30);
  app::Application application;
  TemporaryFolder folder;
  const std::wstring target = folder.file(L"読み取り専用.css");
  writeFile(target, "old");
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  const struct {
    std::wstring text, message;
    DWORD selectedFrom, selectedTo;
  } cases[] = {
      {L"BODY {\r\n}\r\n", L"ファイル " + target + L" を作成できません.", 0, 0},
      {L"BODY {\r\n  content: \"€\";\r\n}\r\n",
       L"2 行 13 文字目の「€」(U+20AC) "
       L"はこの文字コードでは保存できないため、ファイルを保存できません.",
       20, 21},
  };
  for (const auto& c : cases) {
    MemoWindow host;
    host.document.services().chooseFile = [&](HWND, std::wstring& path) {
      path = target;
      return true;
    };
    host.setText(c.text);
    std::wstring caption, text;
    {
      WhenWindowAppears box(L"#32770", [&](HWND b) {
        caption = tk::windowText(b);
        text = messageBoxText(b);
        PostMessageW(b, WM_COMMAND, IDOK, 0);
      });
      host.clickSave();
      EXPECT_TRUE(box.fired());
    }
    EXPECT_EQ(caption, L"Sheetloom");
    EXPECT_EQ(text, c.message);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(tk::windowText(host.memo()), c.text);
    EXPECT_TRUE(IsWindowEnabled(host.hwnd()));
    if (c.selectedTo) {
      DWORD start = 0, end = 0;
      SendMessageW(host.memo(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      EXPECT_EQ(start, c.selectedFrom);
      EXPECT_EQ(end, c.selectedTo);
      EXPECT_EQ(GetFocus(), host.memo());
    }
  }
}

TEST(SaveDialogParameters, FilterList) {
  EXPECT_EQ(tk::dialogFilterList(L"カスケーディングスタイルシート(*.css)|*.css"),
            std::wstring(L"カスケーディングスタイルシート(*.css)\0*.css\0", 29));
}

// The real dialog: check what it offers, type a name without an extension and
// press OK; the file is saved under exactly that name, also as paths of 300
// and 259 characters (the temporary file's path is longer still). Wine's own
// dialog overruns its stack on a typed path longer than 260 characters, so
// there the row of 300 is left out; Windows' dialog returns it.
TEST(RealSaveDialog, TypedNameWithoutExtensionIsSavedAsIs) {
  Watchdog watchdog(30);
  TemporaryFolder folder;
  MemoWindow host;
  std::vector<std::wstring> confirmed;
  host.document.services().confirm = [&](std::wstring_view m) { confirmed.emplace_back(m); };
  host.setText(L"BODY {\r\n}\r\n");
  std::vector<std::wstring> deep; // nested folders, removed at the end
  std::wstring longFolder = folder.path();
  while (longFolder.size() < 200) {
    longFolder += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + deep.size()));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + longFolder).c_str(), nullptr));
    deep.push_back(longFolder);
  }
  const std::wstring target = folder.file(L"plain");
  std::wstring offered;
  std::wstring expectedOffer; // nothing at first, then the name saved before
  const auto longName = [&](std::size_t length) {
    return L"長い道" + std::wstring(length - longFolder.size() - 8, L'x') + L".css";
  };
  std::vector<std::wstring> typedPaths;
  if (!runningUnderWine())
    typedPaths.push_back(longFolder + L"\\" + longName(300));
  typedPaths.push_back(longFolder + L"\\" + longName(259));
  typedPaths.push_back(target);
  for (const std::wstring& typed : typedPaths) {
    SCOPED_TRACE(typed.size());
    std::wstring filterShown;
    RECT frame{};
    POINT expectedAt{};
    bool readOnlyBoxShown = true, resizable = false;
    {
      WhenWindowAppears dialog(L"#32770", [&](HWND box) {
        GetWindowRect(box, &frame);
        HWND readOnly = GetDlgItem(box, chx1);
        readOnlyBoxShown = readOnly && IsWindowVisible(readOnly);
        resizable = (GetWindowLongPtrW(box, GWL_STYLE) & WS_THICKFRAME) != 0;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromWindow(host.hwnd(), MONITOR_DEFAULTTONEAREST), &info);
        // Centred across, a third of the free height down.
        expectedAt =
            tk::centredIn(info.rcMonitor, SIZE{frame.right - frame.left, frame.bottom - frame.top},
                          tk::Centring{3, false});
        filterShown = tk::windowText(GetDlgItem(box, cmb1));
        HWND name = GetDlgItem(box, cmb13);
        if (!name)
          name = GetDlgItem(box, edt1);
        offered = tk::windowText(name);
        tk::setWindowText(name, typed);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      });
      host.clickSave();
      EXPECT_TRUE(dialog.fired());
    }
    EXPECT_EQ(offered, expectedOffer);
    expectedOffer = typed.substr(typed.rfind(L'\\') + 1);
    EXPECT_EQ(filterShown, L"カスケーディングスタイルシート(*.css)");
    EXPECT_FALSE(readOnlyBoxShown);
    EXPECT_TRUE(resizable);
    EXPECT_EQ(frame.left, expectedAt.x);
    EXPECT_EQ(frame.top, expectedAt.y);
    EXPECT_EQ(readFile(L"\\\\?\\" + typed), "BODY {\r\n}\r\n");
    EXPECT_EQ(confirmed.back(), L"保存しました。");
    EXPECT_TRUE(IsWindowEnabled(host.hwnd()));
  }
  EXPECT_EQ(confirmed.size(), typedPaths.size());
  // The dialog made the chosen folder the current one, which holds it open.
  SetCurrentDirectoryW(folder.path().c_str());
  for (const std::wstring& typed : typedPaths)
    if (typed != target)
      DeleteFileW((L"\\\\?\\" + typed).c_str());
  for (auto level = deep.rbegin(); level != deep.rend(); ++level)
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + *level).c_str())) << "only the saved file was there";
  EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"plain"});

  // The second run opens on that file (its folder, its name) and replaces it
  // without asking; a third, cancelled, writes nothing.
  host.setText(L"changed");
  {
    WhenWindowAppears dialog(L"#32770", [&](HWND box) {
      HWND name = GetDlgItem(box, cmb13);
      offered = tk::windowText(name ? name : GetDlgItem(box, edt1));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    host.clickSave();
    EXPECT_TRUE(dialog.fired());
  }
  EXPECT_EQ(offered, L"plain");
  EXPECT_EQ(readFile(target), "changed");
  host.setText(L"not saved");
  {
    WhenWindowAppears dialog(L"#32770",
                             [&](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    host.clickSave();
    EXPECT_TRUE(dialog.fired());
  }
  EXPECT_EQ(readFile(target), "changed");
  EXPECT_EQ(confirmed.size(), 3u);
  EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"plain"});
}

} // namespace
