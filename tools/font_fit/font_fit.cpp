// Measures how well a font fits the main window's design: every caption and
// list entry of the window description, drawn at the window font's 12 pixels
// (96 dpi), against the room that the control of its row gives it. Real
// controls (edit, combo, button, check box) are created with the font and
// asked for their text area, so their own margins count.
//
//   font_fit [--detail] [FACE...]
//
// Without a face, every installed Shift_JIS face (vertical @ faces left out)
// is measured. One summary line per face; --detail adds one line per row.
#include "toolkit/handles.h"
#include "toolkit/text.h"
#include "ui/form_description.h"
#include "ui/window_fonts.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

using ui::ControlDescription;
using ui::ControlKind;

tk::UniqueFont makeFont(const std::wstring& face) {
  const LOGFONTW lf = ui::windowLogFont(face, ui::WindowFontHeight);
  return tk::UniqueFont(CreateFontIndirectW(&lf));
}

SIZE extent(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The text a row shows that has the least room: a caption, the widest list
// entry, or for the colour boxes a colour code.
std::wstring widestText(HDC dc, const ControlDescription& row) {
  if (row.kind == ControlKind::Edit)
    return L"#000000";
  if (row.kind != ControlKind::EditCombo && row.kind != ControlKind::DropDownList)
    return tk::widen(row.text);
  std::wstring widest;
  for (std::string_view entry : row.entries) {
    std::wstring wide = tk::widen(entry);
    if (extent(dc, wide).cx > extent(dc, widest).cx)
      widest = wide;
  }
  return widest;
}

// The room a label has: up to the nearest control to its right in the same
// parent whose rows overlap its own.
int labelRoom(const ControlDescription& label) {
  int room = 10000;
  const ui::Bounds& b = label.bounds;
  for (const auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
    const ui::Bounds& o = row->bounds;
    if (row == &label || row->parentId != label.parentId || o.left <= b.left)
      continue;
    if (o.top < b.top + b.height && b.top < o.top + o.height)
      room = std::min(room, o.left - b.left);
  }
  return room;
}

HWND child(HWND parent, const wchar_t* cls, DWORD exStyle, DWORD style, const std::wstring& text,
           const ui::Bounds& b, HFONT font) {
  HWND h = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | style, 0, 0, b.width, b.height,
                           parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

int editRoom(HWND edit) {
  RECT r{};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r.right - r.left;
}

// Room for the widest text of a row, as the row's real control gives it.
int controlRoom(HWND parent, HFONT font, const ControlDescription& row, const std::wstring& text) {
  const ui::Bounds& b = row.bounds;
  switch (row.kind) {
  case ControlKind::Label:
    return labelRoom(row);
  case ControlKind::Edit: {
    tk::UniqueHwnd edit(child(parent, L"EDIT", WS_EX_CLIENTEDGE, ES_AUTOHSCROLL, L"", b, font));
    return editRoom(edit.get());
  }
  case ControlKind::Button:
  case ControlKind::CheckBox: {
    // The ideal size is the caption plus the control's own parts and margins;
    // what it leaves of the design width is the text's room beyond its width.
    const DWORD style = row.kind == ControlKind::Button ? BS_PUSHBUTTON : BS_AUTOCHECKBOX;
    tk::UniqueHwnd button(child(parent, L"BUTTON", 0, style, text, b, font));
    SIZE ideal{};
    SendMessageW(button.get(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    tk::WindowDc dc(button.get());
    tk::SelectScope select(dc.get(), font);
    return b.width - (ideal.cx - extent(dc.get(), text).cx);
  }
  case ControlKind::EditCombo:
  case ControlKind::DropDownList: {
    const bool editable = row.kind == ControlKind::EditCombo;
    tk::UniqueHwnd combo(
        child(parent, L"COMBOBOX", 0,
              WS_VSCROLL | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST), L"",
              {0, 0, b.width, 200}, font));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo.get(), &info);
    int closed = editable ? editRoom(info.hwndItem) : info.rcItem.right - info.rcItem.left - 4;
    // The open list: the combo's width less its frame, the scroll bar when it
    // holds more entries than it shows, and the item's text indent.
    int open = b.width - 2 - 4;
    if (row.entries.size > static_cast<std::size_t>(ui::ListVisibleItems))
      open -= GetSystemMetrics(SM_CXVSCROLL);
    return std::min(closed, open);
  }
  default:
    return 10000;
  }
}

const char* kindName(ControlKind kind) {
  switch (kind) {
  case ControlKind::Label:
    return "label";
  case ControlKind::Button:
    return "button";
  case ControlKind::CheckBox:
    return "check";
  case ControlKind::Edit:
    return "edit";
  case ControlKind::EditCombo:
    return "combo";
  case ControlKind::DropDownList:
    return "list";
  default:
    return "other";
  }
}

bool measured(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::Button ||
         kind == ControlKind::CheckBox || kind == ControlKind::Edit ||
         kind == ControlKind::EditCombo || kind == ControlKind::DropDownList;
}

void measure(HWND parent, const std::wstring& face, bool detail) {
  tk::UniqueFont font = makeFont(face);
  tk::WindowDc dc(parent);
  tk::SelectScope select(dc.get(), font.get());
  wchar_t used[LF_FACESIZE] = {};
  GetTextFaceW(dc.get(), LF_FACESIZE, used);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);

  int labelsWider = 0, labelsInto = 0, labelDeviation = 0, cut = 0, tightest = 10000;
  std::string tightestName, details;
  for (const auto* row = ui::formDescriptionBegin(); row != ui::formDescriptionEnd(); ++row) {
    if (!measured(row->kind))
      continue;
    const std::wstring text = widestText(dc.get(), *row);
    const int width = extent(dc.get(), text).cx;
    const int room = controlRoom(parent, font.get(), *row, text);
    if (row->kind == ControlKind::Label) {
      labelDeviation += std::abs(width - row->bounds.width);
      labelsWider += width > row->bounds.width;
      labelsInto += width > room;
    } else {
      cut += width > room;
    }
    if (room - width < tightest) {
      tightest = room - width;
      tightestName = std::string(ui::nameOf(row->id));
    }
    if (detail) {
      char line[160];
      std::snprintf(line, sizeof line, "  %-7s %-13s %4d %4d %4d %+4d  ", kindName(row->kind),
                    std::string(ui::nameOf(row->id)).c_str(), row->bounds.width, width, room,
                    room - width);
      details += line + tk::narrow(text) + "\n";
    }
  }
  std::printf("%s\t%s\t%ld\t%ld/%ld\t%d\t%d\t%d\t%d\t%+d %s\n", tk::narrow(face).c_str(),
              tk::narrow(used).c_str(), tm.tmHeight, tm.tmAscent, tm.tmDescent, labelsWider,
              labelsInto, labelDeviation, cut, tightest, tightestName.c_str());
  if (detail)
    std::printf("  kind    control       designed text room slack  widest text\n%s",
                details.c_str());
}

int CALLBACK noteFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM param) {
  if (lf->lfFaceName[0] != L'@' && (type & TRUETYPE_FONTTYPE))
    reinterpret_cast<std::set<std::wstring>*>(param)->insert(lf->lfFaceName);
  return 1;
}

std::vector<std::wstring> installedFaces() {
  std::set<std::wstring> faces;
  tk::WindowDc dc(nullptr);
  LOGFONTW pattern{};
  pattern.lfCharSet = SHIFTJIS_CHARSET;
  EnumFontFamiliesExW(dc.get(), &pattern, noteFace, reinterpret_cast<LPARAM>(&faces), 0);
  return {faces.begin(), faces.end()};
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  bool detail = false;
  std::vector<std::wstring> faces;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--detail") == 0)
      detail = true;
    else
      faces.emplace_back(argv[i]);
  }
  if (faces.empty())
    faces = installedFaces();
  tk::UniqueHwnd parent(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr));
  std::printf("face\tused\theight\tascent/descent\tlabels wider than designed\tlabels into "
              "neighbour\tlabel deviation (px)\tcontrol texts cut\ttightest slack\n");
  for (const std::wstring& face : faces)
    measure(parent.get(), face, detail);
  return 0;
}
