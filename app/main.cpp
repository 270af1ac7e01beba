// Program entry: creates the main window and runs the message loop.
#include "toolkit/message_loop.h"
#include "ui/tform1.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  ui::TForm1 form;
  form.create(nullptr, showCommand);
  return tk::runMessageLoop();
}
