#include "ui/window_fonts.h"

#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/text.h"
#include "ui/form_description.h"

#include <cwchar>

namespace ui {
namespace {

struct FaceQuery {
  const wchar_t* wanted;
  bool found;
};

int CALLBACK noteFound(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
  // A face that the system only substitutes is enumerated under the name of
  // the face it maps to; count only the face asked for.
  auto* query = reinterpret_cast<FaceQuery*>(param);
  query->found = wcscmp(font->lfFaceName, query->wanted) == 0;
  return query->found ? 0 : 1;
}

bool isInstalled(HDC dc, const std::wstring& face) {
  LOGFONTW pattern{};
  pattern.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(pattern.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  FaceQuery query{face.c_str(), false};
  EnumFontFamiliesExW(dc, &pattern, noteFound, reinterpret_cast<LPARAM>(&query), 0);
  return query.found;
}

std::wstring findFace() {
  tk::WindowDc dc(nullptr);
  for (std::string_view face : WindowFaces) {
    std::wstring wide = tk::widen(face);
    if (dc.get() && isInstalled(dc.get(), wide))
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
  tk::UniqueFont font(CreateFontIndirectW(&lf));
  if (!font)
    throw tk::Error("フォントを作成できません");
  return font;
}

WindowFonts makeWindowFonts(UINT dpi) {
  WindowFonts fonts;
  fonts.controls = makeWindowFont(WindowFontHeight, dpi);
  fonts.memo = makeWindowFont(MemoFontHeight, dpi);
  return fonts;
}

} // namespace ui
