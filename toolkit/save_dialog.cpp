#include "toolkit/save_dialog.h"

#include "toolkit/dialog_library.h"
#include "toolkit/errors.h"
#include "toolkit/modal.h"
#include "toolkit/placement.h"

#include <commdlg.h>

#include <algorithm>

namespace tk {
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
