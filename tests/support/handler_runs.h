// How often each handler of a Form1 has run while this object watched it:
// the tests' view of the wiring, kept out of the window itself.
#pragma once

#include "tests/support/non_copyable.h"
#include "ui/tform1.h"

#include <map>

namespace sheetloom_test {

class HandlerRuns : NonCopyable {
public:
  explicit HandlerRuns(ui::TForm1& form) : form_(form) {
    form.setHandlerObserver([this](ui::Handler handler) { ++runs_[handler]; });
  }
  ~HandlerRuns() { form_.setHandlerObserver(nullptr); }

  int operator()(ui::Handler handler) const {
    const auto it = runs_.find(handler);
    return it == runs_.end() ? 0 : it->second;
  }

private:
  ui::TForm1& form_;
  std::map<ui::Handler, int> runs_;
};

} // namespace sheetloom_test
