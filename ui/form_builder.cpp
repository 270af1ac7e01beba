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
  onChange_ = std::move(onChange);
  controls_.reserve(formDescriptionSize());
  const CaptionMeasure measure(fonts.controls.get());
  int id = FirstControlId;
  for (const ControlDescription* row = formDescriptionBegin(); row != formDescriptionEnd(); ++row)
    create(*row, fonts, measure, id++);
  placePages();
}

FormControls::Control& FormControls::create(const ControlDescription& row, const WindowFonts& fonts,
                                            const CaptionMeasure& measure, int id) {
  HWND parent = parentOf(row);
  Control& c = controls_.emplace_back();
  c.row = &row;
  c.captionPending = row.kind == ControlKind::Label && onHiddenPage(row);
  const RECT r = boundsOf(c, c.captionPending ? nullptr : &measure);
  bool spinAtOtherDpi = false;
  switch (row.kind) {
  case ControlKind::GroupBox: {
    auto group = std::make_unique<GroupContainer>();
    group->create(parent, id, r, row.text);
    group->setTarget(form_);
    c.hwnd = group->hwnd();
    c.window = std::move(group);
    break;
  }
  case ControlKind::Page: {
    HWND tabs = named(row.parent).hwnd;
    const std::wstring caption = tk::widen(row.text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    const auto index = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    auto page = std::make_unique<PageContainer>();
    page->create(parent, id, RECT{}, index == 0);
    page->setTarget(form_);
    c.hwnd = page->hwnd();
    c.window = std::move(page);
    break;
  }
  case ControlKind::Label:
    c.hwnd = createPlain(L"STATIC", 0, SS_LEFT | SS_NOPREFIX, row.text, parent, id, r);
    break;
  case ControlKind::Button:
    c.hwnd = createPlain(L"BUTTON", 0, WS_TABSTOP | BS_PUSHBUTTON, row.text, parent, id, r);
    break;
  case ControlKind::CheckBox:
    c.hwnd = createPlain(L"BUTTON", 0, WS_TABSTOP | BS_AUTOCHECKBOX, row.text, parent, id, r);
    break;
  case ControlKind::Edit:
    c.hwnd = createPlain(L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_AUTOHSCROLL, row.text, parent,
                         id, r);
    SendMessageW(c.hwnd, EM_SETLIMITTEXT, 0, 0); // any text, however long
    break;
  case ControlKind::TabControl: {
    auto tabs = std::make_unique<TabControl>();
    tabs->create(parent, id, r);
    c.hwnd = tabs->hwnd();
    c.window = std::move(tabs);
    break;
  }
  case ControlKind::Memo: {
    auto memo = std::make_unique<Memo>();
    memo->create(parent, id, r);
    c.hwnd = memo->hwnd();
    c.window = std::move(memo);
    break;
  }
  case ControlKind::SpinEdit: {
    auto spin = std::make_unique<TSpinEdit>();
    spin->create(parent, id, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 fonts.controls.get());
    spinAtOtherDpi = spin->Dpi() != dpi_;
    spin->SetDpi(dpi_);
    c.hwnd = spin->hwnd();
    c.window = std::move(spin);
    break;
  }
  case ControlKind::EditCombo:
  case ControlKind::DropDownList: {
    const DWORD style =
        row.kind == ControlKind::EditCombo ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    c.hwnd = createPlain(L"COMBOBOX", 0, WS_TABSTOP | WS_VSCROLL | style, {}, parent, id, r);
    // The window font before any text: the entries and the selection are then
    // laid out once, in the font they are shown in.
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.controls.get()), FALSE);
    if (row.kind == ControlKind::EditCombo)
      SendMessageW(c.hwnd, CB_LIMITTEXT, 0, 0); // any text, however long
    for (std::string_view entry : row.entries) {
      const std::wstring wide = tk::widen(entry);
      SendMessageW(c.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(c.hwnd, CB_SETCURSEL, static_cast<WPARAM>(row.initialIndex), 0);
    if (row.initialIndex == NoSelection && !row.text.empty())
      tk::setWindowText(c.hwnd, tk::widen(row.text));
    c.combo = std::make_unique<CompletionCombo>();
    c.combo->attach(
        c.hwnd, {row.completion != Completion::Off, row.completion == Completion::OnWithDropDown});
    const ControlDescription* self = &row;
    c.combo->onChange = [this, self] {
      if (onChange_)
        onChange_(*self);
    };
    break;
  }
  }
  switch (row.kind) {
  case ControlKind::SpinEdit: {
    // Made at another DPI than the window's: the font again, now that the
    // spin edit knows the DPI its minimum height follows. Then the
    // description's height, unless it has it already (the spin edit was
    // created at the description's place, and keeps at least its minimum).
    if (spinAtOtherDpi)
      SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.controls.get()), FALSE);
    RECT made{};
    GetWindowRect(c.hwnd, &made);
    if (made.bottom - made.top != r.bottom - r.top)
      MoveWindow(c.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    break;
  }
  case ControlKind::EditCombo:
  case ControlKind::DropDownList:
    fitCombo(c.hwnd);
    break;
  default:
    SendMessageW(c.hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(row.kind == ControlKind::Memo ? fonts.memo.get()
                                                                        : fonts.controls.get()),
                 FALSE);
    break;
  }
  return c;
}

