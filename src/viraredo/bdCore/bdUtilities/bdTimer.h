#pragma once
// A time-out timer: one 32-bit stamp in units of 100 counter ticks. The elapsed
// time is the stamp difference modulo 2^32, so a stamp that wraps between
// start and now still gives the short interval, not a huge one.
#include <cstdint>

class bdTimer {
 public:
  bdTimer() : m_start(0) {}
  void start();
  void reset() { m_start = 0; }
  float getElapsedTimeInSeconds() const;

  static std::uint32_t stampNow();

 private:
  std::uint32_t m_start;
};
