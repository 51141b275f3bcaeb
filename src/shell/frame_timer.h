#pragma once
// The frame clock of the main loop: 32 tick accumulators charged while
// their bit is set in the mask of the running phase, read in seconds. The
// counter is injected so the arithmetic runs without a real clock; the
// Windows side passes the performance counter.
#include <cstdint>

namespace shell {

class FrameTimer {
 public:
  using CounterFn = uint64_t (*)(void* context);

  FrameTimer(uint64_t frequency, CounterFn counter, void* context);

  // Clears the accumulators and the mask; the last mark is kept.
  void Reset();
  // Charges now - last to every slot of the current mask, then switches to
  // newMask.
  void Mark(uint32_t newMask);
  // Slot 0..31 in seconds (0 outside).
  float Seconds(int slot) const;
  uint64_t Ticks(int slot) const;
  uint32_t mask() const { return mask_; }

 private:
  float secondsPerTick_;
  float secondsPerHighWord_;
  CounterFn counter_;
  void* context_;
  uint32_t mask_ = 0;
  uint64_t acc_[32] = {};
  uint64_t last_;
};

// The frame clock's bounds: the redraw period and the largest step handed
// to animations.
constexpr float kFramePeriod = 1.0f / 60.0f;
constexpr float kMaxFrameStep = 1.0f / 6.0f;

// The step of one loop pass from the frame time: 1/60 s for none, at most
// 1/6 s.
float ClampFrameStep(float seconds);
// A redraw is due once the frame time passes 1/60 s (exactly 1/60 waits).
inline bool RedrawDue(float dt) { return dt > kFramePeriod; }

// How long an idle loop may wait for a message before the next frame is
// due, in milliseconds; kWaitForever when nothing animates (no 3D room).
constexpr uint32_t kWaitForever = 0xFFFFFFFFu;
uint32_t FrameWaitMs(bool animating, float frameSeconds);

}  // namespace shell
