#include "ui/time_limits.h"

#include <algorithm>

namespace ui {

MinSec SplitTimeMs(int32_t ms) {
  ms = std::max(ms, 0);
  return MinSec{ms / 60000, (ms / 1000) % 60};
}

int32_t JoinTimeMs(MinSec time) {
  return (std::clamp(time.minutes, 0, 59) * 60 + std::clamp(time.seconds, 0, 59)) * 1000;
}

MinSec ApplyGameTimeFloor(MinSec time) {
  time.minutes = std::max(time.minutes, kMinGameMinutes);
  return time;
}

MinSec ApplyMoveTimeFloor(MinSec time) {
  if (time.minutes <= 0 && time.seconds < kMinMoveSeconds) return MinSec{0, kMinMoveSeconds};
  return time;
}

}  // namespace ui
