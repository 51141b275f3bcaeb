// The online lock and the pump: updates of 60 ms under the lock, a pump that
// waits while the interface thread holds the lock, and every way it stops.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "online/online_lock.h"
#include "online/online_pump.h"
#include "platform/sync.h"

namespace {

using online::OnlineLock;
using online::OnlineLockGuard;
using online::OnlinePump;
using online::OnlineUnlock;

// Counts updates; optionally checks that the online lock is held (another
// thread cannot take it) and runs a hook inside the update.
class CountingTarget : public online::PumpTarget {
 public:
  bool Exists() override { return exists; }
  void Update(uint32_t ms) override {
    // Another thread gets the lock only if the pump does not hold it.
    const bool taken = TryLockBriefly();
    std::lock_guard<std::mutex> lock(mutex);
    steps.push_back(ms);
    lockHeld.push_back(!taken);
    if (hook) hook();
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex);
    return steps.size();
  }
  static bool TryLockBriefly();

  std::atomic<bool> exists{true};
  std::function<void()> hook;
  std::mutex mutex;
  std::vector<uint32_t> steps;
  std::vector<bool> lockHeld;
};

// The online lock has no try; a helper thread takes it and reports whether
// it got it within 30 ms.
bool CountingTarget::TryLockBriefly() {
  auto got = std::make_shared<std::atomic<bool>>(false);
  std::thread t([got] {
    OnlineLock();
    *got = true;
    OnlineUnlock();
  });
  for (int i = 0; i < 30 && !*got; ++i)
    platform::SleepMs(1);
  const bool result = *got;
  if (!result) {
    t.detach();  // it gets the lock once the update ends
    return false;
  }
  t.join();
  return true;
}

bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
  for (int i = 0; i < ms / 5; ++i) {
    if (done()) return true;
    platform::SleepMs(5);
  }
  return done();
}

TEST(OnlineLockTest, IsRecursiveAndKeepsOtherThreadsOut) {
  std::atomic<bool> entered{false};
  OnlineLock();
  {
    OnlineLockGuard again;  // the same thread takes it again
  }
  std::thread other([&] {
    OnlineLockGuard lock;
    entered = true;
  });
  platform::SleepMs(50);
  EXPECT_FALSE(entered);
  OnlineUnlock();
  other.join();
  EXPECT_TRUE(entered);
}

TEST(OnlinePumpTest, UpdatesBy60MillisecondsUnderTheLockUntilStopped) {
  CountingTarget target;
  OnlinePump pump(&target);
  ASSERT_TRUE(pump.Start());
  ASSERT_TRUE(WaitFor([&] { return target.Count() >= 3; }));
  EXPECT_TRUE(pump.IsAlive());
  pump.Stop();
  EXPECT_FALSE(pump.IsAlive());
  const size_t stopped = target.Count();
  platform::SleepMs(150);
  EXPECT_EQ(target.Count(), stopped);
  for (size_t i = 0; i < target.steps.size(); ++i) {
    EXPECT_EQ(target.steps[i], online::kPumpStepMs);
    EXPECT_TRUE(target.lockHeld[i]) << "update " << i;
  }
}

TEST(OnlinePumpTest, AMissingToolboxIsNotUpdatedButThePumpRunsUntilStopped) {
  CountingTarget target;
  target.exists = false;
  OnlinePump pump(&target);
  ASSERT_TRUE(pump.Start());
  platform::SleepMs(200);
  EXPECT_EQ(target.Count(), 0u);
  EXPECT_EQ(pump.JobState(), ThreadJob::kRunning);
  pump.Stop();
}

TEST(OnlinePumpTest, HoldingTheLockHoldsThePumpAndAStopAskedMeanwhileEndsIt) {
  CountingTarget target;
  OnlinePump pump(&target);
  ASSERT_TRUE(pump.Start());
  ASSERT_TRUE(WaitFor([&] { return target.Count() >= 1; }));
  size_t before;
  {
    OnlineLockGuard lock;
    before = target.Count();
    platform::SleepMs(200);
    EXPECT_EQ(target.Count(), before);  // waiting for the lock
    pump.RequestStop();
    EXPECT_FALSE(pump.IsAlive());  // cancel asked is already a dead connection
  }
  ASSERT_TRUE(WaitFor([&] { return pump.JobState() == ThreadJob::kCancelled; }));
  EXPECT_LE(target.Count(), before + 1);  // at most the pass that was waiting
  pump.Stop();
}

TEST(OnlinePumpTest, AStopAskedFromInsideAnUpdateEndsThePumpAfterThatPass) {
  CountingTarget target;
  OnlinePump pump(&target);
  target.hook = [&] { pump.RequestStop(); };  // as on a lost lobby connection
  ASSERT_TRUE(pump.Start());
  ASSERT_TRUE(WaitFor([&] { return pump.JobState() == ThreadJob::kCancelled; }));
  EXPECT_EQ(target.Count(), 1u);
  pump.Stop();
}

TEST(OnlinePumpTest, WithoutAJobThePumpIsDeadAndStopIsHarmless) {
  CountingTarget target;
  OnlinePump pump(&target);
  EXPECT_FALSE(pump.IsAlive());
  EXPECT_EQ(pump.JobState(), ThreadJob::kCancelled);
  pump.Stop();
  pump.Stop();
}

}  // namespace
