#include "ui/window_fonts.h"

#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/installed_faces.h"
#include "toolkit/text.h"
#include "ui/form_description.h"

#include <cwchar>

namespace ui {
namespace {

std::wstring findFace() {
  tk::WindowDc dc(nullptr);
  for (std::string_view face : WindowFaces) {
    std::wstring wide = tk::widen(face);
    if (tk::isInstalledFace(dc.get(), wide.c_str()))
      return wide;
  }
  return tk::widen(WindowFaces[0]);
}

} // namespace

const std::wstring& windowFaceName() {
  static const std::wstring face = findFace();
  return face;
}

tk::UniqueFont makeWindowFont(int height96, UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -tk::scale(height96, dpi);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  wcsncpy(lf.lfFaceName, windowFaceName().c_str(), LF_FACESIZE - 1);
  return tk::UniqueFont(tk::checked(CreateFontIndirectW(&lf), "フォントを作成できません"));
}

WindowFonts makeWindowFonts(UINT dpi) {
  WindowFonts fonts;
  fonts.controls = makeWindowFont(WindowFontHeight, dpi);
  fonts.memo = makeWindowFont(MemoFontHeight, dpi);
  return fonts;
}

} // namespace ui
