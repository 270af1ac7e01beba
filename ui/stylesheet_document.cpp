#include "ui/stylesheet_document.h"

#include "toolkit/atomic_file.h"
#include "toolkit/errors.h"
#include "toolkit/modal.h"
#include "toolkit/save_dialog.h"
#include "toolkit/text.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace ui {
namespace {

// Characters converted and checked at a time.
constexpr std::size_t kCheckPiece = 32 * 1024;

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
  const UINT codePage = GetACP();
  CPINFO info{};
  if (!GetCPInfo(codePage, &info))
    throw tk::Error(kUnrepresentable);
  const std::size_t maxBytesPerUnit = info.MaxCharSize;
  if (text.size() > INT_MAX / maxBytesPerUnit)
    throw std::length_error("text too long");
  // One conversion straight into a buffer large enough for any text, then
  // each piece converted back and compared: a character the code page lacks
  // comes back as "?" or a look-alike and is refused rather than written.
  // This is faster than asking the conversion to report default characters,
  // works for every code page (UTF-8 included: an unpaired surrogate comes
  // back as U+FFFD), and pieces keep the check's buffer small. A piece never
  // ends between the two halves of a surrogate pair.
  std::string bytes(text.size() * maxBytesPerUnit, '\0');
  std::wstring back(kCheckPiece, L'\0');
  std::size_t in = 0, out = 0;
  while (in < text.size()) {
    std::size_t piece = std::min(kCheckPiece, text.size() - in);
    if (in + piece < text.size() && IS_HIGH_SURROGATE(text[in + piece - 1]))
      --piece;
    const int pieceLength = static_cast<int>(piece);
    const int written =
        WideCharToMultiByte(codePage, 0, text.data() + in, pieceLength, bytes.data() + out,
                            static_cast<int>(bytes.size() - out), nullptr, nullptr);
    if (written <= 0)
      throw tk::Error(kUnrepresentable);
    const int backLength = MultiByteToWideChar(codePage, 0, bytes.data() + out, written,
                                               back.data(), static_cast<int>(back.size()));
    if (backLength != pieceLength ||
        std::wstring_view(back.data(), piece) != text.substr(in, piece))
      throw tk::Error(kUnrepresentable);
    in += piece;
    out += static_cast<std::size_t>(written);
  }
  bytes.resize(out);
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
