// The windows that hold other controls: the group boxes, the pages and the
// tab control. Standard controls send their notifications to their immediate
// parent, so every container hands WM_COMMAND and WM_NOTIFY on to the form,
// which owns the handlers. Containers are WS_EX_CONTROLPARENT so that dialog
// navigation (Tab, Shift+Tab) walks into them.
//
// No container ever closes: only the form is closed, by the user. A WM_CLOSE
// that reaches one (a multi-line edit that has been asked for its dialog
// code posts one to its parent on Escape) would otherwise go to the default
// procedure, which destroys the container with every control and all the
// text inside it.
#pragma once

#include "toolkit/window.h"

#include <string_view>

namespace ui {

class Container : public tk::Window {
public:
  // `target` (borrowed) receives the children's notifications.
  void setTarget(HWND target) noexcept { target_ = target; }

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  HWND target_ = nullptr; // borrowed: the form
};

// A group box with a caption; its children sit inside its frame.
class GroupContainer : public Container {
public:
  void create(HWND parent, int id, const RECT& bounds, std::string_view caption);
};

// One page of the tab control: a plain button-face area.
class PageContainer : public Container {
public:
  void create(HWND parent, int id, const RECT& bounds, bool visible);
};

// The tab control, whose tabs are drawn as flat buttons. Its pages are its
// siblings (see FormControls::placePages); it only refuses to close.
class TabControl : public tk::Window {
public:
  void create(HWND parent, int id, const RECT& bounds);

  // Draws a tab's caption (the tabs are owner-drawn, the control draws the
  // buttons): its parent hands it WM_DRAWITEM.
  static void drawItem(const DRAWITEMSTRUCT& item);

protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

} // namespace ui
