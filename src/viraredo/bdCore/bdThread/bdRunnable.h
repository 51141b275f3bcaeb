#pragma once
#include <atomic>

// Work for a bdThread. run() is expected to return once the stop flag is set;
// the flag is read by the worker while the driving thread sets it, hence atomic.
class bdRunnable {
 public:
  bdRunnable() : m_stop(false) {}
  virtual ~bdRunnable() = default;
  virtual int run(void* args) = 0;
  virtual void stop() { m_stop = true; }

  bool isStopRequested() const { return m_stop; }
  void clearStop() { m_stop = false; }

 protected:
  std::atomic<bool> m_stop;
};
