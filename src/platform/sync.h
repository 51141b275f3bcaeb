#pragma once
// Threads and synchronisation with the Win32 object semantics the program
// relies on: auto/manual-reset events, counted semaphores, a recursive
// critical section. Built on the standard library so both builds share it.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace platform {

constexpr uint32_t kInfinite = 0xFFFFFFFFu;

using Mutex = std::mutex;
using LockGuard = std::lock_guard<std::mutex>;

// A recursive lock, like a Win32 critical section.
class CriticalSection {
 public:
  void Enter() { m_.lock(); }
  bool TryEnter() { return m_.try_lock(); }
  void Leave() { m_.unlock(); }
  void lock() { m_.lock(); }
  void unlock() { m_.unlock(); }

 private:
  std::recursive_mutex m_;
};

class Event {
 public:
  // A manual-reset event stays set until Reset; an auto-reset event releases
  // one waiter and clears itself.
  explicit Event(bool manualReset = false, bool initialState = false)
      : manual_(manualReset), set_(initialState) {}
  void Set();
  void Reset();
  // Returns true when signalled, false on time-out.
  bool Wait(uint32_t timeoutMs = kInfinite);

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool manual_;
  bool set_;
};

class Semaphore {
 public:
  Semaphore(int32_t initial, int32_t maximum) : count_(initial), max_(maximum) {}
  // Fails (returns false, count unchanged) when the count would pass the maximum.
  bool Release(int32_t n = 1, int32_t* previous = nullptr);
  bool Wait(uint32_t timeoutMs = kInfinite);

 private:
  std::mutex m_;
  std::condition_variable cv_;
  int32_t count_;
  int32_t max_;
};

void SleepMs(uint32_t ms);

}  // namespace platform
