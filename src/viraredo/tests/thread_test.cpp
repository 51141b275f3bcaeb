#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "bd_test_support.h"
#include "bdCore/bdThread/bdMutex.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdThread/bdThread.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdCore/bdUtilities/bdTimer.h"

namespace {

using bdtest::CoreTest;

// A fake counter at 1000 ticks per second, set by the tests.
std::uint64_t g_now = 0;
std::uint64_t fakeCounter() { return g_now; }
std::uint64_t fakeFrequency() { return 1000; }

class FakeClockTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    g_now = 1;
    bdPlatformTiming::setClock(&fakeCounter, &fakeFrequency);
  }
  void TearDown() override {
    bdPlatformTiming::setClock(nullptr, nullptr);
    CoreTest::TearDown();
  }
};

TEST_F(FakeClockTest, StopwatchMeasuresFromStart) {
  bdStopwatch watch;
  EXPECT_EQ(watch.getElapsedTimeAsSeconds(), 0.0);
  watch.stop();  // never started: stays unstarted
  EXPECT_FALSE(watch.isStarted());
  EXPECT_EQ(watch.getElapsed(), 0.0);
  g_now = 5000;
  watch.start();
  g_now = 7500;
  EXPECT_DOUBLE_EQ(watch.getElapsedTimeAsSeconds(), 2.5);
  watch.stop();
  g_now = 99999;
  EXPECT_DOUBLE_EQ(watch.getElapsed(), 2.5);
  watch.reset();
  EXPECT_EQ(watch.getElapsedTimeAsSeconds(), 0.0);
}

TEST_F(FakeClockTest, TimerSurvivesTheStampWrapping) {
  // The 32-bit stamp (counter / 100) is 2^32 - 16 at start and wraps before now.
  g_now = (0x100000000ull - 16) * 100;
  bdTimer timer;
  timer.start();
  g_now += 32 * 100;
  EXPECT_FLOAT_EQ(timer.getElapsedTimeInSeconds(), 3.2f);
  // Many timers started before the wrap all see a short time, none fires early.
  for (std::uint64_t back = 1; back < 10; ++back) {
    g_now = (0x100000000ull - back) * 100;
    bdTimer t;
    t.start();
    g_now += 50 * 100;
    EXPECT_FLOAT_EQ(t.getElapsedTimeInSeconds(), 5.0f);
  }
}

TEST(bdPlatformTimingTest, MillisecondStampDifferenceWraps) {
  EXPECT_EQ(bdPlatformTiming::getElapsedSeconds(1000, 3500), 2u);
  EXPECT_EQ(bdPlatformTiming::getElapsedSeconds(0xFFFFF000u, 0x00000400u), 5u);
  EXPECT_EQ(bdPlatformTiming::getElapsedSeconds(0xFFFFFFFFu, 999u), 1u);
}

class Waiter : public bdRunnable {
 public:
  int run(void* args) override {
    std::memcpy(&seen, args, sizeof seen);
    started = true;
    while (!isStopRequested())
      bdPlatformTiming::sleep(1);
    return 7;
  }
  std::atomic<bool> started{false};
  int seen = 0;
};

TEST_F(CoreTest, ThreadRunsOnceAndStopsOnRequest) {
  Waiter waiter;
  bdThread thread(&waiter);
  const int arg = 42;
  ASSERT_TRUE(thread.start(&arg, sizeof arg));
  while (!waiter.started)
    bdPlatformTiming::sleep(1);
  EXPECT_TRUE(thread.isRunning());
  EXPECT_FALSE(thread.start(&arg, sizeof arg));
  thread.stop();
  thread.join();
  EXPECT_FALSE(thread.isRunning());
  EXPECT_EQ(thread.getExitCode(), 7);
  EXPECT_EQ(waiter.seen, 42);
  bdThread none(nullptr);
  EXPECT_FALSE(none.start(nullptr, 0));
}

TEST_F(CoreTest, DestroyingARunningThreadStopsAndWaits) {
  Waiter waiter;
  {
    bdThread thread(&waiter);
    const int arg = 1;
    ASSERT_TRUE(thread.start(&arg, sizeof arg));
  }
  EXPECT_TRUE(waiter.isStopRequested());
  bdMutex mutex;
  mutex.lock();
  mutex.unlock();
}

}  // namespace