void FormControls::relayout(UINT dpi, const WindowFonts& fonts) {
  dpi_ = dpi;
  const CaptionMeasure measure(fonts.controls.get());
  for (Control& c : controls_) {
    HFONT font = c.row->kind == ControlKind::Memo ? fonts.memo.get() : fonts.controls.get();
    if (c.row->kind == ControlKind::SpinEdit) {
      TSpinEdit& spin = static_cast<TSpinEdit&>(*c.window);
      spin.SetDpi(dpi);
      spin.SetFont(font);
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
  for (const ControlDescription* r = findControl(row.parent); r; r = findControl(r->parent)) {
    if (r->kind == ControlKind::Page)
      return (GetWindowLongPtrW(named(r->name).hwnd, GWL_STYLE) & WS_VISIBLE) == 0;
  }
  return false;
}

void FormControls::fitCaptionsOn(HWND page) {
  std::optional<CaptionMeasure> measure;
  for (Control& c : controls_) {
    if (!c.captionPending || !IsChild(page, c.hwnd))
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
    if (c.row->dock == Dock::None)
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
  HWND tabs = hwnd("PageControl1");
  RECT r{};
  GetWindowRect(tabs, &r);
  MapWindowPoints(nullptr, GetParent(tabs), reinterpret_cast<POINT*>(&r), 2);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void FormControls::placePages() {
  const RECT area = pageArea();
  HWND tabs = hwnd("PageControl1");
  for (Control& c : controls_)
    if (c.row->kind == ControlKind::Page)
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

const FormControls::Control& FormControls::named(std::string_view name) const {
  for (const Control& c : controls_)
    if (c.row->name == name)
      return c;
  throw tk::Error("unknown control: " + std::string(name));
}

HWND FormControls::parentOf(const ControlDescription& row) const {
  if (row.parent == "Form1")
    return form_;
  if (row.kind == ControlKind::Page)
    return GetParent(named(row.parent).hwnd); // beside the tab control, see placePages
  return named(row.parent).hwnd;
}

HWND FormControls::hwnd(std::string_view name) const {
  return named(name).hwnd;
}

TSpinEdit& FormControls::spinEdit(std::string_view name) const {
  const Control& c = named(name);
  if (c.row->kind != ControlKind::SpinEdit)
    throw tk::Error("not a spin edit: " + std::string(name));
  return static_cast<TSpinEdit&>(*c.window);
}

CompletionCombo& FormControls::combo(std::string_view name) const {
  const Control& c = named(name);
  if (!c.combo)
    throw tk::Error("not a combo: " + std::string(name));
  return *c.combo;
}

Memo& FormControls::memo() const {
  return static_cast<Memo&>(*named("StyleSheet").window);
}

const FormControls::Control* FormControls::find(HWND hwnd) const {
  for (const Control& c : controls_)
    if (c.hwnd == hwnd)
      return &c;
  return nullptr;
}

} // namespace ui
