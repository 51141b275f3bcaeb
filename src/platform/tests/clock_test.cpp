// Clocks: no timing figures are asserted, only direction and plausibility.
#include "platform/clock.h"

#include <gtest/gtest.h>

#include "platform/sync.h"

namespace {

TEST(Clock, HighResCounterIsMonotonic) {
  EXPECT_GT(platform::HighResFrequency(), 0);
  int64_t last = platform::HighResCounter();
  for (int i = 0; i < 10000; ++i) {
    int64_t now = platform::HighResCounter();
    ASSERT_GE(now, last);
    last = now;
  }
}

TEST(Clock, TickCountAndCounterAdvanceAcrossASleep) {
  uint32_t t0 = platform::TickCount();
  int64_t c0 = platform::HighResCounter();
  platform::SleepMs(60);
  uint32_t ticks = platform::TickCount() - t0;  // modular: survives a wrap
  int64_t counts = platform::HighResCounter() - c0;
  EXPECT_GT(ticks, 0u);
  EXPECT_LT(ticks, 60000u);
  // At least half the sleep, so a counter in the wrong unit shows up.
  EXPECT_GE(counts, platform::HighResFrequency() * 30 / 1000);
}

TEST(Clock, LocalDateTimeFieldsAreInRange) {
  platform::LocalDateTime t = platform::GetLocalDateTime();
  EXPECT_GE(t.year, 2020);
  EXPECT_GE(t.month, 1);
  EXPECT_LE(t.month, 12);
  EXPECT_GE(t.day, 1);
  EXPECT_LE(t.day, 31);
  EXPECT_GE(t.dayOfWeek, 0);
  EXPECT_LE(t.dayOfWeek, 6);
  EXPECT_LE(t.hour, 23);
  EXPECT_LE(t.minute, 59);
  EXPECT_LE(t.second, 60);
  EXPECT_LE(t.milliseconds, 999);
}

}  // namespace
