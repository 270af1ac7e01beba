#include "ui/tform1.h"

#include "toolkit/text.h"

#include <gtest/gtest.h>

namespace {

TEST(MainWindow, HasCaptionAndClientSize) {
  ui::TForm1 form;
  form.create(nullptr, SW_SHOWNORMAL);
  ASSERT_NE(form.hwnd(), nullptr);
  EXPECT_EQ(tk::windowText(form.hwnd()), L"SHEETLOOM");
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, 710);
  EXPECT_EQ(client.bottom, 601);
}

} // namespace
