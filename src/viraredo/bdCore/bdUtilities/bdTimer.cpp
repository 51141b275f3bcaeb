#include "bdCore/bdUtilities/bdTimer.h"

#include "bdCore/bdThread/bdPlatformTiming.h"

std::uint32_t bdTimer::stampNow() {
  return static_cast<std::uint32_t>(bdPlatformTiming::getHiResTimeStamp() / 100);
}

void bdTimer::start() { m_start = stampNow(); }

float bdTimer::getElapsedTimeInSeconds() const {
  const std::uint32_t elapsed = stampNow() - m_start;
  return static_cast<float>(static_cast<double>(elapsed) * 100.0 /
                            static_cast<double>(bdPlatformTiming::getFrequency()));
}
