#include "toolkit/text.h"

#include "toolkit/errors.h"

#include <climits>

namespace tk {

std::wstring widen(std::string_view utf8) {
  if (utf8.empty())
    return {};
  if (utf8.size() > INT_MAX)
    throw tk::Error(tk::kTextTooLong);
  const int len = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), len, nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), len, out.data(), n);
  return out;
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty())
    return {};
  if (utf16.size() > INT_MAX)
    throw tk::Error(tk::kTextTooLong);
  const int len = static_cast<int>(utf16.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring windowText(HWND hwnd) {
  const LRESULT len = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (len <= 0)
    return {};
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const LRESULT got =
      SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got < 0 ? 0 : got));
  return text;
}

void setWindowText(HWND hwnd, std::wstring_view text) {
  std::wstring copy(text);
  SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

} // namespace tk
