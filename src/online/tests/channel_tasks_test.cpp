// The chat channel tasks against the test lobby server: listing joins the
// first channel, leaving, whispering to another member, and the failures
// the listener hears of.
#include <gtest/gtest.h>

#include "online/channel_tasks.h"
#include "online_test_support.h"
#include "services_test_support.h"

namespace {

using namespace online;

class ChannelTasksTest : public toolbox_test::ServicesFixture {
 protected:
  // Runs bob's channel request to its answer.
  bool bobChannel(unsigned char task, const bdLobbyArgs& args) {
    bdRemoteTaskRef t = bob->getChannelChat()->startTask(task, 0, args);
    if (t.isNull()) return false;
    const bool answered = until([&] { return t->getStatus() != bdRemoteTask::BD_PENDING; });
    const bool ok = answered && bob->getChannelChat()->handleTask(t.get(), nullptr);
    t->reset();
    return ok;
  }
  std::size_t debugLines() { return windows.debug.size(); }

  online_test::RecordingWindowPort windows;
  ChannelTasks tasks;
  ChannelListener listener{&tasks};
};

TEST_F(ChannelTasksTest, SubscribeListAndLeave) {
  const ChannelId channel = ChannelIdFrom64(0x0000000700000042ull);
  EXPECT_EQ(channel, (ChannelId{0x42, 7}));
  ASSERT_NE(tasks.SubscribeTo(&listener, channel), 0u);
  ASSERT_TRUE(until([&] { return debugLines() == 1; }));
  EXPECT_EQ(windows.debug[0], "onChannelSubscribe: SUCCESS\n");
  EXPECT_EQ(listener.Subscribed(), channel);

  // The listing names the channel we are in and joins its first one again.
  ChannelListener other(&tasks);
  ASSERT_NE(tasks.GetChannels(&other), 0u);
  ASSERT_TRUE(until([&] { return debugLines() == 2; }));
  EXPECT_EQ(other.Subscribed(), channel);

  ASSERT_NE(tasks.Unsubscribe(&listener, channel), 0u);
  ASSERT_TRUE(until([&] { return debugLines() == 3; }));
  EXPECT_EQ(windows.debug[2], "onChannelUnsubscribe: SUCCESS\n");
  EXPECT_EQ(listener.Subscribed(), (ChannelId{}));

  // Leaving a channel we are not in is refused and the listener says so.
  listener.onChannelSubscribe(OX_Toolbox::ERRORID_SUCCEEDED, 1, 0);
  ASSERT_NE(tasks.Unsubscribe(&listener, ChannelId{1, 0}), 0u);
  ASSERT_TRUE(until([&] { return debugLines() == 5; }));
  EXPECT_EQ(windows.debug[4], "onChannelUnsubscribe: FAILED\n");
  EXPECT_EQ(listener.Subscribed(), (ChannelId{1, 0}));
}

TEST_F(ChannelTasksTest, AnEmptyListingJoinsNothing) {
  ASSERT_NE(tasks.GetChannels(&listener), 0u);
  ASSERT_TRUE(idle());
  EXPECT_TRUE(windows.debug.empty());
  EXPECT_EQ(listener.Subscribed(), (ChannelId{}));
}

TEST_F(ChannelTasksTest, AWhisperReachesTheOtherMemberOnceSubscribed) {
  ASSERT_TRUE(bobChannel(1, bdLobbyArgs().u64(9)));
  // Not a member yet: the server refuses.
  ASSERT_NE(tasks.Whisper(&listener, 9, kBob, 0, "hello"), 0u);
  ASSERT_TRUE(until([&] { return debugLines() == 1; }));
  EXPECT_EQ(windows.debug[0], "onWhisperToChannel: FAILED\n");

  tasks.SubscribeTo(&listener, ChannelId{9, 0});
  ASSERT_TRUE(idle());
  const unsigned int before = bob->getMessaging()->getMessageCount();
  ASSERT_NE(tasks.Whisper(&listener, 9, kBob, 0, "hello"), 0u);
  ASSERT_TRUE(until([&] { return debugLines() == 3; }));
  EXPECT_EQ(windows.debug[2], "onWhisperToChannel: SUCCESS\n");
  ASSERT_TRUE(until([&] { return bob->getMessaging()->getMessageCount() == before + 1; }));
  bdReference<bdLobbyMessage> heard = bob->getMessaging()->getMessage(before);
  EXPECT_EQ(heard->m_type, 22u);
}

TEST_F(ChannelTasksTest, WithoutTheLobbyConnectionEveryTaskFails) {
  OX_Toolbox::Lobby()->disconnect();
  tasks.SubscribeTo(&listener, ChannelId{3, 0});
  tasks.Whisper(&listener, 3, kBob, 0, "x");
  ASSERT_TRUE(idle());
  EXPECT_EQ(windows.debug, (std::vector<std::string>{"onChannelSubscribe: ERROR\n",
                                                     "onWhisperToChannel: FAILED\n"}));
}

TEST(ChannelTasksNoToolboxTest, NothingIsQueuedWithoutTheToolbox) {
  ChannelTasks tasks;
  ChannelListener listener(&tasks);
  EXPECT_EQ(tasks.GetChannels(&listener), 0u);
  EXPECT_EQ(tasks.Whisper(&listener, 1, 2, 0, "x"), 0u);
}

}  // namespace
