// The polled event queues and the named worker threads.
#include "shell/event_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/message_sink.h"
#include "platform/sync.h"
#include "shell/thread_api.h"

namespace {

using shell::EventRecord;

std::vector<uintptr_t> g_finished;
int PollDoneAtThree(uintptr_t arg) {
  const EventRecord* e =
      shell::FindEvent(nullptr, static_cast<uint32_t>(arg), 0, 0, shell::kFindById);
  return e && e->runCount >= 3;
}
void Finish(uintptr_t arg) { g_finished.push_back(arg); }
// Removes entry 2 while the queue is pumped.
int PollRemovesTwo(uintptr_t) {
  EventRecord two;
  two.id = 2;
  shell::RemoveEvent(0, two);
  return 0;
}

class EventQueues : public ::testing::Test {
 protected:
  void SetUp() override {
    g_finished.clear();
    ASSERT_TRUE(shell::CreateEventQueue(0, 0));
  }
  void TearDown() override { shell::DestroyEventQueue(0); }
};

TEST_F(EventQueues, CreateOncePumpAndRemove) {
  EXPECT_FALSE(shell::CreateEventQueue(0, 0));
  EXPECT_FALSE(shell::CreateEventQueue(2, 0));
  EXPECT_EQ(shell::DestroyEventQueue(1), 0);
  EXPECT_FALSE(shell::PostEvent(1, EventRecord{}));
  EXPECT_EQ(shell::PumpEventQueue(0), 0);
  EventRecord e;
  e.id = 7;
  e.tag = 70;
  e.poll = PollDoneAtThree;
  e.finish = Finish;
  e.arg = 7;
  ASSERT_TRUE(shell::PostEvent(0, e));
  EXPECT_TRUE(shell::HasEvent(0, e));
  EXPECT_NE(shell::FindEvent(nullptr, 0, 70, 0, shell::kFindByTag), nullptr);
  EXPECT_EQ(shell::FindEvent(nullptr, 7, 71, 0, shell::kFindByBoth), nullptr);
  EXPECT_EQ(shell::FindEvent(nullptr, 7, 70, 0, 9), nullptr);
  EXPECT_EQ(shell::PumpEventQueue(0), 1);
  EXPECT_EQ(shell::PumpEventQueue(0), 1);
  EXPECT_TRUE(g_finished.empty());
  EXPECT_EQ(shell::PumpEventQueue(0), 1);  // third run: finished and removed
  EXPECT_EQ(g_finished, std::vector<uintptr_t>{7});
  EXPECT_FALSE(shell::HasEvent(0, e));
  EXPECT_FALSE(shell::RemoveEvent(0, e));
}

TEST_F(EventQueues, ACallbackRemovingAnotherEntryDuringThePump) {
  EventRecord one, two, three;
  one.id = 1;
  one.poll = PollRemovesTwo;
  two.id = 2;
  two.finish = Finish;
  two.arg = 2;
  three.id = 3;
  for (const EventRecord& e : {one, two, three})
    shell::PostEvent(0, e);
  EXPECT_EQ(shell::PumpEventQueue(0), 2);  // entry 2 went before its turn
  EXPECT_EQ(g_finished, std::vector<uintptr_t>{2});
  EXPECT_EQ(shell::FindEvent(nullptr, 3, 0, 0, shell::kFindById)->runCount, 1u);
}

// --- workers ----------------------------------------------------------------

struct Counter {
  std::atomic<int> loops{0};
  std::atomic<int> ends{0};
  std::atomic<int> stops{0};
  int limit = 1 << 30;
  uint32_t stopAnswer = 0;
};
uint32_t Loop(uintptr_t a) {
  auto* c = reinterpret_cast<Counter*>(a);
  platform::SleepMs(1);
  return ++c->loops < c->limit;
}
void End(uintptr_t a) { ++reinterpret_cast<Counter*>(a)->ends; }
uint32_t Stop(uintptr_t a) {
  auto* c = reinterpret_cast<Counter*>(a);
  ++c->stops;
  return c->stopAnswer;
}

struct QuietSink : platform::MessageSink {
  int shown = 0;
  int ShowMessage(const char*, const char*, uint32_t) override { return ++shown, 1; }
};

TEST(ThreadApi, NamesAreUniqueWhileAWorkerLives) {
  Counter c;
  shell::ThreadApiWorker* w =
      shell::ThreadAPIStart("SCROLL", reinterpret_cast<uintptr_t>(&c), Loop, End, Stop);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(shell::ThreadAPIIsRunning("SCROLL"));
  EXPECT_EQ(shell::ThreadAPIStart("SCROLL", 0, Loop, nullptr, nullptr), nullptr);
  EXPECT_EQ(shell::ThreadAPIStart("", 0, Loop, nullptr, nullptr), nullptr);
  EXPECT_EQ(shell::ThreadAPIGetRunFlag(w), 1u);
  EXPECT_FALSE(shell::ThreadAPIStop(w, 20));          // never signalled: time-out
  EXPECT_FALSE(shell::ThreadAPIIsRunning("SCROLL"));  // joined: the name is free
  EXPECT_EQ(c.stops.load(), 1);
  EXPECT_EQ(c.ends.load(), 0);
  EXPECT_FALSE(shell::ThreadAPIStop(nullptr, 0));
}

TEST(ThreadApi, ALoopThatEndsByItselfAndASignalledStop) {
  Counter c;
  c.limit = 3;
  shell::ThreadApiWorker* w =
      shell::ThreadAPIStart("SELF", reinterpret_cast<uintptr_t>(&c), Loop, End, Stop);
  ASSERT_NE(w, nullptr);
  while (shell::ThreadAPIIsRunning("SELF"))
    platform::SleepMs(1);
  EXPECT_EQ(c.ends.load(), 1);
  EXPECT_EQ(shell::ThreadAPISignal(w), 0);  // ended: nothing to signal
  EXPECT_EQ(shell::ThreadAPIGetRunFlag(w), 0u);
  EXPECT_FALSE(shell::ThreadAPIStop(w, 10));  // frees the handle all the same

  Counter d;
  w = shell::ThreadAPIStart("SIG", reinterpret_cast<uintptr_t>(&d), Loop, End, Stop);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(shell::ThreadAPISignal(w), 1);
  EXPECT_TRUE(shell::ThreadAPIStop(w, 1000));
  EXPECT_EQ(d.stops.load(), 1);
}

TEST(ThreadApi, AStopCallbackThatWaitsForAnOwnerWhoNeverSignals) {
  QuietSink sink;
  platform::MessageSink* old = platform::SetMessageSink(&sink);
  uint32_t wait = shell::SetThreadApiCleanupWait(30);
  Counter c;
  c.stopAnswer = 1;
  shell::ThreadApiWorker* w =
      shell::ThreadAPIStart("SLOW", reinterpret_cast<uintptr_t>(&c), Loop, nullptr, Stop);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(shell::ThreadAPIStop(w, 5));  // joins after the worker's own wait
  EXPECT_EQ(sink.shown, 1);
  EXPECT_FALSE(shell::ThreadAPIIsRunning("SLOW"));
  platform::SetMessageSink(old);
  shell::SetThreadApiCleanupWait(wait);
}

}  // namespace
