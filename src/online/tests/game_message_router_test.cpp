// Game messages between a host and two players over a loopback transport:
// send modes, the host's relay, the receive lists and what reaches the
// windows and the game rules.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "online/game_message_router.h"
#include "online_test_support.h"

namespace {

using namespace online;
using online_test::LoopbackSender;
using online_test::Post;
using online_test::RecordingWindowPort;

constexpr uint64_t kIds[] = {100, 101, 102};

class GameMessageRouterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int slot = 0; slot < 3; ++slot) {
      machines[slot] = std::make_unique<GameMessageRouter>(&transport);
      machines[slot]->SetPacing(SendPacing{0, false});
      machines[slot]->SetRoster(RosterFor(slot, 3));
      transport.Attach(kIds[slot], machines[slot].get());
    }
  }

  static SessionRoster RosterFor(int32_t localSlot, int connected) {
    SessionRoster roster;
    for (int slot = 0; slot < 3; ++slot)
      roster.players.push_back(RosterPlayer{OX_Toolbox::PlayerID(2, kIds[slot]), slot < connected});
    roster.localSlot = localSlot;
    roster.hosting = localSlot == 0;
    return roster;
  }

  // Who received each send, in order.
  std::vector<uint64_t> Recipients() const {
    std::vector<uint64_t> to;
    for (const auto& s : transport.sent)
      to.push_back(s.to);
    return to;
  }

  void Deliver(int slot, const GameMessage& message) {
    OX_Toolbox::Blob blob(message.data(), static_cast<uint32_t>(message.size()),
                          OX_Toolbox::BLOB_READONLY);
    machines[slot]->OnPeerMessage(0, blob);
  }

  GameMessageRouter& host() { return *machines[0]; }
  GameMessageRouter& p1() { return *machines[1]; }
  GameMessageRouter& p2() { return *machines[2]; }

  RecordingWindowPort windows;
  LoopbackSender transport;
  std::unique_ptr<GameMessageRouter> machines[3];
};

TEST_F(GameMessageRouterTest, APlayersDataGoesToTheHostWhichRelaysItToTheOthersOnly) {
  const uint8_t contents[545] = {1, 2, 3};
  const GameMessage data = BuildDescriptionMessage(kMsgPlayerData, 1, contents, sizeof contents);
  p1().QueueTextLineAndWait(data);
  p1().FlushOutgoingMessages();
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{100}));
  EXPECT_EQ(host().LobbyListSize(), 1u);
  EXPECT_EQ(host().OutgoingCount(), 1);  // the relay copy

  host().FlushOutgoingMessages();
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{100, 102}));  // not back to P1, not to H
  EXPECT_EQ(transport.sent[1].bytes, data);                    // all 553 bytes
  EXPECT_EQ(transport.sent[1].kind, kGameMessageKind);
  EXPECT_EQ(p2().LobbyListSize(), 1u);
  EXPECT_EQ(p2().OutgoingCount(), 0);  // only the host relays

  // The game rules take it from the lobby list into the pending list and
  // then into the sender's description slot; the screen is woken.
  EXPECT_TRUE(p2().StepLobbyMessage());
  EXPECT_EQ(p2().ReceiveBuffer(), data);
  EXPECT_EQ(p2().PendingDescriptionCount(), 1u);
  EXPECT_TRUE(p2().ApplyPendingGameDescription());
  EXPECT_TRUE(p2().HasPlayerDescription(1));
  EXPECT_EQ(p2().PlayerDescription(1), data);
  EXPECT_FALSE(p2().StepLobbyMessage());
  EXPECT_EQ(windows.Posts().back().target, Post::kForeground);
  EXPECT_EQ(windows.Posts().back().message, kWmLButtonUp);
}

TEST_F(GameMessageRouterTest, TheHostBroadcastsOnlyOnceTwoPlayersAreConnected) {
  const GameMessage description = BuildDescriptionMessage(kMsgHostDescription, 0, nullptr, 0);
  host().SetRoster(RosterFor(0, 1));
  host().QueueTextLineAndWait(description);
  host().FlushOutgoingMessages();
  EXPECT_TRUE(transport.sent.empty());

  host().SetRoster(RosterFor(0, 3));
  host().QueueTextLineAndWait(description);
  host().FlushOutgoingMessages();
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{101, 102}));
  p1().StepLobbyMessage();
  EXPECT_TRUE(p1().HasHostDescription());
  EXPECT_EQ(p1().HostDescription(), description);
}

TEST_F(GameMessageRouterTest, SendsSkipMissingAndDisconnectedPlayers) {
  SessionRoster roster = RosterFor(0, 3);
  roster.players[2].connected = false;
  host().SetRoster(roster);
  const GameMessage m = BuildShortMessage(5, 1);
  host().SendToPlayer(2, m.data(), m.size());
  host().SendToPlayer(7, m.data(), m.size());
  host().SendToPlayer(-1, m.data(), m.size());
  host().SendToPlayer(1, m.data(), m.size());
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{101}));
}

