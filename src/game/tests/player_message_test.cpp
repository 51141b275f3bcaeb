#include "game/player_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

int32_t I32At(const uint8_t* b, size_t at) {
  return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                              static_cast<uint32_t>(b[at + 3]) << 24);
}

PlayerDataMessage Play() {
  PlayerDataMessage m;
  m.turnIndex = 3;
  m.request = kRequestPlay;
  RobotMove words[2];
  std::strcpy(words[0].word, "cat");
  words[0].length = 3;
  words[0].column = 6;
  words[0].row = 7;
  words[0].score = 12;
  std::strcpy(words[1].word, "aT");
  words[1].length = 2;
  words[1].column = 7;
  words[1].row = 7;
  words[1].direction = 1;
  words[1].score = 2;
  m.SetWords(words, 2);
  std::strcpy(m.rack, "abc_`_e");
  m.rackCount = 5;
  m.timeLeftMs = -250;
  return m;
}

TEST(PlayerMessage, LayoutOfEveryField) {
  uint8_t b[kPlayerMessageSize];
  std::memset(b, 0xCC, sizeof b);
  EncodePlayerMessage(Play(), b);
  EXPECT_EQ(I32At(b, 0), 20);
  EXPECT_EQ(I32At(b, 4), 3);
  EXPECT_EQ(I32At(b, 8), 3);
  EXPECT_STREQ(reinterpret_cast<char*>(b + 12), "cat");
  EXPECT_EQ(I32At(b, 28), 12);  // score
  EXPECT_EQ(I32At(b, 32), 6);   // column
  EXPECT_EQ(I32At(b, 36), 7);   // row
  EXPECT_EQ(I32At(b, 40), 0);   // across
  EXPECT_STREQ(reinterpret_cast<char*>(b + 44), "aT");
  EXPECT_EQ(I32At(b, 72), 1);  // second word down
  EXPECT_EQ(b[76], 0);         // third entry empty: the list ends
  EXPECT_STREQ(reinterpret_cast<char*>(b + 524), "abc_`_e");
  EXPECT_EQ(I32At(b, 545), 5);  // unaligned
  EXPECT_EQ(I32At(b, 549), -250);
}

TEST(PlayerMessage, RoundTripAndFrameChecks) {
  const PlayerDataMessage sent = Play();
  std::vector<uint8_t> b(kPlayerMessageSize);
  EncodePlayerMessage(sent, b.data());

  PlayerDataMessage got;
  ASSERT_TRUE(DecodePlayerMessage(b.data(), b.size(), got));
  EXPECT_EQ(got.WordCount(), 2);
  const RobotMove down = got.WordAsMove(1);
  EXPECT_STREQ(down.word, "aT");
  EXPECT_EQ(down.length, 2);
  EXPECT_EQ(down.direction, 1);
  EXPECT_EQ(got.WordAsMove(0).score, 12);
  EXPECT_STREQ(got.rack, "abc_`_e");
  EXPECT_EQ(got.timeLeftMs, -250);

  PlayerDataMessage untouched;
  untouched.turnIndex = 77;
  EXPECT_FALSE(DecodePlayerMessage(b.data(), b.size() - 1, untouched));
  b.push_back(0);
  EXPECT_FALSE(DecodePlayerMessage(b.data(), b.size(), untouched));
  b.pop_back();
  b[0] = 19;  // a game description, not a turn
  EXPECT_FALSE(DecodePlayerMessage(b.data(), b.size(), untouched));
  EXPECT_EQ(untouched.turnIndex, 77);
  EXPECT_FALSE(DecodePlayerMessage(nullptr, kPlayerMessageSize, untouched));
}

TEST(PlayerMessage, UnterminatedTextsAreCut) {
  std::vector<uint8_t> b(kPlayerMessageSize, 'q');
  b[0] = 20, b[1] = b[2] = b[3] = 0;
  PlayerDataMessage m;
  ASSERT_TRUE(DecodePlayerMessage(b.data(), b.size(), m));
  EXPECT_EQ(std::strlen(m.words[0].text), 15u);
  EXPECT_EQ(std::strlen(m.rack), 20u);
  // Sixteen entries at most, and a rack of 20 q's is refused.
  EXPECT_EQ(m.WordCount(), 16);
  EXPECT_NE(CheckPlayerMessage(m, 15, 7), MessageFault::kNone);
}

