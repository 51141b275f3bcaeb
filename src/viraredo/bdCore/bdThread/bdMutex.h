#pragma once
#include <mutex>

// A plain lock, waited for without a time limit.
class bdMutex {
 public:
  bdMutex() = default;
  bdMutex(const bdMutex&) = delete;
  bdMutex& operator=(const bdMutex&) = delete;
  void lock() { m_mutex.lock(); }
  void unlock() { m_mutex.unlock(); }

 private:
  std::mutex m_mutex;
};
