#include "toolkit/common_dialogs.h"

#include "toolkit/dialog_library.h"
#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/installed_faces.h"
#include "toolkit/modal.h"
#include "toolkit/placement.h"

#include <commdlg.h>

namespace tk {
namespace {

// Centres a dialog on the work area of the monitor its owner is on; one
// larger than the work area keeps its caption on screen.
void centreOnWorkArea(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  centreOnMonitor(dialog, owner ? owner : dialog, MonitorArea::work,
                  Centring{2, /*keepTopLeftInside=*/true});
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

// Runs a dialog with the rest of the application disabled. True when the
// user confirmed, false when the user cancelled; throws `cannotOpen` when
// the dialog could not run.
template <class Run> bool runModal(Run run, const char* cannotOpen) {
  BOOL confirmed = FALSE;
  {
    ModalScope modal;
    confirmed = run();
  }
  if (!confirmed && dialogs::extendedError() != 0)
    throw Error(cannotOpen);
  return confirmed != FALSE;
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
  if (!runModal([&] { return dialogs::chooseFont(&cf); },
                "フォントの設定ダイアログを開けませんでした。"))
    return std::nullopt;
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
  if (!runModal([&] { return dialogs::chooseColor(&cc); },
                "色の選択ダイアログを開けませんでした。"))
    return std::nullopt;
  return cc.rgbResult & 0xFFFFFF;
}

} // namespace tk
