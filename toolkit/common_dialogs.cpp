#include "toolkit/common_dialogs.h"

#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/installed_faces.h"
#include "toolkit/late_bound.h"
#include "toolkit/message_loop.h"
#include "toolkit/placement.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>

namespace tk {
// The common dialog library (comdlg32), loaded the first time a dialog opens
// instead of with the program. Importing it makes the system load it, and the
// shell libraries it needs, at start: about 6 MB of working set under Wine,
// for dialogs that most sessions open late or never. Each function is as the
// one of the same name; FALSE when the library cannot be loaded, which
// extendedError() then reports as CDERR_INITIALIZATION.
namespace dialogs {
namespace {

HMODULE library() {
  // Loaded once and kept for the process; only from the system folder.
  static const HMODULE module =
      LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module;
}

// Types from the declarations, which a library loaded by hand does not
// import.
template <class Function> Function find(const char* name) {
  return lateBound<Function>(library(), name);
}

BOOL getSaveFileName(OPENFILENAMEW* ofn) {
  static const auto function = find<decltype(&::GetSaveFileNameW)>("GetSaveFileNameW");
  return function ? function(ofn) : FALSE;
}

BOOL chooseFont(CHOOSEFONTW* cf) {
  static const auto function = find<decltype(&::ChooseFontW)>("ChooseFontW");
  return function ? function(cf) : FALSE;
}

BOOL chooseColor(CHOOSECOLORW* cc) {
  static const auto function = find<decltype(&::ChooseColorW)>("ChooseColorW");
  return function ? function(cc) : FALSE;
}

DWORD extendedError() {
  static const auto function = find<decltype(&::CommDlgExtendedError)>("CommDlgExtendedError");
  return function ? function() : static_cast<DWORD>(CDERR_INITIALIZATION);
}

} // namespace
} // namespace dialogs

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

namespace {

// The longest path the system knows (the "\\?\" form's limit) and its NUL:
// the dialog can return no path this buffer cannot hold, so it never fails
// with FNERR_BUFFERTOOSMALL after the user has chosen.
constexpr DWORD kFileNameCapacity = 32768;

struct HookData {
  HWND monitorWindow; // borrowed
};

// Centred horizontally, a third of the free height from the top.
constexpr Centring kDialogCentring{3, /*keepTopLeftInside=*/false};

// The explorer dialog calls the hook with its child dialog; the frame the user
// sees is that child's parent.
UINT_PTR CALLBACK saveDialogHook(HWND child, UINT msg, WPARAM, LPARAM lp) {
  try {
    if (msg == WM_INITDIALOG) {
      const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lp);
      SetWindowLongPtrW(child, GWLP_USERDATA, static_cast<LONG_PTR>(ofn->lCustData));
    } else if (msg == WM_NOTIFY) {
      const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lp);
      if (notify->hdr.code == CDN_INITDONE) {
        const auto* data =
            reinterpret_cast<const HookData*>(GetWindowLongPtrW(child, GWLP_USERDATA));
        if (data)
          centreOnMonitor(GetParent(child), data->monitorWindow, MonitorArea::whole,
                          kDialogCentring);
      }
    }
  } catch (...) {
    reportCurrentException();
  }
  return 0;
}

} // namespace

std::wstring dialogFilterList(std::wstring_view filterText) {
  std::wstring list(filterText);
  list.push_back(L'\0');
  std::replace(list.begin(), list.end(), L'|', L'\0');
  return list;
}

bool runSaveDialog(HWND mainWindow, std::wstring_view filterText, std::wstring& path) {
  const std::wstring filter = dialogFilterList(filterText);
  std::wstring fileName(kFileNameCapacity, L'\0');
  path.copy(fileName.data(), std::min<std::size_t>(path.size(), kFileNameCapacity - 1));

  HWND active = GetActiveWindow();
  HookData data{active ? active : mainWindow};

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialogOwner();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = fileName.data();
  ofn.nMaxFile = kFileNameCapacity;
  // Explorer style, resizable, no read-only box; nothing asked before a
  // file is replaced, no extension added, no folder required to exist.
  ofn.Flags = OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
  ofn.lpfnHook = saveDialogHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&data);

  BOOL chosen;
  {
    ModalScope modal;
    chosen = dialogs::getSaveFileName(&ofn);
  }
  if (!chosen)
    return false;
  // The dialog writes a NUL-terminated path into the larger buffer.
  path.assign(fileName.data(), fileName.find(L'\0'));
  return true;
}

} // namespace tk
