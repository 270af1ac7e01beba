#include "ui/stylesheet_document.h"

#include "toolkit/atomic_file.h"
#include "toolkit/errors.h"
#include "toolkit/modal.h"
#include "toolkit/save_dialog.h"
#include "toolkit/text.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace ui {
namespace {

// Characters converted and checked at a time.
constexpr std::size_t kCheckPiece = 32 * 1024;
// ASCII stretches at least this long are copied byte for byte instead of being
// converted and checked by the system; shorter ones between other characters
// go with them, so that a text full of short Japanese words costs no more
// calls than before.
constexpr std::size_t kAsciiStretch = 256;

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

struct CodePage {
  UINT id = CP_ACP;
  std::size_t maxBytesPerUnit = 2;
  // Whether each ASCII character is the one byte of the same value, both
  // ways. True of the ANSI code pages; checked once rather than assumed.
  bool asciiAsIs = false;
};

bool asciiIsItself(UINT codePage) {
  wchar_t wide[128];
  char narrow[128];
  for (int i = 0; i < 128; ++i) {
    wide[i] = static_cast<wchar_t>(i);
    narrow[i] = static_cast<char>(i);
  }
  char converted[128 * 4];
  wchar_t back[128];
  return WideCharToMultiByte(codePage, 0, wide, 128, converted, sizeof converted, nullptr,
                             nullptr) == 128 &&
         std::equal(narrow, narrow + 128, converted) &&
         MultiByteToWideChar(codePage, 0, narrow, 128, back, 128) == 128 &&
         std::equal(wide, wide + 128, back);
}

CodePage ansiCodePage() {
  CodePage page;
  page.id = GetACP();
  CPINFO info{};
  if (!GetCPInfo(page.id, &info))
    throw tk::Error(kUnrepresentable);
  page.maxBytesPerUnit = info.MaxCharSize;
  page.asciiAsIs = asciiIsItself(page.id);
  return page;
}

const CodePage& systemCodePage() {
  static const CodePage page = ansiCodePage(); // the ANSI code page is fixed for the process
  return page;
}

// Copies the ASCII characters at the start of `text` to `out`, four at a time
// where it can, up to the first other character; returns how many it copied.
std::size_t copyAscii(std::wstring_view text, char* out) {
  static_assert(sizeof(wchar_t) == 2, "UTF-16 text");
  std::size_t at = 0;
  for (; at + 4 <= text.size(); at += 4) {
    std::uint64_t four;
    std::memcpy(&four, text.data() + at, sizeof four);
    if (four & 0xFF80FF80FF80FF80u)
      break;
    for (int i = 0; i < 4; ++i)
      out[at + i] = static_cast<char>(four >> (16 * i)); // little-endian: first unit lowest
  }
  for (; at < text.size() && text[at] < 0x80; ++at)
    out[at] = static_cast<char>(text[at]);
  return at;
}

// Where the system's piece starting at `from` ends: before the next long
// ASCII stretch, after at most kCheckPiece characters, never between the two
// halves of a surrogate pair.
std::size_t pieceEnd(std::wstring_view text, std::size_t from, bool stopAtAscii) {
  const std::size_t limit = std::min(text.size(), from + kCheckPiece);
  std::size_t ascii = 0;
  for (std::size_t at = from; stopAtAscii && at < limit; ++at) {
    ascii = text[at] < 0x80 ? ascii + 1 : 0;
    if (ascii == kAsciiStretch)
      return at + 1 - kAsciiStretch;
  }
  if (limit < text.size() && IS_HIGH_SURROGATE(text[limit - 1]))
    return limit - 1;
  return limit;
}

// The text in the code page, in a buffer that is not filled in advance: only
// the bytes written are ever touched.
struct Converted {
  std::unique_ptr<char[]> bytes;
  std::size_t size = 0;
  std::string_view view() const { return {bytes.get(), size}; }
};

Converted convert(std::wstring_view text) {
  const CodePage& page = systemCodePage();
  if (text.size() > INT_MAX / page.maxBytesPerUnit)
    throw std::length_error("text too long");
  // Every other piece is converted straight into the result, then converted
  // back and compared: a character the code page lacks comes back as "?" or a
  // look-alike and is refused rather than written. This is faster than asking
  // the conversion to report default characters and works for every code
  // page (UTF-8 included: an unpaired surrogate comes back as U+FFFD).
  Converted out;
  out.bytes.reset(new char[std::max<std::size_t>(1, text.size() * page.maxBytesPerUnit)]);
  std::wstring back;
  std::size_t in = 0;
  while (in < text.size()) {
    char* const into = out.bytes.get() + out.size;
    // Copied ahead; when the stretch is too short to keep, the system's
    // conversion below writes over it.
    const std::size_t ascii = page.asciiAsIs ? copyAscii(text.substr(in), into) : 0;
    if (ascii >= kAsciiStretch || (ascii > 0 && in + ascii == text.size())) {
      in += ascii;
      out.size += ascii;
      continue;
    }
    const std::size_t piece = pieceEnd(text, in, page.asciiAsIs) - in;
    const int pieceLength = static_cast<int>(piece);
    const int written = WideCharToMultiByte(
        page.id, 0, text.data() + in, pieceLength, into,
        static_cast<int>(text.size() * page.maxBytesPerUnit - out.size), nullptr, nullptr);
    if (written <= 0)
      throw tk::Error(kUnrepresentable);
    if (back.size() < piece)
      back.resize(std::min(kCheckPiece, text.size()));
    const int backLength =
        MultiByteToWideChar(page.id, 0, into, written, back.data(), static_cast<int>(back.size()));
    if (backLength != pieceLength ||
        std::wstring_view(back.data(), piece) != text.substr(in, piece))
      throw tk::Error(kUnrepresentable);
    in += piece;
    out.size += static_cast<std::size_t>(written);
  }
  return out;
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
  return std::string(convert(text).view());
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

  Converted bytes;
  {
    const MemoText text(memo_);
    bytes = convert(text.text());
  } // the memo's buffer is given back before anything can send it a message
  try {
    services_.writeFile(path, bytes.view());
  } catch (const tk::FileError& error) {
    if (error.kind() == tk::FileError::Kind::write)
      throw tk::Error(kWriteError);
    throw tk::Error(cannotCreate(path));
  }
  services_.confirm(tk::widen(kSaved));
}

} // namespace ui
