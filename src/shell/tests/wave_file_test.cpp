// Wave files: the formats we play, and damaged files refused or cut to the
// bytes they hold.
#include "shell/wave_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/binio.h"

namespace {

struct Spec {
  uint16_t tag = 1, channels = 1, bits = 16;
  uint32_t rate = 22050;
  int32_t dataSize = -1;  // -1: the real size
  bool extensible = false;
  bool extraChunk = false;
  bool formatFirst = true;
};

std::vector<uint8_t> MakeWave(const Spec& s, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  ByteWriter w(out);
  w.Bytes("RIFF", 4);
  w.U32(0);  // not trusted, so not filled in
  w.Bytes("WAVE", 4);
  auto fmt = [&] {
    w.Bytes("fmt ", 4);
    w.U32(s.extensible ? 40 : 16);
    w.U16(s.extensible ? 0xFFFE : s.tag);
    w.U16(s.channels);
    w.U32(s.rate);
    w.U32(s.rate * s.channels * s.bits / 8);
    w.U16(static_cast<uint16_t>(s.channels * s.bits / 8));
    w.U16(s.bits);
    if (s.extensible) {
      w.U16(22);
      w.U16(s.bits);
      w.U32(0);
      w.U16(s.tag);
      w.Zeros(14);
    }
  };
  if (s.formatFirst) fmt();
  if (s.extraChunk) {
    w.Bytes("LIST", 4);
    w.U32(3);
    w.Bytes("abc\0", 4);  // odd size, padded
  }
  w.Bytes("data", 4);
  w.U32(s.dataSize < 0 ? static_cast<uint32_t>(data.size()) : static_cast<uint32_t>(s.dataSize));
  w.Bytes(data.data(), data.size());
  if (!s.formatFirst) fmt();
  return out;
}

const std::vector<uint8_t> kFour16 = {0x01, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0xFE, 0xFF};

TEST(WaveFile, ReadsPcmOfEachSupportedShape) {
  shell::WaveData w;
  Spec mono;
  ASSERT_EQ(shell::ParseWave(MakeWave(mono, kFour16).data(), MakeWave(mono, kFour16).size(), w),
            shell::WaveError::kNone);
  EXPECT_EQ(w.rate, 22050u);
  EXPECT_EQ(w.channels, 1);
  EXPECT_EQ(w.pcm, (std::vector<int16_t>{1, 32767, -32768, -2}));

  Spec stereo;
  stereo.channels = 2;
  stereo.extraChunk = true;
  auto bytes = MakeWave(stereo, kFour16);
  ASSERT_EQ(shell::ParseWave(bytes.data(), bytes.size(), w), shell::WaveError::kNone);
  EXPECT_EQ(w.frames(), 2u);

  Spec eight;
  eight.bits = 8;
  eight.extensible = true;
  bytes = MakeWave(eight, {0, 128, 255});
  ASSERT_EQ(shell::ParseWave(bytes.data(), bytes.size(), w), shell::WaveError::kNone);
  EXPECT_EQ(w.pcm, (std::vector<int16_t>{-32768, 0, 32512}));
}

TEST(WaveFile, RefusesWhatItCannotPlayAndCutsAnOverlongDataChunk) {
  struct Case {
    const char* what;
    Spec spec;
    std::vector<uint8_t> data;
    shell::WaveError expected;
  };
  Spec adpcm;
  adpcm.tag = 2;
  Spec extAdpcm;
  extAdpcm.extensible = true;
  extAdpcm.tag = 2;
  Spec bits24;
  bits24.bits = 24;
  Spec six;
  six.channels = 6;
  Spec slow;
  slow.rate = 100;
  Spec fast;
  fast.rate = 1000000;
  Spec late;
  late.formatFirst = false;
  Spec halfFrame;
  halfFrame.channels = 2;
  const Case cases[] = {
      {"compressed", adpcm, kFour16, shell::WaveError::kUnsupported},
      {"extensible compressed", extAdpcm, kFour16, shell::WaveError::kUnsupported},
      {"24-bit", bits24, kFour16, shell::WaveError::kUnsupported},
      {"six channels", six, kFour16, shell::WaveError::kUnsupported},
      {"rate too low", slow, kFour16, shell::WaveError::kUnsupported},
      {"rate too high", fast, kFour16, shell::WaveError::kUnsupported},
      {"data before format", late, kFour16, shell::WaveError::kNoFormat},
      {"empty data", Spec(), {}, shell::WaveError::kNoData},
      {"less than a frame", halfFrame, {1, 2}, shell::WaveError::kNoData},
  };
  for (const Case& c : cases) {
    const auto bytes = MakeWave(c.spec, c.data);
    shell::WaveData w;
    EXPECT_EQ(shell::ParseWave(bytes.data(), bytes.size(), w), c.expected) << c.what;
    EXPECT_TRUE(w.pcm.empty()) << c.what;
  }

  // A data chunk claiming a huge size keeps the whole frames that are there.
  Spec liar;
  liar.dataSize = 0x7FFFFFF0;
  auto bytes = MakeWave(liar, {1, 0, 2, 0, 3});
  shell::WaveData w;
  ASSERT_EQ(shell::ParseWave(bytes.data(), bytes.size(), w), shell::WaveError::kNone);
  EXPECT_EQ(w.pcm, (std::vector<int16_t>{1, 2}));
}

TEST(WaveFile, TruncatedAndForeignHeadersAreRefusedAtEveryLength) {
  const auto good = MakeWave(Spec(), kFour16);
  for (size_t n = 0; n < good.size(); ++n) {
    shell::WaveData w;
    const shell::WaveError e = shell::ParseWave(good.data(), n, w);
    // A cut inside the samples still plays the whole frames before the cut.
    if (n >= 44 + 2) {
      EXPECT_EQ(e, shell::WaveError::kNone) << n;
      EXPECT_EQ(w.pcm.size(), (n - 44) / 2) << n;
    } else {
      EXPECT_NE(e, shell::WaveError::kNone) << n;
    }
  }
  std::vector<uint8_t> foreign = good;
  foreign[8] = 'X';
  shell::WaveData w;
  EXPECT_EQ(shell::ParseWave(foreign.data(), foreign.size(), w), shell::WaveError::kNotRiffWave);
  EXPECT_EQ(shell::ParseWave(nullptr, 100, w), shell::WaveError::kNotRiffWave);
}

}  // namespace
