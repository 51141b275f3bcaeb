#include "shell/adpcm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace shell {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<int> Samples(const Bytes& b) {
  std::vector<int> s;
  for (size_t i = 0; i + 1 < b.size(); i += 2)
    s.push_back(int16_t(b[i] | b[i + 1] << 8));
  return s;
}

Bytes WithTrailer(Bytes audio) {
  audio.resize(audio.size() + kAdpcmTrailerSize, 0xEE);
  return audio;
}

TEST(AdpcmDecodeEntry, DecodesKnownCodesHighNibbleFirst) {
  // 7: +(0 + 7 + 3 + 1) = 11, index 8; 0: +16/8 = 13, index 7;
  // 8: -14/8 = 12, index 6; F: -(1 + 13 + 6 + 3) = -11, index 14.
  const Bytes stored = WithTrailer({0x70, 0x8F});
  EXPECT_EQ(Samples(AdpcmDecodeEntry(stored.data(), stored.size(), 100)),
            (std::vector<int>{11, 13, 12, -11}));
}

TEST(AdpcmDecodeEntry, ClampsThePredictorAndTheStepIndex) {
  const Bytes up = WithTrailer(Bytes(200, 0x77));
  const auto high = Samples(AdpcmDecodeEntry(up.data(), up.size(), 800));
  ASSERT_EQ(high.size(), 400u);
  EXPECT_EQ(high.back(), 32767);
  const Bytes down = WithTrailer(Bytes(200, 0xFF));
  EXPECT_EQ(Samples(AdpcmDecodeEntry(down.data(), down.size(), 800)).back(), -32768);
}

TEST(AdpcmDecodeEntry, YieldsTheSmallerOfUnpackedSizeAndFourBytesPerStoredByte) {
  const Bytes stored = WithTrailer(Bytes(10, 0x12));
  struct Case {
    size_t storedSize;
    uint32_t unpacked;
    size_t expected;
  } cases[] = {{26, 1000, 40}, {26, 7, 7}, {26, 0, 0}, {16, 100, 0}, {3, 100, 0}, {17, 100, 4}};
  for (const Case& c : cases) {
    EXPECT_EQ(AdpcmDecodeEntry(stored.data(), c.storedSize, c.unpacked).size(), c.expected)
        << c.storedSize << " " << c.unpacked;
  }
}

TEST(AdpcmEncodeBuffer, RoundTripsCloselyAndKeepsAnOddLastSample) {
  for (size_t count : {1u, 2u, 3u, 999u, 1000u, 1001u, 4321u}) {
    Bytes pcm;
    for (size_t i = 0; i < count; ++i) {
      const int16_t s =
          int16_t(8000 * std::sin(double(i) / 9.0) + 3000 * std::sin(double(i) / 2.3));
      pcm.push_back(uint8_t(s)), pcm.push_back(uint8_t(s >> 8));
    }
    const Bytes packed = AdpcmEncodeBuffer(pcm.data(), pcm.size());
    ASSERT_EQ(packed.size(), (count + 1) / 2) << count;
    const Bytes stored = WithTrailer(packed);
    const Bytes out = AdpcmDecodeEntry(stored.data(), stored.size(), uint32_t(pcm.size()));
    ASSERT_EQ(out.size(), pcm.size()) << count;
    const auto a = Samples(pcm), b = Samples(out);
    // The step adapts from 7, so the first samples lag behind.
    for (size_t i = 40; i < count; ++i) {
      ASSERT_LT(std::abs(a[i] - b[i]), 1200) << count << " at " << i;
    }
  }
}

}  // namespace
}  // namespace shell