TEST_F(GameMessageRouterTest, ChatLinesAreEchoedOnceOnEveryMachine) {
  host().SendChatLine("hello");
  host().FlushOutgoingMessages();
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{101, 102}));
  // The sender echoed its own line; the receivers show it from their chat list.
  host().DrainChatList();
  p1().DrainChatList();
  p2().DrainChatList();
  int shown = 0;
  for (const Post& post : windows.Posts()) {
    if (post.message != kMsgEchoChatLine) continue;
    ++shown;
    EXPECT_EQ(post.slot, kGameWindowSlot);
    ASSERT_EQ(post.bytes.size(), kChatLineSize);
    EXPECT_STREQ(reinterpret_cast<const char*>(post.bytes.data() + 8), "hello");
  }
  EXPECT_EQ(shown, 3);

  // A player's line: to the host, relayed to the other player, never back.
  transport.sent.clear();
  p2().SendChatLine("hi all");
  p2().FlushOutgoingMessages();
  host().FlushOutgoingMessages();
  EXPECT_EQ(Recipients(), (std::vector<uint64_t>{100, 101}));
  EXPECT_EQ(p2().ChatListSize(), 0u);
}

TEST_F(GameMessageRouterTest, ABadMessageIsDroppedAndNeverRelayed) {
  GameMessage unterminated = BuildChatLine(1, "");
  std::fill(unterminated.begin() + 8, unterminated.end(), 'z');
  const GameMessage whole = BuildChatLine(1, "cut");
  const GameMessage bad[] = {
      GameMessage(3, 1),
      BuildChatLine(5, "slot past the players"),
      BuildChatLine(-2, "negative"),
      GameMessage(whole.begin(), whole.begin() + 300),
      unterminated,
      BuildFriendChatLine(9, "spoofed friend"),
  };
  for (const GameMessage& m : bad)
    Deliver(0, m);
  EXPECT_EQ(host().DroppedCount(), 6u);
  EXPECT_EQ(host().ChatListSize() + host().LobbyListSize(), 0u);
  EXPECT_EQ(host().OutgoingCount(), 0);
}

TEST_F(GameMessageRouterTest, OwnAndUnknownMessagesAreKeptOutOfTheGame) {
  // A description with this machine's slot is not stored, but still wakes.
  Deliver(1, BuildDescriptionMessage(kMsgPlayerData, 1, nullptr, 0));
  Deliver(1, BuildDescriptionMessage(kMsgHostDescription, 1, nullptr, 0));
  Deliver(1, BuildShortMessage(77, 5));
  EXPECT_EQ(p1().LobbyListSize(), 3u);
  while (p1().StepLobbyMessage()) {
  }
  EXPECT_EQ(p1().PendingDescriptionCount(), 0u);
  EXPECT_FALSE(p1().HasHostDescription());
  EXPECT_EQ(p1().ReceiveBuffer(), BuildShortMessage(77, 5));  // taken, then dropped
  ASSERT_EQ(windows.Posts().size(), 1u);
  EXPECT_EQ(windows.Posts()[0].message, kWmLButtonUp);
}

class RecordingFriends : public FriendChatSink {
 public:
  void OnFriendChatLine(uint64_t id, const char* text) override { lines.emplace_back(id, text); }
  std::vector<std::pair<uint64_t, std::string>> lines;
};

TEST_F(GameMessageRouterTest, FriendLinesReachTheFriendsSideAndSurviveAGameStart) {
  RecordingFriends friends;
  const GameMessage line = BuildFriendChatLine(0xabcdef, "ping");
  p1().OnFriendChatLine(line.data(), line.size());
  Deliver(1, BuildChatLine(0, "before the start"));
  p1().ResetForGameStart();  // drops the game's chat lines only
  EXPECT_EQ(p1().ChatListSize(), 1u);
  p1().DrainChatList();  // no friends side yet: dropped
  EXPECT_TRUE(friends.lines.empty());

  p1().SetFriendChatSink(&friends);
  p1().OnFriendChatLine(line.data(), line.size());
  GameMessage forged = line;
  forged[4] = 0;  // a friend line always carries slot -1
  p1().OnFriendChatLine(forged.data(), forged.size());
  p1().DrainChatList();
  ASSERT_EQ(friends.lines.size(), 1u);
  EXPECT_EQ(friends.lines[0].first, 0xabcdefu);
  EXPECT_EQ(friends.lines[0].second, "ping");
  EXPECT_EQ(p1().DroppedCount(), 1u);
}

TEST_F(GameMessageRouterTest, AFullQueueRefusesAndClearingFreesUnsent) {
  const GameMessage m = BuildShortMessage(5, 1);
  for (int i = 0; i < 498; ++i)
    ASSERT_TRUE(host().QueueOutgoingMessage(m.data(), 8, SendMode::kToSlot, 1));
  EXPECT_FALSE(host().QueueOutgoingMessage(m.data(), 8, SendMode::kToSlot, 1));
  host().ClearOutgoingMessages();
  EXPECT_EQ(host().OutgoingCount(), 0);
  host().FlushOutgoingMessages();
  EXPECT_TRUE(transport.sent.empty());
}

TEST_F(GameMessageRouterTest, MessagesAreCutTo1024BytesAtSending) {
  const GameMessage big(2000, 9);
  host().QueueOutgoingMessage(big.data(), big.size(), SendMode::kToSlot, 2);
  host().FlushOutgoingMessages();
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(transport.sent[0].bytes.size(), kMaxGameMessageSize);
}

}  // namespace
