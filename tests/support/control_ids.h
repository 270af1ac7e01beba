// Form1's controls by the names the tests' tables use: the description's name
// turned into its ControlId, so that an unknown name fails the test at once.
#pragma once

#include "ui/form_description.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace sheetloom_test {

inline ui::ControlId controlIdNamed(std::string_view name) {
  const ui::ControlDescription* row = ui::findControl(name);
  if (!row)
    throw std::invalid_argument("no control named " + std::string(name));
  return row->id;
}

} // namespace sheetloom_test
