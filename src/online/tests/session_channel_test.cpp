// The session window's channel between a host and two players: chat relayed
// by the host, player data spread to everyone, the ejection notice to one
// player, and malformed blobs dropped.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Modules/Core/Src/Types/String.h"
#include "online/session_channel.h"
#include "online_test_support.h"

namespace {

using namespace online;
using online_test::LoopbackSender;
using online_test::Post;
using online_test::RecordingWindowPort;

constexpr uint64_t kIds[] = {100, 101, 102};

class RecordingHost : public SessionWindowHost {
 public:
  bool ShowSessionWindow() override {
    events.push_back("show");
    return true;
  }
  void DestroySessionWindow() override { events.push_back("destroy"); }
  void OnPlayerRecordsChanged() override { events.push_back("records"); }
  std::vector<std::string> events;
};

class SessionChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int slot = 0; slot < 3; ++slot) {
      channels[slot] = std::make_unique<SessionChannel>(&hosts[slot], &transport);
      std::vector<SessionPlayerRecord> records(3);
      for (int i = 0; i < 3; ++i)
        records[i] = {OX_Toolbox::PlayerID(2, kIds[i]), true, {}};
      channels[slot]->SetRecords(records, slot, slot == 0);
      transport.AttachChannel(kIds[slot], channels[slot].get());
    }
  }

  std::vector<uint64_t> Recipients() const {
    std::vector<uint64_t> to;
    for (const auto& s : transport.sent)
      to.push_back(s.to);
    return to;
  }

  void Deliver(int slot, OX_Toolbox::Blob blob) { channels[slot]->onMessage(0, blob); }

  RecordingWindowPort windows;
  LoopbackSender transport;
  RecordingHost hosts[3];
  std::unique_ptr<SessionChannel> channels[3];
};

TEST_F(SessionChannelTest, AChatLineGoesToTheHostWhichShowsItAndRelaysItToThePlayers) {
  EXPECT_TRUE(channels[2]->SendChat("bonjour"));
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{100, 101, 102}));
  for (const auto& s : transport.sent)
    EXPECT_EQ(s.kind, kSessionChannelKind);
  const auto posts = windows.Posts();
  ASSERT_EQ(posts.size(), 3u);  // the host, then slots 1 and 2
  for (const Post& post : posts) {
    EXPECT_EQ(post.target, Post::kSession);
    EXPECT_EQ(post.message, kMsgSessionChat);
    EXPECT_EQ(post.wParam, 2u);
    EXPECT_STREQ(reinterpret_cast<const char*>(post.bytes.data()), "bonjour");
  }
  EXPECT_FALSE(channels[1]->SendChat(""));  // an empty box sends nothing
}

TEST_F(SessionChannelTest, ANewPlayersDataReachesEveryoneAndTheNewPlayerGetsAllRecords) {
  std::vector<SessionPlayerRecord> records = channels[0]->Records();
  records[0].values = {7, 8, 9};
  channels[0]->SetRecords(records, 0, true);
  records = channels[2]->Records();
  records[2].values = {1, 2, 3};
  channels[2]->SetRecords(records, 2, false);

  EXPECT_TRUE(channels[2]->SendPlayerRecord(2, 0));
  EXPECT_EQ(channels[0]->Records()[2].values, (std::array<int32_t, 3>{1, 2, 3}));
  EXPECT_EQ(channels[1]->Records()[2].values, (std::array<int32_t, 3>{1, 2, 3}));
  EXPECT_EQ(channels[2]->Records()[0].values, (std::array<int32_t, 3>{7, 8, 9}));
  // To the host; its record to slots 1 and 2; then every record to slot 2.
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{100, 101, 102, 102, 102, 102}));
  EXPECT_EQ(hosts[0].events, (std::vector<std::string>{"records"}));

  // The host's own record (slot 0) is stored but not spread.
  transport.sent.clear();
  Deliver(0, MakePlayerData(0, {4, 4, 4}));
  EXPECT_TRUE(transport.sent.empty());
  EXPECT_EQ(channels[0]->Records()[0].values, (std::array<int32_t, 3>{4, 4, 4}));
}

