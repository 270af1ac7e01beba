// The spin edit's beep, handed to it at construction. A seam that stays: a
// refused key or step is heard, not seen, so a test can only count beeps
// through a Beep of its own. The program uses systemBeep().
#pragma once

#include <windows.h>

namespace controls {

class Beep {
public:
  virtual ~Beep() = default;
  // Sounds the beep of `type`, as MessageBeep takes it.
  virtual void sound(UINT type) const noexcept = 0;
};

// MessageBeep.
const Beep& systemBeep() noexcept;

} // namespace controls
