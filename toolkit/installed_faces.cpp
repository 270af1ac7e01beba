#include "toolkit/installed_faces.h"

#include <cwchar>

namespace tk {
namespace {

struct FaceQuery {
  const wchar_t* wanted;
  bool found;
};

int CALLBACK noteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto* query = reinterpret_cast<FaceQuery*>(param);
  query->found = wcscmp(font->lfFaceName, query->wanted) == 0;
  return query->found ? 0 : 1; // stop at the face asked for
}

} // namespace

bool isInstalledFace(HDC dc, const wchar_t* face) {
  if (!dc || !face || !face[0] || wcslen(face) >= LF_FACESIZE)
    return false;
  LOGFONTW pattern{};
  pattern.lfCharSet = DEFAULT_CHARSET;
  wcscpy(pattern.lfFaceName, face);
  FaceQuery query{face, false};
  EnumFontFamiliesExW(dc, &pattern, noteFace, reinterpret_cast<LPARAM>(&query), 0);
  return query.found;
}

} // namespace tk
