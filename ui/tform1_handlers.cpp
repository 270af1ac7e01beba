// Form1's handlers, and the dispatch from the wiring table's Handler to
// them.
#include "ui/tform1.h"

#include "style/add_action.h"
#include "style/font_colour.h"
#include "style/side_editors.h"
#include "toolkit/text.h"
#include "ui/form_editors.h"

#include <iterator>
#include <utility>

namespace ui {

namespace st = style;

FormEditors& TForm1::editors() {
  if (!editors_)
    editors_ = std::make_unique<FormEditors>(controls_);
  return *editors_;
}

void TForm1::FormCreate(HWND) {
  fontDialog_.colour = RGB(0, 0, 0);
  fontDialog_.font.lfHeight = st::heightFromPointSize(12, static_cast<int>(screenDpi_));
  store_.reset();
}

void TForm1::TAGChange(HWND) {
  tk::setWindowText(controls_.hwnd(ControlId::GroupBox1),
                    tk::windowText(controls_.hwnd(ControlId::TAG)));
}

void TForm1::makeClick(HWND) {
  // Commits the three side groups as their handlers do, then composes the
  // rule from the controls and appends it to the memo.
  st::addRule(editors(), store_);
}

void TForm1::Button2Click(HWND) {
  document_.save(hwnd());
}

void TForm1::Button5Click(HWND) {
  document_.clear();
}

void TForm1::Button1Click(HWND) {
  const std::optional<tk::FontChoice> choice = tk::chooseFont(fontDialog_.font, fontDialog_.colour);
  if (!choice)
    return;
  st::FontDescription font;
  font.faceName = tk::narrow(choice->font.lfFaceName);
  font.height = choice->font.lfHeight;
  font.pixelsPerInch = static_cast<std::int32_t>(screenDpi_);
  font.weight = choice->font.lfWeight;
  font.italic = choice->font.lfItalic != 0;
  font.underline = choice->font.lfUnderline != 0;
  font.strikeOut = choice->font.lfStrikeOut != 0;
  font.colour = choice->colour;
  // Build the lines before keeping anything, so a failure changes nothing.
  st::FontDeclarations lines = st::fontDeclarations(font);
  store_.fontDeclarations = std::move(lines);
  fontDialog_.font = choice->font;
  fontDialog_.colour = choice->colour;
}

void TForm1::Button3Click(HWND) {
  chooseColourInto(ControlId::border_color);
}

void TForm1::Button4Click(HWND) {
  chooseColourInto(ControlId::back_color);
}

void TForm1::chooseColourInto(ControlId edit) {
  const std::optional<COLORREF> colour = tk::chooseColour(colourDialog_, customColours_);
  if (!colour)
    return;
  colourDialog_ = *colour;
  tk::setWindowText(controls_.hwnd(edit), tk::widen(st::colorCode(*colour)));
}

void TForm1::border_kindChange(HWND) {
  st::commit(editors().border, store_, st::BorderSides);
}

void TForm1::Ma_kindChange(HWND) {
  st::commit(editors().margin, store_, st::MarginSides);
}

void TForm1::Pa_kindChange(HWND) {
  st::commit(editors().padding, store_, st::PaddingSides);
}

namespace {

// The handler methods by their Handler value, None first (no method).
using HandlerMethod = void (TForm1::*)(HWND sender);
constexpr std::pair<Handler, HandlerMethod> kHandlerMethods[] = {
    {Handler::None, nullptr},
    {Handler::FormCreate, &TForm1::FormCreate},
    {Handler::TAGChange, &TForm1::TAGChange},
    {Handler::makeClick, &TForm1::makeClick},
    {Handler::Button2Click, &TForm1::Button2Click},
    {Handler::Button5Click, &TForm1::Button5Click},
    {Handler::Button1Click, &TForm1::Button1Click},
    {Handler::Button3Click, &TForm1::Button3Click},
    {Handler::Button4Click, &TForm1::Button4Click},
    {Handler::border_kindChange, &TForm1::border_kindChange},
    {Handler::Ma_kindChange, &TForm1::Ma_kindChange},
    {Handler::Pa_kindChange, &TForm1::Pa_kindChange},
};

constexpr bool inHandlerOrder() {
  for (std::size_t i = 0; i < std::size(kHandlerMethods); ++i)
    if (kHandlerMethods[i].first != static_cast<Handler>(i))
      return false;
  return true;
}
static_assert(std::size(kHandlerMethods) == static_cast<std::size_t>(Handler::Count),
              "a handler without its method");
static_assert(inHandlerOrder(), "the methods must follow the Handler order");

} // namespace

void TForm1::run(Handler handler, HWND sender) {
  const auto index = static_cast<std::size_t>(handler);
  if (handler == Handler::None || index >= std::size(kHandlerMethods))
    return;
  (this->*kHandlerMethods[index].second)(sender);
}

} // namespace ui
