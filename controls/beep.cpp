#include "controls/beep.h"

namespace controls {
namespace {

void messageBeep(UINT type) {
  MessageBeep(type);
}

BeepFunction g_beep = messageBeep;

} // namespace

BeepFunction setBeepFunction(BeepFunction beepFunction) noexcept {
  BeepFunction old = g_beep;
  g_beep = beepFunction ? beepFunction : messageBeep;
  return old;
}

void beep(UINT type) noexcept {
  g_beep(type);
}

} // namespace controls
