// Game message formats: golden bytes, sizes and the checks on what arrives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "online/game_message.h"
#include "online/item_queue.h"

namespace {

using namespace online;

std::vector<uint8_t> Head(const GameMessage& m, size_t n) { return {m.begin(), m.begin() + n}; }

TEST(GameMessageTest, BuildersWriteTheGoldenLayouts) {
  const GameMessage chat = BuildChatLine(2, "Hi");
  ASSERT_EQ(chat.size(), 520u);
  EXPECT_EQ(Head(chat, 12), (std::vector<uint8_t>{38, 0, 0, 0, 2, 0, 0, 0, 'H', 'i', 0, 0}));

  const GameMessage friendLine = BuildFriendChatLine(0x0102030405060708ull, "yo");
  ASSERT_EQ(friendLine.size(), 528u);
  EXPECT_EQ(Head(friendLine, 19), (std::vector<uint8_t>{39, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 8, 7,
                                                        6, 5, 4, 3, 2, 1, 'y', 'o', 0}));

  EXPECT_EQ(BuildShortMessage(0x11223344, 0xa0b0c0d0),
            (GameMessage{0x44, 0x33, 0x22, 0x11, 0xd0, 0xc0, 0xb0, 0xa0}));

  const uint8_t contents[3] = {7, 8, 9};
  const GameMessage description = BuildDescriptionMessage(kMsgPlayerData, 1, contents, 3);
  ASSERT_EQ(description.size(), 553u);
  EXPECT_EQ(Head(description, 12), (std::vector<uint8_t>{20, 0, 0, 0, 1, 0, 0, 0, 7, 8, 9, 0}));
}

TEST(GameMessageTest, TextsKeepAtMost511CharactersAndTheirTerminator) {
  const std::string longText(600, 'x');
  const GameMessage chat = BuildChatLine(0, longText.c_str());
  EXPECT_EQ(std::string(GameMessageText(chat)), std::string(511, 'x'));
  const GameMessage friendLine = BuildFriendChatLine(1, longText.c_str());
  EXPECT_EQ(std::string(GameMessageText(friendLine)), std::string(511, 'x'));
  EXPECT_EQ(CheckFriendChatLine(friendLine.data(), friendLine.size()), GameMessageCheck::kOk);
}

TEST(GameMessageTest, SizesAndRelayByType) {
  struct Case {
    uint32_t type;
    uint32_t size;
    bool relayable;
  } cases[] = {{19, 553, true},  {20, 553, true}, {38, 520, true},
               {39, 528, false}, {0, 8, false},   {77, 8, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(OnlineGameMessageSize(c.type), c.size) << c.type;
    EXPECT_EQ(IsRelayableMessage(c.type), c.relayable) << c.type;
  }
}

TEST(GameMessageTest, ReceivedMessagesAreCheckedForSizeSlotAndTerminator) {
  GameMessage unterminated = BuildChatLine(1, "");
  std::fill(unterminated.begin() + 8, unterminated.end(), 'z');
  GameMessage longChat = BuildChatLine(1, "a");
  longChat.push_back(0);
  struct Case {
    const char* name;
    GameMessage message;
    GameMessageCheck expected;
  } cases[] = {
      {"chat", BuildChatLine(1, "a"), GameMessageCheck::kOk},
      {"description", BuildDescriptionMessage(19, 0, nullptr, 0), GameMessageCheck::kOk},
      {"unknown type", BuildShortMessage(5, 123), GameMessageCheck::kOk},
      {"empty", {}, GameMessageCheck::kTooShort},
      {"seven bytes", GameMessage(7, 0), GameMessageCheck::kTooShort},
      {"short chat", GameMessage(longChat.begin(), longChat.begin() + 519),
       GameMessageCheck::kWrongSize},
      {"long chat", longChat, GameMessageCheck::kWrongSize},
      {"unknown type, 9 bytes", GameMessage{5, 0, 0, 0, 0, 0, 0, 0, 0},
       GameMessageCheck::kWrongSize},
      {"negative slot", BuildChatLine(-1, "a"), GameMessageCheck::kBadSlot},
      {"slot past the players", BuildDescriptionMessage(20, 3, nullptr, 0),
       GameMessageCheck::kBadSlot},
      {"slot past any set-up", BuildChatLine(kMaxSessionPlayers, "a"), GameMessageCheck::kBadSlot},
      {"unterminated text", unterminated, GameMessageCheck::kUnterminated},
      {"friend line from a peer", BuildFriendChatLine(1, "a"), GameMessageCheck::kNotFromPeer},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CheckGameMessage(c.message.data(), c.message.size(), 3), c.expected) << c.name;
  EXPECT_EQ(CheckGameMessage(nullptr, 8, 3), GameMessageCheck::kTooShort);
  EXPECT_EQ(CheckGameMessage(longChat.data(), 520, kMaxSessionPlayers + 50), GameMessageCheck::kOk);
}

TEST(ItemQueueTest, ARingOf500HoldsAt498InOrderAndWraps) {
  ItemQueue ring(500, ItemQueue::kRing);
  int items[600];
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 498; ++i)
      ASSERT_EQ(ring.Push(0, &items[i]), ItemQueue::kStored) << i;
    EXPECT_EQ(ring.Push(0, &items[498]), ItemQueue::kRefused);
    EXPECT_EQ(ring.Count(), 498);
    for (int i = 0; i < 498; ++i) {
      ItemQueue::Entry e;
      ASSERT_EQ(ring.Pop(&e), ItemQueue::kStored);
      ASSERT_EQ(e.item, &items[i]);
    }
    ItemQueue::Entry e;
    EXPECT_EQ(ring.Pop(&e), ItemQueue::kEmpty);
    EXPECT_TRUE(ring.IsEmpty());
    ring.Push(0, &items[0]);  // shifts the start so the next round wraps elsewhere
    ring.Pop(&e);
  }
}

TEST(ItemQueueTest, AStackPopsLastFirstAndRefusesPastItsCapacity) {
  ItemQueue stack(3, ItemQueue::kStack);
  int a, b, c, d;
  EXPECT_EQ(stack.Push(1, &a), ItemQueue::kStored);
  EXPECT_EQ(stack.Push(2, &b), ItemQueue::kStored);
  EXPECT_EQ(stack.Push(3, &c), ItemQueue::kStored);
  EXPECT_EQ(stack.Push(4, &d), ItemQueue::kRefused);
  ItemQueue::Entry e;
  ASSERT_EQ(stack.Pop(&e), ItemQueue::kStored);
  EXPECT_EQ(e.item, &c);
  EXPECT_EQ(e.key, 3u);
  stack.Pop(&e);
  stack.Pop(&e);
  EXPECT_EQ(e.item, &a);
  EXPECT_EQ(stack.Pop(&e), ItemQueue::kEmpty);
}

}  // namespace
