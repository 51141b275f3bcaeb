// The network-game description: copied from the profile's three records,
// published as statistics and profile values and read back.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "online/game_description.h"

namespace {

using namespace online;

struct Records {
  uint8_t bytes[kDescriptionBlocks][kNetworkRecordSize] = {};
  const uint8_t* in[kDescriptionBlocks] = {bytes[0], bytes[1], bytes[2]};
  uint8_t* out[kDescriptionBlocks] = {bytes[0], bytes[1], bytes[2]};

  void PutU32(int b, uint32_t offset, uint32_t v) { std::memcpy(&bytes[b][offset], &v, 4); }
  void PutFloat(int b, uint32_t offset, float f) { std::memcpy(&bytes[b][offset], &f, 4); }
  void PutText(int b, uint32_t offset, const char* text) {
    std::memcpy(&bytes[b][offset], text, std::strlen(text) + 1);
  }
};

Records Sample() {
  Records r;
  for (int b = 0; b < kDescriptionBlocks; ++b) {
    for (int row = 0; row < kDescriptionValues; ++row) {
      const DescriptionRow& d = kDescriptionRows[row];
      const uint32_t offset = b == 2 ? d.player2Offset : d.offset;
      if (d.isFloat)
        r.PutFloat(b, offset, -(row + 0.75f) - b * 100);
      else
        r.PutU32(b, offset, static_cast<uint32_t>(row + 1 + b * 100));
    }
    r.PutText(b, 148, "t1");
    r.PutText(b, 184, "second");
    r.PutText(b, 80, "third");
    r.PutText(b, 12, "fourth");
  }
  return r;
}

TEST(GameDescriptionTest, StatisticsFollowTheTableBlockByBlockWithFloatsTruncated) {
  Records r = Sample();
  GameDescription d;
  ASSERT_TRUE(d.CopyFromRecords(r.in, kNetworkRecordSize));
  const auto stats = d.Statistics();
  ASSERT_EQ(stats.size(), 36u);
  // The first rows of the game block, and player 2's floats from 296 and 364.
  EXPECT_EQ(stats[0], std::make_pair(0x1000001au, 1));
  EXPECT_EQ(stats[2], std::make_pair(0x1000001bu, 3));   // offset 280
  EXPECT_EQ(stats[9], std::make_pair(0x10000026u, -9));  // -9.75 toward zero
  EXPECT_EQ(stats[12], std::make_pair(0x10000028u, 101));
  EXPECT_EQ(stats[24 + 10], std::make_pair(0x1000004bu, -210));  // -210.75 at 296
  EXPECT_EQ(stats[24 + 11], std::make_pair(0x1000004cu, -211));  // at 364
  EXPECT_STREQ(d.blocks[1].t2, "second");
  EXPECT_STREQ(d.blocks[2].t4, "fourth");
}

TEST(GameDescriptionTest, UnterminatedOrLongTextsAreCutToTheirField) {
  Records r = Sample();
  std::memset(&r.bytes[0][148], 'A', 36);  // T1 runs into T2's bytes
  std::memset(&r.bytes[0][12], 'B', 64);   // T4 fills its whole field
  GameDescription d;
  ASSERT_TRUE(d.CopyFromRecords(r.in, kNetworkRecordSize));
  EXPECT_EQ(std::string(d.blocks[0].t1), std::string(19, 'A'));
  EXPECT_EQ(std::string(d.blocks[0].t4), std::string(63, 'B'));
  EXPECT_FALSE(d.CopyFromRecords(r.in, kNetworkRecordSize - 1));
}

TEST(GameDescriptionTest, FetchedStatisticsGoBackIntoTheRecords) {
  Records r = Sample();
  GameDescription d;
  d.CopyFromRecords(r.in, kNetworkRecordSize);
  std::map<uint32_t, int32_t> fetched = {{0x1000001a, 55}, {0x1000004c, 7}};
  d.ApplyStatistics([&](uint32_t id, int32_t* v) {
    auto it = fetched.find(id);
    if (it == fetched.end()) return false;
    *v = it->second;
    return true;
  });
  Records back;
  ASSERT_TRUE(d.CopyToRecords(back.out, kNetworkRecordSize));
  uint32_t u;
  std::memcpy(&u, &back.bytes[0][4], 4);
  EXPECT_EQ(u, 55u);
  float f;
  std::memcpy(&f, &back.bytes[2][364], 4);
  EXPECT_EQ(f, 7.0f);
  std::memcpy(&u, &back.bytes[1][8], 4);
  EXPECT_EQ(u, 102u);  // untouched values keep theirs
  EXPECT_STREQ(reinterpret_cast<const char*>(&back.bytes[2][80]), "third");
}

TEST(GameDescriptionTest, ProfileValuesFollowTheDefinitionsAndReadBackOnlyForThePlayer) {
  Records r = Sample();
  GameDescription d;
  d.CopyFromRecords(r.in, kNetworkRecordSize);
  d.id = 42;
  d.playerId = 9001;
  d.text0 = "zero";
  const auto values =
      d.ProfileValues({kPropDescriptionId, 0x12345678, kPropPlayerId, kPropText0, 0x30000055});
  ASSERT_EQ(values.size(), 4u);  // the unknown id is skipped
  EXPECT_EQ(values[0].number, 42);
  EXPECT_EQ(values[1].number, 9001);
  EXPECT_EQ(values[2].text, "zero");
  EXPECT_EQ(values[3].text, "second");  // player 1's T2

  GameDescription other;
  EXPECT_FALSE(other.ApplyProfileValues(values, 43));  // another player's
  EXPECT_FALSE(other.ApplyProfileValues({values[0], values[1]}, 42));
  std::vector<DescriptionProperty> longText = values;
  longText[3].text = std::string(100, 'x');
  ASSERT_TRUE(other.ApplyProfileValues(longText, 42));
  EXPECT_EQ(other.playerId, 9001u);
  EXPECT_EQ(other.text0, "zero");
  EXPECT_EQ(std::string(other.blocks[1].t2), std::string(63, 'x'));
}

}  // namespace
