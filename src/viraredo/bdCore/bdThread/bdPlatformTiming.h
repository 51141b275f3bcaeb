#pragma once
// The SDK's clock: the high-resolution counter behind one replaceable source,
// so that every stopwatch and timer can run on a test's fake clock.
#include <cstdint>

class bdPlatformTiming {
 public:
  using CounterFunc = std::uint64_t (*)();

  static std::uint64_t getHiResTimeStamp();
  static std::uint64_t getFrequency();
  // Seconds from earlier to later counter values.
  static double getElapsedTime(std::uint64_t earlier, std::uint64_t later);
  // Seconds between two 32-bit millisecond stamps; the later may have wrapped
  // (the difference is taken modulo 2^32).
  static unsigned int getElapsedSeconds(std::uint32_t earlier, std::uint32_t later);
  static void sleep(unsigned int milliseconds);

  // Null restores the platform counter.
  static void setClock(CounterFunc counter, CounterFunc frequency);
};
