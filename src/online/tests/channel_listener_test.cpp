// The chat channel listener: the subscribed channel it keeps, its debug
// lines, and the join of the first channel listed.
#include <gtest/gtest.h>

#include "online/channel_listener.h"
#include "online_test_support.h"

namespace {

using namespace online;
using OX_Toolbox::ERRORID_FAILED;
using OX_Toolbox::ERRORID_SUCCEEDED;

class RecordingRequests : public ChannelRequests {
 public:
  void Subscribe(ChannelListener* listener, const ChannelId& channel) override {
    (void)listener;
    asked.push_back(channel);
  }
  std::vector<ChannelId> asked;
};

TEST(ChannelListenerTest, KeepsTheSubscribedChannelAndReportsEachOutcome) {
  online_test::RecordingWindowPort windows;
  ChannelListener listener(nullptr);
  listener.onChannelSubscribe(ERRORID_SUCCEEDED, 5, 6);
  EXPECT_EQ(listener.Subscribed(), (ChannelId{5, 6}));
  listener.onChannelUnsubscribe(ERRORID_FAILED);
  EXPECT_EQ(listener.Subscribed(), (ChannelId{5, 6}));  // still in it
  listener.onChannelUnsubscribe(ERRORID_SUCCEEDED);
  EXPECT_EQ(listener.Subscribed(), (ChannelId{}));
  listener.onChannelSubscribe(ERRORID_SUCCEEDED, 1, 2);
  listener.onChannelSubscribe(ERRORID_FAILED, 3, 4);
  EXPECT_EQ(listener.Subscribed(), (ChannelId{}));
  listener.onWhisperToChannel(ERRORID_SUCCEEDED);
  listener.onWhisperToChannel(ERRORID_FAILED);
  EXPECT_EQ(windows.debug, (std::vector<std::string>{
                               "onChannelSubscribe: SUCCESS\n", "onChannelUnsubscribe: FAILED\n",
                               "onChannelUnsubscribe: SUCCESS\n", "onChannelSubscribe: SUCCESS\n",
                               "onChannelSubscribe: ERROR\n", "onWhisperToChannel: SUCCESS\n",
                               "onWhisperToChannel: FAILED\n"}));
}

TEST(ChannelListenerTest, ASuccessfulListingJoinsItsFirstChannelOnly) {
  RecordingRequests requests;
  ChannelListener listener(&requests);
  listener.onChannelsListed(ERRORID_FAILED, {{1, 1}});
  listener.onChannelsListed(ERRORID_SUCCEEDED, {});
  listener.onChannelsListed(ERRORID_SUCCEEDED, {{7, 8}, {9, 10}});
  ASSERT_EQ(requests.asked.size(), 1u);
  EXPECT_EQ(requests.asked[0], (ChannelId{7, 8}));
}

}  // namespace
