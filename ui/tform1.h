// The main window, Form1: built from the form description, with one handler
// method per event of the wiring table.
#pragma once

#include "style/settings.h"
#include "ui/form_builder.h"
#include "ui/screen_reader_names.h"
#include "ui/stylesheet_document.h"
#include "ui/window_fonts.h"

#include "toolkit/common_dialogs.h"
#include "toolkit/window.h"

#include <memory>

namespace ui {

class FormEditors;

class TForm1 : public tk::Window {
public:
  TForm1();
  ~TForm1() override;

  // Creates the window with every control at its initial value, runs
  // FormCreate and shows the window with `showCommand`.
  void create(HWND owner, int showCommand);

  // The handlers of the wiring table. Each takes the control that raised the
  // event.
  void FormCreate(HWND sender);
  void TAGChange(HWND sender);
  void makeClick(HWND sender);
  void Button2Click(HWND sender);
  void Button5Click(HWND sender);
  void Button1Click(HWND sender);
  void Button3Click(HWND sender);
  void Button4Click(HWND sender);
  void border_kindChange(HWND sender);
  void Ma_kindChange(HWND sender);
  void Pa_kindChange(HWND sender);

  // The controls, each by its id (hwnd) or as its typed object
  // (get<ControlId>()): how the tests and the benchmarks reach the controls
  // they drive.
  const FormControls& controls() const noexcept { return controls_; }

  StylesheetDocument& document() noexcept { return document_; }

  // The names given, for tests: a client reads them back through the
  // accessibility library's objects for the controls, but Wine's library
  // neither keeps an annotation (SetHwndPropStr answers E_NOTIMPL) nor gives
  // a name back, so that the tests under Wine could not see them otherwise.
  const ScreenReaderNames& screenReaderNames() const noexcept { return screenReaderNames_; }

  // Builds one more of the pages not shown at start, in an idle moment of
  // the message loop; false once every control exists.
  bool buildLaterPages() noexcept;

  bool preTranslateMessage(MSG& msg) override;

  // When set, they replace the window's own handling of its minimise button
  // (WM_SYSCOMMAND SC_MINIMIZE) and of closing (WM_CLOSE).
  std::function<void()> onMinimize;
  std::function<void()> onClose;

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void run(Handler handler, HWND sender);
  // Shows page `index` of the tab control (0 is "設定1"), as a click on its
  // tab or Ctrl+Tab does.
  void showPage(int index);
  int currentPage() const;
  // Gives the controls that no label names their spoken names, once: as
  // soon as a screen reader or another accessibility client shows itself.
  void nameControlsForScreenReaders() noexcept { screenReaderNames_.apply(controls_); }
  // The side editors, made when first needed: they read controls of the
  // pages built after the first paint.
  FormEditors& editors();
  // One member for each message the window handles itself.
  void onCommand(WPARAM wp, LPARAM lp);
  void onNotify(const NMHDR& header);
  LRESULT onNcCalcSize(WPARAM wp, LPARAM lp);
  LRESULT withInnerBorder(UINT msg, WPARAM wp, LPARAM lp);
  void onActivate(WPARAM wp);
  bool onSysCommand(WPARAM wp);
  bool onCloseRequest();
  void onGetObject();
  void onSettingChange(WPARAM wp);
  void onDpiChanged(UINT dpi, const RECT& suggested);
  void paintInnerBorder();
  // Tells every control of a new colour scheme or theme (`message`) and
  // repaints the whole window.
  void repaintForNewColours(UINT message);
  void chooseColourInto(ControlId edit);
  bool focusInPages() const;
  static SIZE clientSizeFor(UINT dpi);
  // The font dialog's font (its starting point next time) and colour.
  struct FontDialogState {
    LOGFONTW font{};
    COLORREF colour = 0;
  };
  RECT windowRectFor(UINT dpi, int left, int top) const;

  UINT dpi_ = 96;
  UINT screenDpi_ = 96; // the screen's pixels per inch, read once at start-up
  WindowFonts fonts_;
  FormControls controls_;
  std::unique_ptr<FormEditors> editors_;
  ScreenReaderNames screenReaderNames_;
  style::StyleSettingsStore store_;
  StylesheetDocument document_;
  FontDialogState fontDialog_;
  COLORREF colourDialog_ = 0;
  tk::CustomColours customColours_ = tk::noCustomColours();
  HWND lastFocus_ = nullptr; // borrowed: a control of this window
};

} // namespace ui
