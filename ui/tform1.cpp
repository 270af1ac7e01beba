#include "ui/tform1.h"

namespace ui {
namespace {
const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
const int kClientWidth = 710, kClientHeight = 601;
} // namespace

TForm1::TForm1() = default;
TForm1::~TForm1() { destroy(); }

void TForm1::create(HWND owner, int showCommand) {
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  tk::CreateArgs args;
  args.style = kStyle;
  args.text = L"SHEETLOOM";
  args.x = 239;
  args.y = 107;
  args.width = r.right - r.left;
  args.height = r.bottom - r.top;
  args.parent = owner;
  createOwn(L"TForm1", args);
  ShowWindow(hwnd(), showCommand);
}

LRESULT TForm1::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY)
    PostQuitMessage(0);
  return defaultProc(msg, wp, lp);
}

} // namespace ui
