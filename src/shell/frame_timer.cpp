#include "shell/frame_timer.h"

#include <cmath>

namespace shell {

FrameTimer::FrameTimer(uint64_t frequency, CounterFn counter, void* context)
    : counter_(counter), context_(context) {
  // A zero frequency would make every reading infinite; one tick a second
  // keeps the arithmetic finite.
  double f = frequency ? static_cast<double>(frequency) : 1.0;
  secondsPerTick_ = static_cast<float>(1.0 / f);
  secondsPerHighWord_ = static_cast<float>(4294967296.0 / f);
  last_ = counter_ ? counter_(context_) : 0;
}

void FrameTimer::Reset() {
  for (uint64_t& a : acc_)
    a = 0;
  mask_ = 0;
}

void FrameTimer::Mark(uint32_t newMask) {
  uint64_t now = counter_ ? counter_(context_) : last_;
  uint64_t spent = now - last_;
  for (int i = 0; i < 32; ++i)
    if (mask_ & (1u << i)) acc_[i] += spent;
  last_ = now;
  mask_ = newMask;
}

uint64_t FrameTimer::Ticks(int slot) const { return slot >= 0 && slot < 32 ? acc_[slot] : 0; }

float FrameTimer::Seconds(int slot) const {
  uint64_t t = Ticks(slot);
  uint32_t low = static_cast<uint32_t>(t);
  int32_t high = static_cast<int32_t>(t >> 32);
  return static_cast<float>(low) * secondsPerTick_ + static_cast<float>(high) * secondsPerHighWord_;
}

float ClampFrameStep(float seconds) {
  if (!(seconds > 0.0f)) return kFramePeriod;  // also a NaN
  return seconds > kMaxFrameStep ? kMaxFrameStep : seconds;
}

uint32_t FrameWaitMs(bool animating, float frameSeconds) {
  if (!animating) return kWaitForever;
  if (!(frameSeconds >= 0.0f)) return 0;
  float left = kFramePeriod - frameSeconds;
  if (left <= 0.0f) return 0;
  return static_cast<uint32_t>(std::ceil(left * 1000.0f));
}

}  // namespace shell
