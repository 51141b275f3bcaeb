#include "platform/sync.h"

namespace platform {

namespace {
template <class Pred>
bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t timeoutMs,
             Pred pred) {
  if (timeoutMs == kInfinite) {
    cv.wait(lock, pred);
    return true;
  }
  return cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), pred);
}
}  // namespace

void Event::Set() {
  {
    std::lock_guard<std::mutex> lock(m_);
    set_ = true;
  }
  if (manual_)
    cv_.notify_all();
  else
    cv_.notify_one();
}

void Event::Reset() {
  std::lock_guard<std::mutex> lock(m_);
  set_ = false;
}

bool Event::Wait(uint32_t timeoutMs) {
  std::unique_lock<std::mutex> lock(m_);
  if (!WaitFor(cv_, lock, timeoutMs, [this] { return set_; })) return false;
  if (!manual_) set_ = false;
  return true;
}

bool Semaphore::Release(int32_t n, int32_t* previous) {
  std::lock_guard<std::mutex> lock(m_);
  if (n <= 0 || count_ > max_ - n) return false;
  if (previous) *previous = count_;
  count_ += n;
  for (int32_t i = 0; i < n; ++i)
    cv_.notify_one();
  return true;
}

bool Semaphore::Wait(uint32_t timeoutMs) {
  std::unique_lock<std::mutex> lock(m_);
  if (!WaitFor(cv_, lock, timeoutMs, [this] { return count_ > 0; })) return false;
  --count_;
  return true;
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace platform
