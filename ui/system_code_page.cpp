#include "ui/system_code_page.h"

#include "toolkit/errors.h"

#include <climits>

namespace ui {
namespace {

// A count for the system's conversions, which take int.
int checkedCount(std::size_t count) {
  if (count > INT_MAX)
    throw tk::Error(tk::kTextTooLong);
  return static_cast<int>(count);
}

// Appends to `out` what `convert(into, capacity)` writes, first into room for
// `guess` elements and, when that is too small, into as much as
// `convert(nullptr, 0)` says it needs. The conversion is only ever given the
// room that `out` really has past its old end.
template <class String, class Convert>
bool appendConverted(String& out, std::size_t guess, Convert convert) {
  const std::size_t start = out.size();
  out.resize(start + guess);
  int written = convert(out.data() + start, checkedCount(out.size() - start));
  if (written <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    const int needed = convert(nullptr, 0);
    if (needed > 0) {
      out.resize(start + static_cast<std::size_t>(needed));
      written = convert(out.data() + start, needed);
    }
  }
  out.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
  return written > 0;
}

} // namespace

SystemCodePage::SystemCodePage(UINT id) : id_(id) {
  CPINFO info{};
  if (GetCPInfo(id, &info) && info.MaxCharSize > 0)
    maxBytesPerUnit_ = info.MaxCharSize;
}

bool SystemCodePage::appendBytes(Text text, std::string& out) const {
  if (text.empty())
    return true;
  // The first guess, every unit at its longest, must fit in an int too.
  if (text.size() > INT_MAX / maxBytesPerUnit_)
    throw tk::Error(tk::kTextTooLong);
  const int length = static_cast<int>(text.size());
  return appendConverted(out, text.size() * maxBytesPerUnit_, [&](char* into, int capacity) {
    return WideCharToMultiByte(id_, 0, text.data(), length, into, capacity, nullptr, nullptr);
  });
}

bool SystemCodePage::appendUnits(std::string_view bytes, std::wstring& out) const {
  if (bytes.empty())
    return true;
  const int length = checkedCount(bytes.size());
  return appendConverted(out, bytes.size(), [&](wchar_t* into, int capacity) {
    return MultiByteToWideChar(id_, 0, bytes.data(), length, into, capacity);
  });
}

const SystemCodePage& ansiCodePage() {
  static const SystemCodePage page(GetACP());
  return page;
}

} // namespace ui
