#include "toolkit/dialog_library.h"

namespace tk::dialogs {
namespace {

HMODULE library() {
  // Loaded once and kept for the process; only from the system folder.
  static const HMODULE module =
      LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module;
}

template <class Function> Function find(const char* name) {
  HMODULE module = library();
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

} // namespace

BOOL getSaveFileName(OPENFILENAMEW* ofn) {
  static const auto function = find<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetSaveFileNameW");
  return function ? function(ofn) : FALSE;
}

BOOL chooseFont(CHOOSEFONTW* cf) {
  static const auto function = find<BOOL(WINAPI*)(CHOOSEFONTW*)>("ChooseFontW");
  return function ? function(cf) : FALSE;
}

BOOL chooseColor(CHOOSECOLORW* cc) {
  static const auto function = find<BOOL(WINAPI*)(CHOOSECOLORW*)>("ChooseColorW");
  return function ? function(cc) : FALSE;
}

DWORD extendedError() {
  static const auto function = find<DWORD(WINAPI*)()>("CommDlgExtendedError");
  return function ? function() : static_cast<DWORD>(CDERR_INITIALIZATION);
}

} // namespace tk::dialogs
