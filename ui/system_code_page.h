// A Windows code page as the conversion that the stylesheet text's bytes are
// made with (WideCharToMultiByte / MultiByteToWideChar).
#pragma once

#include "ui/portable/code_page_text.h"

#include <windows.h>

namespace ui {

class SystemCodePage final : public CodePage<wchar_t> {
public:
  explicit SystemCodePage(UINT id);

  std::size_t maxBytesPerUnit() const override { return maxBytesPerUnit_; }
  bool appendBytes(Text text, std::string& out) const override;
  bool appendUnits(std::string_view bytes, std::wstring& out) const override;
  unsigned number() const override { return id_; }

private:
  UINT id_;
  std::size_t maxBytesPerUnit_ = 4;
};

// The process's ANSI code page (GetACP), which is fixed while it runs.
const SystemCodePage& ansiCodePage();

} // namespace ui
