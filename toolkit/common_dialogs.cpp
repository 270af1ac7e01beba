#include "toolkit/common_dialogs.h"

#include "toolkit/dialog_library.h"
#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/modal.h"

#include <commdlg.h>

namespace tk {
namespace {

// Centres a dialog on the work area of the monitor its owner is on.
void centreOnWorkArea(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &mi))
    return;
  RECT r{};
  GetWindowRect(dialog, &r);
  const RECT& work = mi.rcWork;
  const int width = r.right - r.left, height = r.bottom - r.top;
  int x = work.left + ((work.right - work.left) - width) / 2;
  int y = work.top + ((work.bottom - work.top) - height) / 2;
  // A dialog larger than the work area keeps its caption on screen.
  if (x < work.left)
    x = work.left;
  if (y < work.top)
    y = work.top;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT_PTR CALLBACK centringHook(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) {
    try {
      centreOnWorkArea(dialog);
    } catch (...) {
      reportCurrentException();
    }
    return TRUE; // let the dialog set the initial focus
  }
  return FALSE;
}

int CALLBACK countFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return 0; // one is enough
}

bool isInstalledFace(HDC dc, const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy_s(query.lfFaceName, face, _TRUNCATE);
  int count = 0;
  EnumFontFamiliesExW(dc, &query, countFamily, reinterpret_cast<LPARAM>(&count), 0);
  return count > 0;
}

// The font dialog can start only on a face that it lists. Given a face that
// the system merely substitutes (a Windows font name on a system without it),
// it silently starts on another face and size, which a plain OK would then
// return; start it on the face that is actually drawn instead.
void useInstalledFace(LOGFONTW& font) {
  WindowDc screen(nullptr);
  if (!font.lfFaceName[0] || isInstalledFace(screen.get(), font.lfFaceName))
    return;
  UniqueFont realised(CreateFontIndirectW(&font));
  if (!realised)
    return;
  wchar_t face[LF_FACESIZE] = {};
  {
    SelectScope select(screen.get(), realised.get());
    GetTextFaceW(screen.get(), LF_FACESIZE, face);
  }
  if (face[0] && isInstalledFace(screen.get(), face))
    wcsncpy_s(font.lfFaceName, face, _TRUNCATE);
}

} // namespace

std::optional<FontChoice> chooseFont(const LOGFONTW& start, COLORREF colour) {
  FontChoice choice;
  choice.font = start;
  useInstalledFace(choice.font);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = dialogOwner();
  cf.lpLogFont = &choice.font;
  cf.rgbColors = colour; // stays as it was unless the user picks a colour
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_TTONLY | CF_EFFECTS | CF_FORCEFONTEXIST |
             CF_ENABLEHOOK;
  cf.lpfnHook = centringHook;
  BOOL confirmed = FALSE;
  {
    ModalScope modal;
    confirmed = dialogs::chooseFont(&cf);
  }
  if (!confirmed) {
    if (dialogs::extendedError() != 0)
      throw Error("フォントの設定ダイアログを開けませんでした。");
    return std::nullopt;
  }
  choice.colour = cf.rgbColors & 0xFFFFFF;
  choice.pointSizeTenths = cf.iPointSize;
  return choice;
}

CustomColours noCustomColours() noexcept {
  CustomColours c;
  c.fill(RGB(255, 255, 255));
  return c;
}

std::optional<COLORREF> chooseColour(COLORREF start, CustomColours& custom) {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = dialogOwner();
  cc.rgbResult = start;
  cc.lpCustColors = custom.data();
  cc.Flags = CC_RGBINIT | CC_ENABLEHOOK;
  cc.lpfnHook = centringHook;
  BOOL confirmed = FALSE;
  {
    ModalScope modal;
    confirmed = dialogs::chooseColor(&cc);
  }
  if (!confirmed) {
    if (dialogs::extendedError() != 0)
      throw Error("色の選択ダイアログを開けませんでした。");
    return std::nullopt;
  }
  return cc.rgbResult & 0xFFFFFF;
}

} // namespace tk
