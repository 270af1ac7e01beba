#include "ui/form_parts.h"

#include "controls/completion_combo.h"
#include "controls/spin_edit.h"
#include "toolkit/dpi.h"
#include "toolkit/placement.h"

#include <commctrl.h>

#include <optional>

namespace ui {
namespace {

RECT rectOf(int x, int y, int width, int height) {
  return {x, y, x + width, y + height};
}

int closedHeight(HWND combo) {
  RECT r{};
  GetWindowRect(combo, &r);
  return r.bottom - r.top;
}

} // namespace

void FormControls::relayout(UINT dpi, const WindowFonts& fonts) {
  buildRest(); // at the old DPI, then placed again with the others
  dpi_ = dpi;
  const CaptionMeasure measure(fonts.controls.get());
  for (Control& c : controls_) {
    HFONT font = c.row->kind == ControlKind::Memo ? fonts.memo.get() : fonts.controls.get();
    if (const auto* spin = std::get_if<std::unique_ptr<TSpinEdit>>(&c.owner)) {
      (*spin)->SetDpi(dpi);
      (*spin)->SetFont(font);
    } else
      SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.row->kind != ControlKind::Page)
      place(c, measure);
    c.captionPending = false;
  }
  placePages();
  InvalidateRect(form_, nullptr, TRUE);
}

bool FormControls::onHiddenPage(const ControlDescription& row) const {
  for (ControlId p = row.parentId; p != ControlId::None; p = describe(p).parentId) {
    if (describe(p).kind == ControlKind::Page)
      return (GetWindowLongPtrW(hwnd(p), GWL_STYLE) & WS_VISIBLE) == 0;
  }
  return false;
}

void FormControls::fitCaptionsOn(HWND page) {
  std::optional<CaptionMeasure> measure;
  for (Control& c : controls_) {
    if (!c.captionPending || !c.hwnd || !IsChild(page, c.hwnd))
      continue;
    if (!measure)
      measure.emplace(reinterpret_cast<HFONT>(SendMessageW(c.hwnd, WM_GETFONT, 0, 0)));
    c.captionPending = false;
    const RECT r = boundsOf(c, &*measure);
    tk::moveWindow(c.hwnd, r, false);
  }
}

void FormControls::dock() {
  for (Control& c : controls_) {
    if (c.row->dock == Dock::None || !c.hwnd)
      continue;
    const RECT r = boundsOf(c);
    tk::moveWindow(c.hwnd, r);
  }
}

RECT FormControls::boundsOf(const Control& c, const CaptionMeasure* measure) const {
  const ControlDescription& row = *c.row;
  const auto s = [this](int px96) { return tk::scale(px96, dpi_); };
  if (row.dock != Dock::None) {
    RECT area{};
    GetClientRect(parentOf(row), &area);
    if (row.dock == Dock::Fill)
      return area;
    const int inset = s(MemoInset), height = s(row.bounds.height);
    return rectOf(inset, area.bottom - inset - height, area.right - 2 * inset, height);
  }
  RECT r = rectOf(s(row.bounds.left), s(row.bounds.top), s(row.bounds.width), s(row.bounds.height));
  if (row.kind == ControlKind::Label && measure) {
    // Labels take the size of their caption in the window font.
    const SIZE text = measure->extent(row.text);
    r.right = r.left + text.cx;
    r.bottom = r.top + text.cy;
  }
  return r;
}

void FormControls::place(Control& c, const CaptionMeasure& measure) {
  const RECT r = boundsOf(c, &measure);
  tk::moveWindow(c.hwnd, r);
  if (isCombo(c.row->kind))
    fitCombo(c.hwnd);
}

void FormControls::fitCombo(HWND combo) const {
  // The closed combo's height follows its selection field's. Systems differ
  // in how the field height they are given relates to the one they report,
  // so correct by what the combo measures, a few times at most.
  controls::setVisibleItems(combo, ListVisibleItems);
  const int wanted = tk::scale(20, dpi_);
  int field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int delta = wanted - closedHeight(combo);
    if (delta == 0 || field + delta <= 0)
      break;
    field += delta;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
}

RECT FormControls::pageArea() const {
  HWND tabs = hwnd(ControlId::PageControl1);
  RECT r{};
  GetWindowRect(tabs, &r);
  MapWindowPoints(nullptr, GetParent(tabs), reinterpret_cast<POINT*>(&r), 2);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void FormControls::placePages() {
  const RECT area = pageArea();
  HWND tabs = hwnd(ControlId::PageControl1);
  for (Control& c : controls_)
    if (c.row->kind == ControlKind::Page && c.hwnd)
      tk::moveWindow(c.hwnd, area);
  // The pages lie over the tab control's lower part but come after it in the
  // tab order, which puts them below it in the z-order; clip the tab control
  // to its row of buttons so that it never paints over the page shown.
  RECT tabRect{};
  GetWindowRect(tabs, &tabRect);
  MapWindowPoints(nullptr, GetParent(tabs), reinterpret_cast<POINT*>(&tabRect), 2);
  tk::UniqueRegion strip(CreateRectRgn(0, 0, tabRect.right - tabRect.left, area.top - tabRect.top));
  if (strip && SetWindowRgn(tabs, strip.get(), TRUE))
    static_cast<void>(strip.release()); // the system owns the region now
}

HWND FormControls::parentOf(const ControlDescription& row) const {
  if (row.parentId == ControlId::None)
    return form_;
  if (row.kind == ControlKind::Page)
    return GetParent(hwnd(row.parentId)); // beside the tab control, see placePages
  return hwnd(row.parentId);
}

} // namespace ui
