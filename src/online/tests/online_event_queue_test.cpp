// The (result, event) queues the session manager fills on the pump thread
// and the lobby pops on the interface thread.
#include <gtest/gtest.h>

#include <thread>

#include "online/online_event_queue.h"
#include "online_test_support.h"

namespace {

using namespace online;

TEST(OnlineEventQueueTest, PairsComeOutInOrderAndAnEmptyQueuePopsNothing) {
  online_test::RecordingWindowPort windows;
  OnlineEventQueue q;
  EXPECT_EQ(q.GetFrontEvent(), eidle);
  EXPECT_EQ(q.GetFrontResult(), 0);
  q.PopFront();
  EXPECT_TRUE(windows.debug.empty());

  q.PushResult(1);
  q.PushEvent(eLoginOlvex);
  q.PushResult(2);
  q.PushEvent(eSearchSessions);
  EXPECT_EQ(q.GetFrontEvent(), eLoginOlvex);
  q.PopFront();
  EXPECT_EQ(q.GetFrontResult(), 2);
  EXPECT_EQ(q.GetFrontEvent(), eSearchSessions);
  q.PopFront();
  q.PopFront();
  EXPECT_EQ(q.GetFrontEvent(), eidle);
  EXPECT_EQ(windows.debug,
            (std::vector<std::string>{"eidle\n", "Pushing back: eLoginOlvex\n", "eLoginOlvex\n",
                                      "Pushing back: eSearchSessions\n", "Pop front: eLoginOlvex\n",
                                      "Pop front: eSearchSessions\n"}));
}

TEST(OnlineEventQueueTest, AResultWithoutItsEventYetReadsAsIdleAndClearEmptiesBoth) {
  OnlineEventQueue q;
  q.PushResult(2);  // a failed start-up pushes its result alone
  EXPECT_EQ(q.GetFrontEvent(), eidle);
  EXPECT_EQ(q.GetFrontResult(), 2);
  q.PushEvent(eHostSession);
  q.ClearQueues();
  EXPECT_EQ(q.GetFrontResult(), 0);
  EXPECT_EQ(q.GetFrontEvent(), eidle);
  EXPECT_STREQ(OnlineEventName(14), "");
  EXPECT_STREQ(OnlineEventName(-1), "");
  EXPECT_STREQ(OnlineEventName(eLogoutOlvex), "eLogoutOlvex");
}

TEST(OnlineEventQueueTest, PumpAndInterfaceThreadsLoseNoPair) {
  OnlineEventQueue q;
  constexpr int kPairs = 2000;
  std::thread pump([&] {
    for (int i = 0; i < kPairs; ++i) {
      q.PushResult(1 + i % 2);
      q.PushEvent(1 + i % 13);
    }
  });
  int popped = 0;
  while (popped < kPairs) {
    const int32_t event = q.GetFrontEvent();
    if (event == eidle) continue;
    EXPECT_EQ(event, 1 + popped % 13);
    EXPECT_EQ(q.GetFrontResult(), 1 + popped % 2);
    q.PopFront();
    ++popped;
  }
  pump.join();
  EXPECT_EQ(q.GetFrontEvent(), eidle);
}

}  // namespace
