#pragma once
// Clocks: a monotonic high-resolution counter (QueryPerformanceCounter on
// Windows), a millisecond tick count that wraps like GetTickCount, and the
// local date and time.
#include <cstdint>

namespace platform {

int64_t HighResCounter();
int64_t HighResFrequency();  // counts per second
uint32_t TickCount();        // milliseconds, wraps modulo 2^32

struct LocalDateTime {
  int year;
  int month;      // 1..12
  int dayOfWeek;  // 0 = Sunday
  int day;        // 1..31
  int hour;
  int minute;
  int second;
  int milliseconds;
};

LocalDateTime GetLocalDateTime();

}  // namespace platform
