// The stylesheet document: the text of the StyleSheet memo and its two actions,
// clear (Button5Click) and save (Button2Click).
//
// Use from the main window: own one StylesheetDocument, attach() it to the memo
// once the memo exists, and call clear() / save(hwnd()) from the click
// handlers. save() throws tk::Error for every failure the user must see; the
// window's dispatch boundary hands it to the error display. app/ replaces
// services().confirm with the confirmation window.
#pragma once

#include "toolkit/atomic_file.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace ui {

// The save's two windows. app/ puts its confirmation window in `confirm`; the
// document tests answer `chooseFile` themselves, a seam that stays because
// they save many times over (every failure case) while the real dialog, slow
// to open, is driven in a test of its own.
struct SaveServices {
  // Runs the save dialog owned by `owner`. On entry `path` is the remembered
  // path; on a true return it is the chosen full path. Returns false when the
  // user cancelled or the dialog failed.
  std::function<bool(HWND owner, std::wstring& path)> chooseFile; // default: GetSaveFileNameW
  // Shows the confirmation message modally.
  std::function<void(std::wstring_view message)> confirm; // default: a plain MessageBoxW
};

class StylesheetDocument {
public:
  // The file is replaced through `files` (kept by reference): the file system
  // itself in the program, one that fails on demand in tests.
  explicit StylesheetDocument(const tk::FileSystem& files = tk::win32FileSystem());

  void attach(HWND memo); // the StyleSheet memo (borrowed)
  void clear();           // Button5Click
  void save(HWND owner);  // Button2Click
  SaveServices& services() noexcept { return services_; }

private:
  HWND memo_ = nullptr; // borrowed: a child of the main window
  std::wstring path_;
  const tk::FileSystem& files_;
  SaveServices services_;
};

} // namespace ui
