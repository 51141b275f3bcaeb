#pragma once
// Measures seconds on the SDK clock; a start stamp of 0 means not started.
#include <cstdint>

class bdStopwatch {
 public:
  bdStopwatch() : m_start(0), m_stop(0) {}
  void start();
  void stop();
  void reset();
  // Seconds from start to stop; 0 until both are set.
  double getElapsed() const;
  // Seconds from start to now; 0 when not started.
  double getElapsedTimeAsSeconds() const;
  bool isStarted() const { return m_start != 0; }

 private:
  std::uint64_t m_start;
  std::uint64_t m_stop;
};
