#include "ui/stylesheet_document.h"

#include "toolkit/atomic_file.h"
#include "toolkit/common_dialogs.h"
#include "toolkit/errors.h"
#include "toolkit/message_loop.h"
#include "toolkit/portable/digits.h"
#include "toolkit/text.h"
#include "ui/portable/code_page_text.h"
#include "ui/system_code_page.h"

#include <optional>
#include <string>
#include <utility>

namespace ui {
namespace {

constexpr const char* kFilter = "カスケーディングスタイルシート(*.css)|*.css";
constexpr const char* kSaved = "保存しました。";
constexpr const char* kCannotCreate = "ファイル %s を作成できません";
constexpr const char* kWriteError = "ストリームへの書き込みエラー";
constexpr const char* kUnrepresentable =
    "はこの文字コードでは保存できないため、ファイルを保存できません";

bool chooseWithSaveDialog(HWND owner, std::wstring& path) {
  return tk::runSaveDialog(owner, tk::widen(kFilter), path);
}

void confirmWithMessageBox(std::wstring_view message) {
  const std::wstring text(message);
  MessageBoxW(tk::dialogOwner(), text.c_str(), L"Sheetloom", MB_OK);
}

std::string cannotCreate(const std::wstring& path) {
  std::string message = kCannotCreate;
  message.replace(message.find("%s"), 2, tk::narrow(path));
  return message;
}

// The refusal, naming the first character the code page cannot store:
// "12 行 5 文字目の「€」(U+20AC) はこの文字コードでは…". Half a surrogate pair
// cannot be shown and is named by its code alone.
std::string unrepresentable(std::wstring_view text, const TextPlace& place) {
  const wchar_t first = text[place.offset];
  const bool shown = place.length == 2 || first < 0xD800 || first > 0xDFFF;
  const std::string code = "U+" + tk::hexDigits(place.codePoint, 4, true);
  return tk::decimal(place.line) + " 行 " + tk::decimal(place.column) + " 文字目の" +
         (shown ? "「" + tk::narrow(text.substr(place.offset, place.length)) + "」" : "文字 ") +
         "(" + code + ") " + kUnrepresentable;
}

// The text in the ANSI code page; where a character cannot be stored, nothing
// and that character's place.
std::optional<std::string> convert(std::wstring_view text, TextPlace& refused) {
  CodePageText converted = toCodePage(text, ansiCodePage());
  if (!converted.bytes)
    refused = placeOf(text, converted.refusedAt);
  return std::move(converted.bytes);
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

StylesheetDocument::StylesheetDocument(const tk::FileSystem& files)
    : files_(files), services_{chooseWithSaveDialog, confirmWithMessageBox} {}

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

  std::optional<std::string> bytes;
  TextPlace refused;
  std::string refusal;
  {
    const MemoText text(memo_);
    bytes = convert(text.text(), refused);
    if (!bytes)
      refusal = unrepresentable(text.text(), refused);
  } // the memo's buffer is given back before anything can send it a message
  if (!bytes) {
    // The memo shows the character once the message is closed: the error
    // display gives the focus back to the memo, selection and all.
    SetFocus(memo_);
    SendMessageW(memo_, EM_SETSEL, refused.offset,
                 static_cast<LPARAM>(refused.offset) + static_cast<LPARAM>(refused.length));
    SendMessageW(memo_, EM_SCROLLCARET, 0, 0);
    throw tk::Error(refusal);
  }
  try {
    tk::replaceFileContent(path, *bytes, files_);
  } catch (const tk::FileError& error) {
    if (error.kind() == tk::FileError::Kind::write)
      throw tk::Error(kWriteError);
    throw tk::Error(cannotCreate(path));
  }
  services_.confirm(tk::widen(kSaved));
}

} // namespace ui
