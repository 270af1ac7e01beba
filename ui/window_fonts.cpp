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

LOGFONTW windowLogFont(const std::wstring& face, int height, BYTE pitchAndFamily) {
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfPitchAndFamily = pitchAndFamily;
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return lf;
}

tk::UniqueFont makeWindowFont(int height96, UINT dpi) {
  const LOGFONTW lf = windowLogFont(windowFaceName(), tk::scale(height96, dpi));
  return tk::UniqueFont(tk::checked(CreateFontIndirectW(&lf), "フォントを作成できません"));
}

WindowFonts makeWindowFonts(UINT dpi) {
  WindowFonts fonts;
  fonts.controls = makeWindowFont(WindowFontHeight, dpi);
  fonts.memo = makeWindowFont(MemoFontHeight, dpi);
  return fonts;
}

} // namespace ui
