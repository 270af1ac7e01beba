// Program entry: the common controls, then the application until its main
// window closes.
#include "app/application.h"
#include "toolkit/errors.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int nShowCmd) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  try {
    app::run(nShowCmd);
  } catch (...) {
    // Start-up failed (a window could not be created): say so instead of
    // ending without a word, and report failure to whoever launched us.
    tk::reportCurrentException();
    return 1;
  }
}
