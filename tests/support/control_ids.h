// Form1's controls as the tests print them: by their names in the
// description, in failure messages and in gtest's output of values.
#pragma once

#include "ui/form_description.h"

#include <ostream>

namespace ui {

inline std::ostream& operator<<(std::ostream& os, ControlId id) {
  return os << nameOf(id);
}

} // namespace ui
