#include "ui/stylesheet_document.h"

#include "toolkit/atomic_file.h"
#include "toolkit/errors.h"
#include "toolkit/modal.h"
#include "toolkit/save_dialog.h"
#include "toolkit/text.h"

#include <climits>

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

} // namespace

std::string stylesheetBytes(std::wstring_view text) {
  if (text.empty())
    return {};
  if (text.size() > INT_MAX)
    throw std::length_error("text too long");
  const int length = static_cast<int>(text.size());
  const UINT codePage = GetACP();
  // Under a UTF-8 ANSI code page every character has bytes, but the
  // default-character arguments must then be null.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr,
                                       usedDefaultOut);
  if (size <= 0 || usedDefault)
    throw tk::Error(kUnrepresentable);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), size, nullptr,
                      usedDefaultOut);
  return bytes;
}

StylesheetDocument::StylesheetDocument()
    : services_{chooseWithSaveDialog, confirmWithMessageBox, writeAtomically} {}

void StylesheetDocument::attach(HWND memo) {
  memo_ = memo;
}

void StylesheetDocument::clear() {
  if (memo_)
    SetWindowTextW(memo_, L"");
}

void StylesheetDocument::save(HWND owner) {
  std::wstring path = path_;
  if (!services_.chooseFile(owner, path))
    return;
  // Remembered even if the write below fails: the next save offers it again.
  path_ = path;

  const std::string bytes = stylesheetBytes(memo_ ? tk::windowText(memo_) : std::wstring());
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
