#include "ui/form_builder.h"

#include "controls/completion_combo.h"
#include "controls/spin_edit.h"
#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/text.h"
#include "ui/containers.h"
#include "ui/memo.h"

#include <commctrl.h>

#include <optional>
#include <string>

namespace ui {
namespace {

const int FirstControlId = 100; // clear of IDOK and IDCANCEL

// Created in place: moving a control after its creation costs another round of
// position messages, which adds up over the whole form.
HWND createPlain(const wchar_t* className, DWORD exStyle, DWORD style, std::string_view text,
                 HWND parent, int id, const RECT& r) {
  const std::wstring wide = tk::widen(text);
  HWND h = CreateWindowExW(exStyle, className, wide.c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
                           r.top, r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!h)
    throw tk::Error("コントロールを作成できません");
  return h;
}

RECT rectOf(int x, int y, int width, int height) {
  return {x, y, x + width, y + height};
}

int closedHeight(HWND combo) {
  RECT r{};
  GetWindowRect(combo, &r);
  return r.bottom - r.top;
}

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

// Adds a tab of the caption `text` at the end; its index.
LRESULT addTab(HWND tabs, std::string_view text) {
  const std::wstring caption = tk::widen(text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  const auto index = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
  SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return index;
}

bool isCombo(ControlKind kind) {
  return kind == ControlKind::EditCombo || kind == ControlKind::DropDownList;
}

} // namespace

// Measures captions in the controls' font on one screen DC, so that labels are
// created at their size instead of being measured and moved one by one.
class CaptionMeasure {
public:
  explicit CaptionMeasure(HFONT font) noexcept : select_(screen_.get(), font) {}
  SIZE extent(std::string_view caption) const {
    SIZE size{0, 0};
    if (screen_.get()) {
      const std::wstring text = tk::widen(caption);
      GetTextExtentPoint32W(screen_.get(), text.data(), static_cast<int>(text.size()), &size);
    }
    return size;
  }

private:
  tk::WindowDc screen_{nullptr};
  tk::SelectScope select_;
};

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

// ---- one creator per kind of control ----

namespace {

// What a creator needs besides the row: where the control goes and how it
// looks. Each creator makes the control at its bounds, in its font, and
// fills in the Control: its window and, for a typed kind, the object of its
// kind's type, which own() takes.
struct Creation {
  const ControlDescription& row;
  HWND parent; // the window the control is made in
  HWND owner;  // the window of the row's parent (for a page, the tab control)
  HWND form;   // receives the containers' notifications
  int id;      // the control ID
  RECT bounds; // in the parent's client coordinates, scaled
  HFONT font;  // the controls' font (borrowed)
  HFONT memoFont;
  UINT dpi;
  std::function<void()> onChange; // a combo's change event
  bool late;                      // made after build (its tab exists already)
};

using Control = FormControls::Control;

void setFont(HWND hwnd, HFONT font) {
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// The slot takes the object made for a control of kind `Kind`, which must be
// of the type FormControls::get gives that kind.
template <ControlKind Kind>
void own(Control& c, std::unique_ptr<typename ControlTypeOf<Kind>::type> object) {
  c.hwnd = object->hwnd();
  c.owner = std::move(object);
}

void plain(Control& c, const Creation& k, const wchar_t* className, DWORD exStyle, DWORD style) {
  c.hwnd = createPlain(className, exStyle, style, k.row.text, k.parent, k.id, k.bounds);
  setFont(c.hwnd, k.font);
}

void createGroup(Control& c, const Creation& k) {
  auto group = std::make_unique<GroupContainer>();
  group->create(k.parent, k.id, k.bounds, k.row.text);
  group->setTarget(k.form);
  own<ControlKind::GroupBox>(c, std::move(group));
  setFont(c.hwnd, k.font);
}

// A page is a tab of the tab control plus the area shown for it, which
// FormControls::placePages places later (a late page is made in place).
void createPage(Control& c, const Creation& k) {
  const bool shown = !k.late && addTab(k.owner, k.row.text) == 0;
  auto page = std::make_unique<PageContainer>();
  page->create(k.parent, k.id, k.bounds, shown);
  page->setTarget(k.form);
  own<ControlKind::Page>(c, std::move(page));
  setFont(c.hwnd, k.font);
}

void createLabel(Control& c, const Creation& k) {
  plain(c, k, L"STATIC", 0, SS_LEFT | SS_NOPREFIX);
}

void createButton(Control& c, const Creation& k) {
  plain(c, k, L"BUTTON", 0, WS_TABSTOP | BS_PUSHBUTTON);
}

void createCheckBox(Control& c, const Creation& k) {
  plain(c, k, L"BUTTON", 0, WS_TABSTOP | BS_AUTOCHECKBOX);
}

void createEdit(Control& c, const Creation& k) {
  plain(c, k, L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_AUTOHSCROLL);
  SendMessageW(c.hwnd, EM_SETLIMITTEXT, 0, 0); // any text, however long
}

void createTabControl(Control& c, const Creation& k) {
  auto tabs = std::make_unique<TabControl>();
  tabs->create(k.parent, k.id, k.bounds);
  own<ControlKind::TabControl>(c, std::move(tabs));
  setFont(c.hwnd, k.font);
}

void createMemo(Control& c, const Creation& k) {
  auto memo = std::make_unique<Memo>();
  memo->create(k.parent, k.id, k.bounds);
  own<ControlKind::Memo>(c, std::move(memo));
  setFont(c.hwnd, k.memoFont);
}

void createSpinEdit(Control& c, const Creation& k) {
  const RECT& r = k.bounds;
  auto spin = std::make_unique<TSpinEdit>();
  spin->create(k.parent, k.id, r.left, r.top, r.right - r.left, r.bottom - r.top, k.font);
  const bool atOtherDpi = spin->Dpi() != k.dpi;
  spin->SetDpi(k.dpi);
  // Made at another DPI than the window's: the font again, now that the spin
  // edit knows the DPI its minimum height follows. Then the description's
  // height, unless it has it already (the spin edit was created at the
  // description's place, and keeps at least its minimum).
  if (atOtherDpi)
    setFont(spin->hwnd(), k.font);
  RECT made{};
  GetWindowRect(spin->hwnd(), &made);
  if (made.bottom - made.top != r.bottom - r.top)
    MoveWindow(spin->hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  own<ControlKind::SpinEdit>(c, std::move(spin));
}

template <ControlKind Kind> void createCombo(Control& c, const Creation& k) {
  const ControlDescription& row = k.row;
  const bool editable = Kind == ControlKind::EditCombo;
  const DWORD style = editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
  HWND hwnd =
      createPlain(L"COMBOBOX", 0, WS_TABSTOP | WS_VSCROLL | style, {}, k.parent, k.id, k.bounds);
  // The window font before any text: the entries and the selection are then
  // laid out once, in the font they are shown in.
  setFont(hwnd, k.font);
  if (editable)
    SendMessageW(hwnd, CB_LIMITTEXT, 0, 0); // any text, however long
  for (std::string_view entry : row.entries) {
    const std::wstring wide = tk::widen(entry);
    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(row.initialIndex), 0);
  if (row.initialIndex == NoSelection && !row.text.empty())
    tk::setWindowText(hwnd, tk::widen(row.text));
  auto combo = std::make_unique<CompletionCombo>();
  combo->attach(hwnd,
                {row.completion != Completion::Off, row.completion == Completion::OnWithDropDown});
  combo->onChange = k.onChange;
  own<Kind>(c, std::move(combo));
}

using Creator = void (*)(Control&, const Creation&);

Creator creatorFor(ControlKind kind) {
  switch (kind) {
  case ControlKind::GroupBox:
    return createGroup;
  case ControlKind::Label:
    return createLabel;
  case ControlKind::Button:
    return createButton;
  case ControlKind::EditCombo:
    return createCombo<ControlKind::EditCombo>;
  case ControlKind::DropDownList:
    return createCombo<ControlKind::DropDownList>;
  case ControlKind::SpinEdit:
    return createSpinEdit;
  case ControlKind::Edit:
    return createEdit;
  case ControlKind::CheckBox:
    return createCheckBox;
  case ControlKind::Memo:
    return createMemo;
  case ControlKind::TabControl:
    return createTabControl;
  case ControlKind::Page:
    return createPage;
  }
  return createLabel; // not reached: every kind has its creator above
}

} // namespace

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
    MoveWindow(c.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  }
}

void FormControls::dock() {
  for (Control& c : controls_) {
    if (c.row->dock == Dock::None || !c.hwnd)
      continue;
    const RECT r = boundsOf(c);
    MoveWindow(c.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
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
  MoveWindow(c.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
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
      MoveWindow(c.hwnd, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  // The pages lie over the tab control's lower part but come after it in the
  // tab order, which puts them below it in the z-order; clip the tab control
  // to its row of buttons so that it never paints over the page shown.
  RECT tabRect{};
  GetWindowRect(tabs, &tabRect);
  MapWindowPoints(nullptr, GetParent(tabs), reinterpret_cast<POINT*>(&tabRect), 2);
  HRGN strip = CreateRectRgn(0, 0, tabRect.right - tabRect.left, area.top - tabRect.top);
  if (strip && !SetWindowRgn(tabs, strip, TRUE))
    DeleteObject(strip); // on success the system owns the region
}

HWND FormControls::parentOf(const ControlDescription& row) const {
  if (row.parentId == ControlId::None)
    return form_;
  if (row.kind == ControlKind::Page)
    return GetParent(hwnd(row.parentId)); // beside the tab control, see placePages
  return hwnd(row.parentId);
}

const FormControls::Control* FormControls::find(HWND hwnd) const {
  // Each control's ID is its row's index past FirstControlId.
  if (!hwnd)
    return nullptr;
  const auto index = static_cast<std::size_t>(GetDlgCtrlID(hwnd) - FirstControlId);
  return index < controls_.size() && controls_[index].hwnd == hwnd ? &controls_[index] : nullptr;
}

} // namespace ui