TEST_F(SessionChannelTest, AnEjectionGoesToItsPlayerAloneAndIsNotRelayed) {
  EXPECT_TRUE(channels[0]->SendEjection(1));
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{101}));
  const auto posts = windows.Posts();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].message, kMsgEjected);
  EXPECT_FALSE(channels[0]->SendEjection(-1));
}

TEST_F(SessionChannelTest, MalformedBlobsAndSlotsOutsideTheRecordsAreDropped) {
  OX_Toolbox::Blob wrongType;  // the slot written as a string
  wrongType.writeInt32(0, kTagSessionChat);
  wrongType.writeString(wrongType.getSize(), OX_Toolbox::String("1"));
  OX_Toolbox::Blob shortData;
  shortData.writeInt32(0, kTagPlayerData);
  shortData.writeInt32(shortData.getSize(), 1);
  OX_Toolbox::Blob unknown;
  unknown.writeInt32(0, 0x12010);
  const unsigned char garbage[] = {1, 2};

  Deliver(0, wrongType);
  Deliver(0, shortData);
  Deliver(0, unknown);
  Deliver(0, OX_Toolbox::Blob(garbage, 2, OX_Toolbox::BLOB_READONLY));
  Deliver(0, MakePlayerData(3, {1, 1, 1}));
  Deliver(0, MakePlayerData(-1, {1, 1, 1}));
  Deliver(0, MakeSessionChat(9, "who?"));
  EXPECT_EQ(channels[0]->DroppedCount(), 7u);
  EXPECT_TRUE(windows.Posts().empty());
  EXPECT_TRUE(transport.sent.empty());
  for (const auto& r : channels[0]->Records())
    EXPECT_EQ(r.values, (std::array<int32_t, 3>{}));
}

TEST_F(SessionChannelTest, LongTextsAreCutTo511Characters) {
  const std::string longText(700, 'w');
  Deliver(1, MakeSessionChat(0, longText.c_str()));
  const auto posts = windows.Posts();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(posts[0].bytes.data())),
            std::string(511, 'w'));
}

TEST_F(SessionChannelTest, SendTargetsOneRecordAllOrAllButTheHost) {
  const OX_Toolbox::Blob blob = MakeEjection();
  struct Case {
    int32_t target;
    std::vector<uint64_t> to;
    bool result;
  } cases[] = {{1, {101}, true},       {-1, {100, 101, 102}, true},
               {-2, {101, 102}, true}, {-3, {102}, true},
               {3, {}, false},         {-4, {}, true}};
  for (const Case& c : cases) {
    transport.sent.clear();
    EXPECT_EQ(channels[0]->Send(blob, c.target), c.result) << c.target;
    EXPECT_EQ(Recipients(), c.to) << c.target;
  }
}

TEST_F(SessionChannelTest, ShowAndHideRegisterWithTheTransportAndOwnTheWindow) {
  OX_Toolbox::PeerMessenger messenger;
  SessionChannel channel(&hosts[0], &transport, &messenger);
  channel.SetRecords(channels[0]->Records(), 0, true);
  channel.Show();
  channel.Show();
  EXPECT_TRUE(channel.IsShown());
  OX_Toolbox::Blob ejection = MakeEjection();
  messenger.dispatchToSink(0, kSessionChannelKind, ejection);
  EXPECT_EQ(windows.Posts().size(), 1u);

  channel.Hide();
  EXPECT_TRUE(channel.Records().empty());
  EXPECT_EQ(channel.LocalSlot(), -1);
  OX_Toolbox::Blob again = MakeEjection();
  messenger.dispatchToSink(0, kSessionChannelKind, again);
  EXPECT_EQ(windows.Posts().size(), 1u);  // no longer listening
  EXPECT_EQ(hosts[0].events, (std::vector<std::string>{"show", "destroy"}));
}

}  // namespace
