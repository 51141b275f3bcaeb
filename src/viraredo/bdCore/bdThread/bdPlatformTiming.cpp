#include "bdCore/bdThread/bdPlatformTiming.h"

#include "platform/clock.h"
#include "platform/sync.h"

namespace {
std::uint64_t platformCounter() { return static_cast<std::uint64_t>(platform::HighResCounter()); }
std::uint64_t platformFrequency() {
  return static_cast<std::uint64_t>(platform::HighResFrequency());
}

bdPlatformTiming::CounterFunc g_counter = &platformCounter;
bdPlatformTiming::CounterFunc g_frequency = &platformFrequency;
}  // namespace

std::uint64_t bdPlatformTiming::getHiResTimeStamp() { return g_counter(); }

std::uint64_t bdPlatformTiming::getFrequency() {
  const std::uint64_t f = g_frequency();
  return f == 0 ? 1 : f;
}

double bdPlatformTiming::getElapsedTime(std::uint64_t earlier, std::uint64_t later) {
  return static_cast<double>(later - earlier) / static_cast<double>(getFrequency());
}

unsigned int bdPlatformTiming::getElapsedSeconds(std::uint32_t earlier, std::uint32_t later) {
  return static_cast<std::uint32_t>(later - earlier) / 1000u;
}

void bdPlatformTiming::sleep(unsigned int milliseconds) { platform::SleepMs(milliseconds); }

void bdPlatformTiming::setClock(CounterFunc counter, CounterFunc frequency) {
  g_counter = counter != nullptr ? counter : &platformCounter;
  g_frequency = frequency != nullptr ? frequency : &platformFrequency;
}
