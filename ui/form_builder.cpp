#include "ui/form_parts.h"

#include "controls/completion_combo.h"
#include "controls/spin_edit.h"
#include "ui/containers.h"
#include "ui/memo.h"

namespace ui {
namespace {

// The page a control stands on (itself for a page), or None.
ControlId pageOf(const ControlDescription& row) {
  for (const ControlDescription* r = &row;; r = &describe(r->parentId)) {
    if (r->kind == ControlKind::Page)
      return r->id;
    if (r->parentId == ControlId::None)
      return ControlId::None;
  }
}

// The page shown at start: the first of the description.
ControlId firstPage() {
  for (const ControlDescription* row = formDescriptionBegin(); row != formDescriptionEnd(); ++row)
    if (row->kind == ControlKind::Page)
      return row->id;
  return ControlId::None;
}

} // namespace

FormControls::FormControls() = default;
FormControls::~FormControls() = default;

void FormControls::build(HWND form, UINT dpi, const WindowFonts& fonts,
                         std::function<void(const ControlDescription&)> onChange) {
  form_ = form;
  dpi_ = dpi;
  fonts_ = &fonts;
  onChange_ = std::move(onChange);
  const CaptionMeasure measure(fonts.controls.get());
  building_ = true;
  for (const ControlDescription* row = formDescriptionBegin(); row != formDescriptionEnd(); ++row) {
    if (!deferred(*row)) {
      create(*row, measure);
      continue;
    }
    // Left for later; its tab is shown from the start.
    controls_[indexOf(row->id)].row = row;
    if (row->kind == ControlKind::Page) {
      addTab(hwnd(row->parentId), row->text);
      ++pending_;
    }
  }
  building_ = false;
  built_ = true;
  placePages();
}

bool FormControls::deferred(const ControlDescription& row) const {
  const ControlId page = pageOf(row);
  return page != ControlId::None && page != firstPage();
}

bool FormControls::buildNextPage() {
  // A few controls at a time: a message that arrives meanwhile (input, or
  // another program asking) waits for a few controls, not for a whole page.
  const std::size_t step = 6;
  if (building_)
    return true;
  for (const ControlDescription* row = formDescriptionBegin(); row != formDescriptionEnd(); ++row)
    if (row->kind == ControlKind::Page && deferred(*row) && pending_ && !pageDone(*row)) {
      buildPage(*row, step);
      break;
    }
  return pending_ != 0;
}

bool FormControls::pageDone(const ControlDescription& page) const {
  for (const ControlDescription* row = &page; row != formDescriptionEnd(); ++row)
    if (pageOf(*row) == page.id && !controls_[indexOf(row->id)].hwnd)
      return false;
  return true;
}

void FormControls::buildRest() {
  for (const ControlDescription* row = formDescriptionBegin(); row != formDescriptionEnd(); ++row)
    if (row->kind == ControlKind::Page && deferred(*row) && !pageDone(*row))
      buildPage(*row, 0);
}

void FormControls::buildPage(const ControlDescription& page, std::size_t limit) {
  const CaptionMeasure measure(fonts_->controls.get());
  building_ = true;
  std::size_t made = 0;
  try {
    // In the description's order, as build would have: parents before their
    // children, each child after its elder siblings. A build stopped by a
    // failure goes on where it stopped.
    for (const ControlDescription* row = &page; row != formDescriptionEnd(); ++row) {
      if (pageOf(*row) != page.id || controls_[indexOf(row->id)].hwnd)
        continue;
      if (limit && made == limit) {
        building_ = false;
        return;
      }
      create(*row, measure);
      ++made;
    }
  } catch (...) {
    building_ = false;
    throw;
  }
  building_ = false;
  --pending_;
}

void FormControls::create(const ControlDescription& row, const CaptionMeasure& measure) {
  Control& c = controls_[indexOf(row.id)];
  c.row = &row;
  c.captionPending = row.kind == ControlKind::Label && onHiddenPage(row);
  const bool late = built_;
  HWND owner = row.parentId == ControlId::None ? form_ : hwnd(row.parentId);
  const ControlDescription* self = &row;
  const Creation creation{row,
                          parentOf(row),
                          owner,
                          form_,
                          FirstControlId + static_cast<int>(indexOf(row.id)),
                          late && row.kind == ControlKind::Page
                              ? pageArea()
                              : boundsOf(c, c.captionPending ? nullptr : &measure),
                          fonts_->controls.get(),
                          fonts_->memo.get(),
                          dpi_,
                          [this, self] {
                            if (onChange_)
                              onChange_(*self);
                          },
                          late};
  creatorFor(row.kind)(c, creation);
  if (isCombo(row.kind))
    fitCombo(c.hwnd);
  if (!late || row.kind != ControlKind::Page)
    return;
  // A late page goes right after its elder sibling in the z-order, which is
  // the tab order, as if it had been made with the others.
  for (const ControlDescription* r = &row; r != formDescriptionBegin();) {
    --r;
    if (r->parentId == row.parentId) {
      SetWindowPos(c.hwnd, controls_[indexOf(r->id)].hwnd, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
      break;
    }
  }
}

const FormControls::Control* FormControls::find(HWND hwnd) const {
  // Each control's ID is its row's index past FirstControlId.
  if (!hwnd)
    return nullptr;
  const auto index = static_cast<std::size_t>(GetDlgCtrlID(hwnd) - FirstControlId);
  return index < controls_.size() && controls_[index].hwnd == hwnd ? &controls_[index] : nullptr;
}

} // namespace ui
