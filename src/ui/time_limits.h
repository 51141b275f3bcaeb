#pragma once
// Time limits as the set-ups show them: minutes and seconds in two spins,
// milliseconds in the set-up, and the minimums a game may be played with
// (5 minutes a game, 30 seconds a move).
#include <cstdint>

namespace ui {

struct MinSec {
  int32_t minutes = 0;
  int32_t seconds = 0;
  bool operator==(const MinSec& o) const { return minutes == o.minutes && seconds == o.seconds; }
};

constexpr int32_t kMinGameMinutes = 5;
constexpr int32_t kMinMoveSeconds = 30;

// Whole minutes and the seconds within the minute (integer division).
MinSec SplitTimeMs(int32_t ms);
// (minutes x 60 + seconds) x 1000, each part held to 0..59 as the spins are.
int32_t JoinTimeMs(MinSec time);
// Fewer than 5 minutes are raised to 5, as the minutes spin is; the seconds
// stay.
MinSec ApplyGameTimeFloor(MinSec time);
// 0 minutes with fewer than 30 seconds become 0:30.
MinSec ApplyMoveTimeFloor(MinSec time);

}  // namespace ui
