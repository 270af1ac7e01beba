#include "ui/stylesheet_document.h"

#include "toolkit/atomic_file.h"
#include "toolkit/errors.h"
#include "toolkit/modal.h"
#include "toolkit/save_dialog.h"
#include "toolkit/text.h"
#include "ui/portable/code_page_text.h"
#include "ui/system_code_page.h"

#include <optional>
#include <utility>

namespace ui {
namespace {

constexpr const char* kFilter = "カスケーディングスタイルシート(*.css)|*.css";
constexpr const char* kSaved = "保存しました。";
constexpr const char* kCannotCreate = "ファイル %s を作成できません";
constexpr const char* kWriteError = "ストリームへの書き込みエラー";
constexpr const char* kUnrepresentable =
    "この文字コードでは保存できない文字が含まれているため、ファイルを保存できません";

bool chooseWithSaveDialog(HWND owner, std::wstring& path) {
  return tk::runSaveDialog(owner, tk::widen(kFilter), path);
}

void confirmWithMessageBox(std::wstring_view message) {
  const std::wstring text(message);
  MessageBoxW(tk::dialogOwner(), text.c_str(), L"Sheetloom", MB_OK);
}

void writeAtomically(const std::wstring& path, std::string_view bytes) {
  tk::replaceFileContent(path, bytes);
}

std::string cannotCreate(const std::wstring& path) {
  std::string message = kCannotCreate;
  message.replace(message.find("%s"), 2, tk::narrow(path));
  return message;
}

// The text in the ANSI code page, or the user's message when a character
// cannot be stored.
std::string convert(std::wstring_view text) {
  std::optional<std::string> bytes = toCodePage(text, ansiCodePage());
  if (!bytes)
    throw tk::Error(kUnrepresentable);
  return std::move(*bytes);
}

// The memo's text without a copy: a multi-line edit lends its own buffer
// (EM_GETHANDLE; always UTF-16 with the version 6 controls), which stays
// locked, and the edit must receive no message, while this lives. When the
// buffer is not plainly the text (no handle, too small, not terminated where
// the text's length says), the text is copied out instead.
class MemoText {
public:
  explicit MemoText(HWND edit) {
    if (!edit)
      return;
    const auto length = static_cast<std::size_t>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    handle_ = reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0));
    if (const auto* text = handle_ ? static_cast<const wchar_t*>(LocalLock(handle_)) : nullptr) {
      if (LocalSize(handle_) / sizeof(wchar_t) > length && text[length] == L'\0') {
        text_ = std::wstring_view(text, length);
        return;
      }
      LocalUnlock(handle_);
    }
    handle_ = nullptr;
    copy_ = tk::windowText(edit);
    text_ = copy_;
  }
  MemoText(const MemoText&) = delete;
  MemoText& operator=(const MemoText&) = delete;
  ~MemoText() {
    if (handle_)
      LocalUnlock(handle_);
  }
  std::wstring_view text() const noexcept { return text_; }

private:
  HLOCAL handle_ = nullptr; // the edit's own buffer, locked
  std::wstring copy_;
  std::wstring_view text_;
};

} // namespace

std::string stylesheetBytes(std::wstring_view text) {
  return convert(text);
}

StylesheetDocument::StylesheetDocument()
    : services_{chooseWithSaveDialog, confirmWithMessageBox, writeAtomically} {}

void StylesheetDocument::attach(HWND memo) {
  memo_ = memo;
}

// One undoable edit, not WM_SETTEXT (which also discards the edit's undo):
// Ctrl+Z right after it brings the whole text back.
void StylesheetDocument::clear() {
  if (!memo_)
    return;
  SendMessageW(memo_, EM_SETSEL, 0, -1);
  SendMessageW(memo_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

void StylesheetDocument::save(HWND owner) {
  std::wstring path = path_;
  if (!services_.chooseFile(owner, path))
    return;
  // Remembered even if the write below fails: the next save offers it again.
  path_ = path;

  std::string bytes;
  {
    const MemoText text(memo_);
    bytes = convert(text.text());
  } // the memo's buffer is given back before anything can send it a message
  try {
    services_.writeFile(path, bytes);
  } catch (const tk::FileError& error) {
    if (error.kind() == tk::FileError::Kind::write)
      throw tk::Error(kWriteError);
    throw tk::Error(cannotCreate(path));
  }
  services_.confirm(tk::widen(kSaved));
}

} // namespace ui
