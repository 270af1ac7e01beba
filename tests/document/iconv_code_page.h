// A code page converted by the C library's iconv, for the native tests and the
// fuzzer: the reference the text's conversion is compared with off Windows.
#pragma once

#include "ui/portable/code_page_text.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace sheetloom_test {

class IconvCodePage final : public ui::CodePage<char16_t> {
public:
  // `name` as iconv knows it, e.g. "CP932" (Windows' Shift_JIS), and the
  // number Windows gives the same code page.
  IconvCodePage(const char* name, unsigned number)
      : toBytes_(open(name, utf16())), toUnits_(open(utf16(), name)), number_(number) {}
  IconvCodePage(const IconvCodePage&) = delete;
  IconvCodePage& operator=(const IconvCodePage&) = delete;
  ~IconvCodePage() override {
    iconv_close(toBytes_);
    iconv_close(toUnits_);
  }

  std::size_t maxBytesPerUnit() const override { return 2; }
  unsigned number() const override { return number_; }

  bool appendBytes(Text text, std::string& out) const override {
    return run(toBytes_, reinterpret_cast<const char*>(text.data()), text.size() * 2, out);
  }

  bool appendUnits(std::string_view bytes, std::u16string& out) const override {
    std::string raw;
    if (!run(toUnits_, bytes.data(), bytes.size(), raw) || raw.size() % 2 != 0)
      return false;
    const std::size_t start = out.size();
    out.resize(start + raw.size() / 2);
    std::memcpy(out.data() + start, raw.data(), raw.size());
    return true;
  }

private:
  static const char* utf16() {
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
  }
  static iconv_t open(const char* to, const char* from) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert to ") + to);
    return cd;
  }
  // Appends the conversion of `size` bytes at `in`; false on any character
  // that cannot be converted (iconv's EILSEQ) or a cut one (EINVAL).
  static bool run(iconv_t cd, const char* in, std::size_t size, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* from = const_cast<char*>(in); // iconv does not write through it
    std::size_t left = size;
    while (left > 0) {
      const std::size_t start = out.size();
      out.resize(start + left * 2 + 16);
      char* to = out.data() + start;
      std::size_t room = out.size() - start;
      const std::size_t result = iconv(cd, &from, &left, &to, &room);
      out.resize(out.size() - room);
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG)
        return false;
    }
    return true;
  }

  iconv_t toBytes_;
  iconv_t toUnits_;
  unsigned number_;
};

} // namespace sheetloom_test
