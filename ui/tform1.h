// The main window, Form1.
#pragma once

#include "toolkit/window.h"

namespace ui {

class TForm1 : public tk::Window {
public:
  TForm1();
  ~TForm1() override;

  // Creates the window and shows it with `showCommand`.
  void create(HWND owner, int showCommand);

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

} // namespace ui
