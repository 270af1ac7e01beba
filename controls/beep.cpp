#include "controls/beep.h"

namespace controls {
namespace {

class MessageBeeper final : public Beep {
public:
  void sound(UINT type) const noexcept override { MessageBeep(type); }
};

} // namespace

const Beep& systemBeep() noexcept {
  static const MessageBeeper beeper{};
  return beeper;
}

} // namespace controls
