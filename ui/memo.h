// The stylesheet memo: a multi-line edit in which Enter breaks the line, Tab
// moves the focus on and Escape does nothing, with no limit on its length,
// and to which a rule is appended in one piece at the end.
#pragma once

#include "toolkit/window.h"

#include <string_view>

namespace ui {

class Memo : public tk::Window {
public:
  void create(HWND parent, int id, const RECT& bounds);

  // Puts `text` after the last character, leaving the rest of the text alone:
  // the cost does not grow with the text already there, and the caret and
  // view end at the new text.
  void append(std::wstring_view text);

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

} // namespace ui