TEST(PlayerMessage, SetWordsCutsAndSkipsLeadingNuls) {
  RobotMove w;
  std::strcpy(w.word + 2, "abcdefghijklmnop");  // two leading NULs, 16 letters
  PlayerDataMessage m;
  m.SetWords(&w, 1);
  EXPECT_STREQ(m.words[0].text, "abcdefghijklmno");
  std::vector<RobotMove> many(20, w);
  m.SetWords(many.data(), 20);
  EXPECT_EQ(m.WordCount(), 16);
}

TEST(PlayerMessage, CheckedFieldByField) {
  struct Case {
    const char* name;
    void (*damage)(PlayerDataMessage&);
    MessageFault fault;
  };
  const Case cases[] = {
      {"intact", [](PlayerDataMessage&) {}, MessageFault::kNone},
      {"unknown request", [](PlayerDataMessage& m) { m.request = 5; }, MessageFault::kRequest},
      {"play without words", [](PlayerDataMessage& m) { m.SetWords(nullptr, 0); },
       MessageFault::kNoWords},
      {"one letter", [](PlayerDataMessage& m) { std::strcpy(m.words[0].text, "c"); },
       MessageFault::kWordText},
      {"digit", [](PlayerDataMessage& m) { std::strcpy(m.words[0].text, "c4t"); },
       MessageFault::kWordText},
      {"longer than the board",
       [](PlayerDataMessage& m) { std::strcpy(m.words[0].text, "abcdefgh"); },
       MessageFault::kWordText},
      {"row off the board", [](PlayerDataMessage& m) { m.words[0].row = 7000; },
       MessageFault::kPlacement},
      {"negative column", [](PlayerDataMessage& m) { m.words[0].column = -1; },
       MessageFault::kPlacement},
      {"runs past the edge", [](PlayerDataMessage& m) { m.words[1].row = 6; },
       MessageFault::kPlacement},
      {"negative score", [](PlayerDataMessage& m) { m.words[0].score = -4; }, MessageFault::kScore},
      {"huge score", [](PlayerDataMessage& m) { m.words[0].score = 1 << 30; },
       MessageFault::kScore},
      {"rack byte", [](PlayerDataMessage& m) { m.rack[1] = '#'; }, MessageFault::kRack},
      {"capital on a rack", [](PlayerDataMessage& m) { m.rack[1] = 'B'; }, MessageFault::kRack},
      {"tile beyond the rack", [](PlayerDataMessage& m) { m.rack[7] = 'z'; }, MessageFault::kRack},
      {"count off", [](PlayerDataMessage& m) { m.rackCount = 6; }, MessageFault::kRackCount},
      {"negative count", [](PlayerDataMessage& m) { m.rackCount = -1; }, MessageFault::kRackCount},
  };
  for (const Case& c : cases) {
    PlayerDataMessage m = Play();
    m.words[0].column = 3;  // "cat" at 3..5 of row 7 on a board of 7
    m.words[0].row = 3;
    m.words[1].column = 4;
    m.words[1].row = 3;
    c.damage(m);
    EXPECT_EQ(CheckPlayerMessage(m, 7, 7), c.fault) << c.name;
  }
  // A pass carries no words and an empty rack.
  PlayerDataMessage pass;
  pass.request = kRequestPass;
  EXPECT_EQ(CheckPlayerMessage(pass, 15, 7), MessageFault::kNone);
  // Any non-zero direction is down.
  PlayerDataMessage odd = Play();
  odd.words[0].direction = 9;
  EXPECT_EQ(CheckPlayerMessage(odd, 15, 7), MessageFault::kNone);
  EXPECT_EQ(odd.WordAsMove(0).direction, 1);
}

}  // namespace
