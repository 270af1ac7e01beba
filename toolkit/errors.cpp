#include "toolkit/errors.h"

#include "toolkit/portable/digits.h"
#include "toolkit/text.h"

#include <windows.h>

#include <utility>

namespace tk {
namespace {

void plainMessageBox(std::wstring_view message) {
  std::wstring text(message);
  MessageBoxW(nullptr, text.c_str(), L"Sheetloom", MB_OK | MB_ICONSTOP);
}

ErrorDisplay g_display = plainMessageBox;

} // namespace

ErrorDisplay setErrorDisplay(ErrorDisplay display) noexcept {
  ErrorDisplay old = g_display;
  g_display = display ? display : plainMessageBox;
  return old;
}

std::wstring exceptionMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(std::move(error));
  } catch (const Error& e) {
    std::wstring text = widen(e.what());
    if (e.code() != 0)
      text += L"（エラー " + tk::decimal<wchar_t>(e.code()) + L"）";
    return text;
  } catch (const std::bad_alloc&) {
    return L"メモリが不足しています";
  } catch (...) {
    // Any other exception's text is the library's, in English: not shown.
    return L"不明なエラーが発生しました";
  }
}

void reportCurrentException() noexcept {
  try {
    g_display(exceptionMessage(std::current_exception()));
  } catch (...) {
    // Nothing sensible is left to do; the message loop goes on.
  }
}

} // namespace tk
