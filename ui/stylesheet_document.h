// The stylesheet document: the text of the StyleSheet memo and its two actions,
// clear (Button5Click) and save (Button2Click).
//
// Use from the main window: own one StylesheetDocument, attach() it to the memo
// once the memo exists, and call clear() / save(hwnd()) from the click
// handlers. save() throws tk::Error for every failure the user must see; the
// window's dispatch boundary hands it to the error display. app/ replaces
// services().confirm with the confirmation window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace ui {

// Seams of the save action; tests replace them.
struct SaveServices {
  // Runs the save dialog owned by `owner`. On entry `path` is the remembered
  // path; on a true return it is the chosen full path. Returns false when the
  // user cancelled or the dialog failed.
  std::function<bool(HWND owner, std::wstring& path)> chooseFile; // default: GetSaveFileNameW
  // Shows the confirmation message modally.
  std::function<void(std::wstring_view message)> confirm; // default: a plain MessageBoxW
  // Replaces the file at `path` with exactly `bytes`, leaving any previous file
  // untouched on failure. Throws tk::FileError, which save() turns into the
  // user's message.
  std::function<void(const std::wstring& path, std::string_view bytes)>
      writeFile; // default: atomic replace
};

// The memo's text as the bytes of the file: converted to the system's ANSI code
// page. Throws tk::Error when the text holds a character that code page cannot
// represent, rather than writing a substitute.
std::string stylesheetBytes(std::wstring_view text);

class StylesheetDocument {
public:
  StylesheetDocument();

  void attach(HWND memo); // the StyleSheet memo (borrowed)
  void clear();           // Button5Click
  void save(HWND owner);  // Button2Click
  SaveServices& services() noexcept { return services_; }
  const std::wstring& rememberedPath() const noexcept { return path_; }

private:
  HWND memo_ = nullptr; // borrowed: a child of the main window
  std::wstring path_;
  SaveServices services_;
};

} // namespace ui
