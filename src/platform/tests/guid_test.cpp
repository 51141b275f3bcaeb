#include "platform/guid.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Guid, FreshGuidsAreNonNullAndDistinct) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    platform::Guid g = platform::CreateGuid();
    EXPECT_FALSE(g.IsNull());
    EXPECT_EQ(g, g);
    std::string s = platform::GuidToString(g);
    EXPECT_TRUE(seen.insert(s).second) << "repeated " << s;
  }
  EXPECT_TRUE(platform::Guid().IsNull());
}

TEST(Guid, StringFormIsBracedUpperCaseHex) {
  platform::Guid g;
  g.data1 = 0x0123ABCD;
  g.data2 = 0x00EF;
  g.data3 = 0xA;
  const uint8_t tail[8] = {0xFE, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xFF};
  std::copy(tail, tail + 8, g.data4);
  EXPECT_EQ(platform::GuidToString(g), "{0123ABCD-00EF-000A-FE01-0203040506FF}");
  platform::Guid h = g;
  h.data4[7] = 0;
  EXPECT_NE(g, h);
}

TEST(Guid, SystemRandomBytesFillTheBuffer) {
  uint8_t a[32] = {}, b[32] = {};
  ASSERT_TRUE(platform::SystemRandomBytes(a, sizeof a));
  ASSERT_TRUE(platform::SystemRandomBytes(b, sizeof b));
  EXPECT_NE(std::string(a, a + 32), std::string(b, b + 32));
}

}  // namespace
