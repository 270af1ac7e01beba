#include "toolkit/dialog_library.h"

#include "toolkit/late_bound.h"

namespace tk::dialogs {
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

} // namespace

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

} // namespace tk::dialogs
