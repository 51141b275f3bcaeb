// Events, semaphores and the critical section keep the Win32 object rules
// under contention. No test depends on how fast a thread is scheduled.
#include "platform/sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using platform::Event;
using platform::kInfinite;
using platform::Semaphore;

namespace {

void WaitUntil(const std::atomic<int>& value, int target) {
  while (value.load() < target)
    platform::SleepMs(1);
}

TEST(Event, AutoResetReleasesOneWaitAndClears) {
  Event e(false, true);
  EXPECT_TRUE(e.Wait(0));
  EXPECT_FALSE(e.Wait(0));
  EXPECT_FALSE(e.Wait(20));  // times out
  e.Set();
  e.Set();  // setting a set event does not count twice
  EXPECT_TRUE(e.Wait(0));
  EXPECT_FALSE(e.Wait(0));
}

TEST(Event, ManualResetStaysSetUntilReset) {
  Event e(true, false);
  EXPECT_FALSE(e.Wait(10));
  e.Set();
  EXPECT_TRUE(e.Wait(0));
  EXPECT_TRUE(e.Wait(kInfinite));
  e.Reset();
  EXPECT_FALSE(e.Wait(0));
}

TEST(Event, ManualSetWakesEveryWaiter) {
  Event e(true, false);
  std::atomic<int> woken{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      if (e.Wait(kInfinite)) ++woken;
    });
  e.Set();
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(woken.load(), 4);
  EXPECT_TRUE(e.Wait(0));
}

TEST(Event, AutoSetWakesOneWaiterAtATime) {
  Event e(false, false);
  std::atomic<int> woken{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      if (e.Wait(kInfinite)) ++woken;
    });
  for (int i = 1; i <= 4; ++i) {
    e.Set();
    WaitUntil(woken, i);
    platform::SleepMs(5);
    EXPECT_EQ(woken.load(), i) << "one Set released two waiters";
  }
  for (auto& t : threads)
    t.join();
  EXPECT_FALSE(e.Wait(0));
}

TEST(Semaphore, CountsAndMaximum) {
  Semaphore s(2, 3);
  int32_t previous = -1;
  EXPECT_FALSE(s.Release(2, &previous));  // would pass the maximum: unchanged
  EXPECT_EQ(previous, -1);
  EXPECT_FALSE(s.Release(0));
  EXPECT_TRUE(s.Release(1, &previous));
  EXPECT_EQ(previous, 2);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(s.Wait(0));
  EXPECT_FALSE(s.Wait(0));
  EXPECT_FALSE(s.Wait(20));
}

// Producers release one unit at a time (retrying at the maximum), consumers
// take a fixed share: every release is consumed exactly once and the count
// never passes the maximum.
TEST(Semaphore, EveryReleaseConsumedOnceUnderContention) {
  constexpr int kThreads = 4, kPerThread = 500, kMax = 3;
  Semaphore s(0, kMax);
  std::atomic<int> released{0}, consumed{0}, overMax{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&] {
      for (int n = 0; n < kPerThread;) {
        int32_t previous;
        if (s.Release(1, &previous)) {
          if (previous + 1 > kMax) ++overMax;
          ++released;
          ++n;
        } else {
          std::this_thread::yield();
        }
      }
    });
    threads.emplace_back([&] {
      for (int n = 0; n < kPerThread; ++n)
        if (s.Wait(kInfinite)) ++consumed;
    });
  }
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(released.load(), kThreads * kPerThread);
  EXPECT_EQ(consumed.load(), kThreads * kPerThread);
  EXPECT_EQ(overMax.load(), 0);
  EXPECT_FALSE(s.Wait(0));
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  platform::CriticalSection cs;
  cs.Enter();
  cs.Enter();
  EXPECT_TRUE(cs.TryEnter());
  bool otherGotIt = true;
  std::thread([&] { otherGotIt = cs.TryEnter(); }).join();
  EXPECT_FALSE(otherGotIt);
  cs.Leave();
  cs.Leave();
  cs.Leave();
  std::thread([&] {
    otherGotIt = cs.TryEnter();
    if (otherGotIt) cs.Leave();
  }).join();
  EXPECT_TRUE(otherGotIt);
}

}  // namespace
