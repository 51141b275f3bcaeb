// The personality chooser's card texts, scroll range and the portrait
// header check.
#include "shell/startup/personality_cards.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/binio.h"

namespace {

TEST(PersonalityCards, TextsAndNames) {
  EXPECT_EQ(shell::PersonalityCardTitle("Pip", 350), "PIP(350)");
  EXPECT_EQ(shell::PersonalityCardTitle("", -5), "(-5)");
  EXPECT_EQ(shell::PersonalityCallerName("MINA ROSE"), "Mina rose");
  EXPECT_EQ(shell::PersonalityCallerName("pip"), "pip");  // the first letter stays as it is
  EXPECT_EQ(shell::PersonalityFileStem("pip.QNP"), "pip");
  EXPECT_EQ(shell::PersonalityFileStem("a.b.QNP"), "a");
  EXPECT_EQ(shell::PersonalityFileStem("plain"), "plain");
}

TEST(PersonalityCards, TheRowNeverRunsPastTheLastPersonality) {
  const int cases[][3] = {{0, 10, 0}, {6, 10, 6}, {7, 10, 6}, {-3, 10, 0}, {2, 3, 0}, {1, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(shell::ClampFirstCard(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
}

std::vector<uint8_t> Dib(uint32_t headerSize, int32_t w, int32_t h, uint16_t bits, uint32_t used,
                         size_t pixelBytes) {
  std::vector<uint8_t> out(40 + pixelBytes + (bits == 8 ? (used ? used : 256) * 4 : 0));
  ByteWriter wr(out.data(), out.size());
  wr.U32(headerSize);
  wr.I32(w);
  wr.I32(h);
  wr.U16(1);
  wr.U16(bits);
  wr.U32(0);
  wr.U32(0);
  wr.U32(0);
  wr.U32(0);
  wr.U32(used);
  return out;
}

TEST(PersonalityCards, PortraitHeaderIsCheckedAgainstItsBlock) {
  shell::PackedDibLayout l;
  // 96 x 96 at 24 bits: rows of 288 bytes.
  std::vector<uint8_t> face = Dib(40, 96, 96, 24, 0, 288 * 96);
  ASSERT_TRUE(shell::ReadPackedDibLayout(face.data(), face.size(), l));
  EXPECT_EQ(l.bitsOffset, 40u);
  EXPECT_EQ(l.width, 96);
  // One byte short of the last row, a huge side, a bad depth, a header
  // claiming more than the block, a palette of too many colours.
  EXPECT_FALSE(shell::ReadPackedDibLayout(face.data(), face.size() - 1, l));
  std::vector<uint8_t> wide = Dib(40, 1 << 20, 1, 24, 0, 16);
  EXPECT_FALSE(shell::ReadPackedDibLayout(wide.data(), wide.size(), l));
  std::vector<uint8_t> odd = Dib(40, 4, 4, 4, 0, 64);
  EXPECT_FALSE(shell::ReadPackedDibLayout(odd.data(), odd.size(), l));
  std::vector<uint8_t> big = Dib(0x7FFFFFFF, 4, 4, 24, 0, 64);
  EXPECT_FALSE(shell::ReadPackedDibLayout(big.data(), big.size(), l));
  std::vector<uint8_t> pal = Dib(40, 4, -4, 8, 300, 16);
  EXPECT_FALSE(shell::ReadPackedDibLayout(pal.data(), pal.size(), l));
  // A top-down 8-bit picture with a 16-colour table.
  std::vector<uint8_t> small = Dib(40, 4, -4, 8, 16, 16);
  ASSERT_TRUE(shell::ReadPackedDibLayout(small.data(), small.size(), l));
  EXPECT_EQ(l.bitsOffset, 40u + 64u);
  EXPECT_EQ(l.height, -4);
  EXPECT_FALSE(shell::ReadPackedDibLayout(nullptr, 0, l));
}

}  // namespace
