#include "ui/form_parts.h"

#include "controls/completion_combo.h"
#include "controls/spin_edit.h"
#include "toolkit/placement.h"
#include "toolkit/window.h"
#include "ui/containers.h"
#include "ui/memo.h"

#include <commctrl.h>

#include <memory>

namespace ui {
namespace {

// Created in place: moving a control after its creation costs another round of
// position messages, which adds up over the whole form.
HWND createPlain(const wchar_t* className, DWORD exStyle, DWORD style, std::string_view text,
                 HWND parent, int id, const RECT& r) {
  const std::wstring wide = tk::widen(text);
  tk::CreateArgs args = tk::CreateArgs::child(parent, id, r);
  args.exStyle = exStyle;
  args.style |= WS_VISIBLE | style;
  args.text = wide.c_str();
  return tk::createChild(className, args);
}

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
    tk::moveWindow(spin->hwnd(), r, false);
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

} // namespace

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

} // namespace ui
