#include "bdCore/bdUtilities/bdStopwatch.h"

#include "bdCore/bdThread/bdPlatformTiming.h"

void bdStopwatch::start() { m_start = bdPlatformTiming::getHiResTimeStamp(); }

void bdStopwatch::stop() {
  if (m_start != 0) m_stop = bdPlatformTiming::getHiResTimeStamp();
}

void bdStopwatch::reset() {
  m_start = 0;
  m_stop = 0;
}

double bdStopwatch::getElapsed() const {
  if (m_start == 0 || m_stop == 0) return 0.0;
  return bdPlatformTiming::getElapsedTime(m_start, m_stop);
}

double bdStopwatch::getElapsedTimeAsSeconds() const {
  if (m_start == 0) return 0.0;
  return bdPlatformTiming::getElapsedTime(m_start, bdPlatformTiming::getHiResTimeStamp());
}
