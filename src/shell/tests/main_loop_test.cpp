// The frame clock with an injected counter, the loop's step and wait
// arithmetic, and the switches other components turn on the loop.
#include <gtest/gtest.h>

#include <cmath>

#include "shell/frame_timer.h"
#include "shell/main_loop_state.h"

namespace {

using shell::FrameTimer;

struct FakeCounter {
  uint64_t now = 1000;
  static uint64_t Read(void* self) { return static_cast<FakeCounter*>(self)->now; }
};

TEST(FrameTimer, MarksChargeTheSlotsOfTheRunningMask) {
  FakeCounter c;
  FrameTimer t(1000, FakeCounter::Read, &c);
  t.Mark(0x9);  // slots 0 and 3 from here
  c.now += 40;
  t.Mark(0x2);  // slot 1 from here
  c.now += 7;
  t.Mark(0x1);
  c.now += 5;
  t.Mark(0);
  EXPECT_EQ(t.Ticks(0), 45u);
  EXPECT_EQ(t.Ticks(1), 7u);
  EXPECT_EQ(t.Ticks(3), 40u);
  EXPECT_EQ(t.Ticks(2), 0u);
  EXPECT_FLOAT_EQ(t.Seconds(0), 0.045f);
  EXPECT_EQ(t.Ticks(32), 0u);
  EXPECT_EQ(t.Seconds(-1), 0.0f);
  t.Reset();
  EXPECT_EQ(t.Ticks(0), 0u);
  EXPECT_EQ(t.mask(), 0u);
  c.now += 100;  // nothing charged with an empty mask; last is kept
  t.Mark(1);
  c.now += 3;
  t.Mark(0);
  EXPECT_EQ(t.Ticks(0), 3u);
}

TEST(FrameTimer, SecondsAcrossTheHighWordAndAWrappingCounter) {
  FakeCounter c;
  c.now = ~uint64_t{0} - 10;  // the counter wraps during the frame
  FrameTimer t(uint64_t{1} << 32, FakeCounter::Read, &c);
  t.Mark(1);
  c.now += (uint64_t{3} << 32) + 21;  // three high words and a half
  t.Mark(0);
  EXPECT_EQ(t.Ticks(0), (uint64_t{3} << 32) + 21);
  EXPECT_NEAR(t.Seconds(0), 3.0f, 1e-6f);
  FrameTimer zero(0, FakeCounter::Read, &c);  // no frequency: finite readings
  zero.Mark(1);
  c.now += 2;
  zero.Mark(0);
  EXPECT_FLOAT_EQ(zero.Seconds(0), 2.0f);
}

TEST(FrameLoop, StepRedrawAndWait) {
  struct Case {
    float seconds, step;
  } steps[] = {{0.0f, 1 / 60.0f}, {-1.0f, 1 / 60.0f}, {NAN, 1 / 60.0f},
               {0.01f, 0.01f},    {1.0f, 1 / 6.0f},   {1 / 6.0f, 1 / 6.0f}};
  for (const Case& k : steps)
    EXPECT_FLOAT_EQ(shell::ClampFrameStep(k.seconds), k.step) << k.seconds;
  EXPECT_FALSE(shell::RedrawDue(shell::kFramePeriod));  // exactly 1/60 waits
  EXPECT_TRUE(shell::RedrawDue(0.017f));
  EXPECT_FALSE(shell::RedrawDue(0.001f));
  EXPECT_EQ(shell::FrameWaitMs(false, 0.0f), shell::kWaitForever);  // idle: no timer
  EXPECT_EQ(shell::FrameWaitMs(true, 0.0f), 17u);
  EXPECT_EQ(shell::FrameWaitMs(true, 0.010f), 7u);
  EXPECT_EQ(shell::FrameWaitMs(true, 0.5f), 0u);
  EXPECT_EQ(shell::FrameWaitMs(true, NAN), 0u);
}

class LoopSwitches : public ::testing::Test {
 protected:
  void SetUp() override { shell::GetMainLoopSwitches() = shell::MainLoopSwitches(); }
  shell::MainLoopSwitches& s = shell::GetMainLoopSwitches();
};

TEST_F(LoopSwitches, IdleThrottleSavesAndRestoresOnce) {
  EXPECT_FALSE(shell::ChangeIdleThrottle(false));  // stays at 0
  EXPECT_EQ(s.idleThrottle, 0);
  EXPECT_TRUE(shell::ChangeIdleThrottle(true));
  EXPECT_TRUE(shell::IdleSleepOn());
  EXPECT_FALSE(shell::SetIdleThrottle(-1));  // closing: no idle sleep
  EXPECT_FALSE(shell::IdleSleepOn());
  EXPECT_TRUE(shell::SetIdleThrottle(-2));  // back to 1
  EXPECT_EQ(s.idleThrottle, 1);
  EXPECT_TRUE(shell::SetIdleThrottle(-2));  // nothing saved any more
  EXPECT_EQ(s.idleThrottle, 1);
  EXPECT_TRUE(shell::SetIdleThrottle(-7));  // below -2: no change
  EXPECT_EQ(s.idleThrottle, 1);
  EXPECT_EQ(shell::ChangePeekModeCount(false), 0);
  EXPECT_EQ(shell::ChangePeekModeCount(true), 1);
  EXPECT_EQ(shell::ChangePeekModeCount(false), 0);
}

TEST_F(LoopSwitches, AcceleratorsComeBackOnlyInTheirRoom) {
  int table = 0;
  s.accelerators = &table;
  shell::EnableAccelerators(false, 4, true);  // blocked by the game
  EXPECT_EQ(s.accelerators, &table);
  shell::EnableAccelerators(false, 4, false);
  EXPECT_EQ(s.accelerators, nullptr);
  shell::EnableAccelerators(false, 5, false);  // a second suspension keeps the table
  shell::EnableAccelerators(true, 5, false);   // another room: still suspended
  EXPECT_EQ(s.accelerators, nullptr);
  shell::EnableAccelerators(true, 4, false);
  EXPECT_EQ(s.accelerators, &table);
  EXPECT_EQ(s.savedAccelerators, nullptr);
  int dialog = 0;
  EXPECT_EQ(shell::SetModelessDialog(&dialog), nullptr);
  EXPECT_EQ(shell::ClearModelessDialog(), &dialog);
}

}  // namespace
