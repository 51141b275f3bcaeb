#include "shell/dcl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "shell/dcl_tables.h"

namespace shell {
namespace {

// Input handed out in chunks of at most `chunk` bytes (after a first read
// of `first` bytes) so that buffer refills happen at awkward places.
struct Source {
  const std::vector<uint8_t>* data;
  size_t pos = 0;
  unsigned first = ~0u;
  unsigned chunk = ~0u;
  int reads = 0;
};

unsigned ReadSource(uint8_t* buffer, unsigned* size, void* param) {
  auto* s = static_cast<Source*>(param);
  unsigned limit = s->reads++ == 0 ? s->first : s->chunk;
  unsigned n = unsigned(std::min<size_t>({*size, limit, s->data->size() - s->pos}));
  if (n) std::memcpy(buffer, s->data->data() + s->pos, n);
  s->pos += n;
  return n;
}

void WriteSink(uint8_t* buffer, unsigned* size, void* param) {
  auto* out = static_cast<std::vector<uint8_t>*>(param);
  out->insert(out->end(), buffer, buffer + *size);
}

struct Both {
  Source source;
  std::vector<uint8_t> out;
};

unsigned ReadBoth(uint8_t* b, unsigned* s, void* p) {
  return ReadSource(b, s, &static_cast<Both*>(p)->source);
}
void WriteBoth(uint8_t* b, unsigned* s, void* p) { WriteSink(b, s, &static_cast<Both*>(p)->out); }

int RunImplode(const std::vector<uint8_t>& in, unsigned mode, unsigned dict,
               std::vector<uint8_t>* out, unsigned chunk = ~0u) {
  auto work = std::make_unique<ImplodeWork>();
  Both io;
  io.source.data = &in;
  io.source.first = io.source.chunk = chunk;
  int r = Implode(ReadBoth, WriteBoth, work.get(), &io, mode, dict);
  *out = std::move(io.out);
  return r;
}

int RunExplode(const std::vector<uint8_t>& in, std::vector<uint8_t>* out, unsigned chunk = ~0u) {
  auto work = std::make_unique<ExplodeWork>();
  Both io;
  io.source.data = &in;
  io.source.chunk = chunk;
  int r = Explode(ReadBoth, WriteBoth, work.get(), &io);
  *out = std::move(io.out);
  return r;
}

// Writes bits lowest first, as the stream format stores them.
class BitWriter {
 public:
  BitWriter(uint8_t mode, uint8_t k) : bytes_{mode, k} {}
  void Put(uint32_t value, unsigned n) {
    for (unsigned i = 0; i < n; ++i) {
      if (bit_ == 0) bytes_.push_back(0);
      bytes_.back() |= uint8_t(((value >> i) & 1) << bit_);
      bit_ = (bit_ + 1) & 7;
    }
  }
  void End() { Put(1, 1), Put(0, 7), Put(255, 8); }  // length code 15, extra 255
  std::vector<uint8_t> bytes_;
  unsigned bit_ = 0;
};

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// The lengths and codes must form one complete prefix code.
void ExpectCompletePrefixCode(const uint8_t* bits, const uint16_t* codes, int n) {
  double kraft = 0;
  for (int a = 0; a < n; ++a) {
    kraft += 1.0 / double(1u << bits[a]);
    for (int b = 0; b < n; ++b) {
      if (a == b || bits[a] > bits[b]) continue;
      EXPECT_NE(codes[a], codes[b] & ((1u << bits[a]) - 1)) << a << " prefixes " << b;
    }
  }
  EXPECT_DOUBLE_EQ(kraft, 1.0);
}

TEST(DclTables, FormCompletePrefixCodes) {
  std::vector<uint16_t> len(dcl::LenCode, dcl::LenCode + dcl::kLengthCodes);
  ExpectCompletePrefixCode(dcl::LenBits, len.data(), dcl::kLengthCodes);
  std::vector<uint16_t> dist(dcl::DistCode, dcl::DistCode + dcl::kDistanceCodes);
  ExpectCompletePrefixCode(dcl::DistBits, dist.data(), dcl::kDistanceCodes);
  ExpectCompletePrefixCode(dcl::ChBitsAsc, dcl::ChCodeAsc, 256);
}

TEST(DclTables, AsciiCodeMatchesKnownSamples) {
  struct Sample {
    uint8_t byte, bits;
    uint16_t code;
  };
  for (Sample s : {Sample{' ', 4, 0x0F}, Sample{'\n', 7, 0x62}, Sample{'\r', 7, 0x22},
                   Sample{'e', 5, 0x1B}, Sample{'A', 6, 0x31}}) {
    EXPECT_EQ(dcl::ChBitsAsc[s.byte], s.bits) << int(s.byte);
    EXPECT_EQ(dcl::ChCodeAsc[s.byte], s.code) << int(s.byte);
  }
}

TEST(Explode, DecodesPublishedBinarySample) {
  // Binary literals, 1024-byte dictionary: "AI" then a 11-byte run at distance 2.
  std::vector<uint8_t> out;
  EXPECT_EQ(RunExplode({0x00, 0x04, 0x82, 0x24, 0x25, 0x8f, 0x80, 0x7f}, &out), kDclOk);
  EXPECT_EQ(std::string(out.begin(), out.end()), "AIAIAIAIAIAIA");
}

TEST(Explode, DecodesAsciiLiteralsFromTheirCodes) {
  BitWriter w(kDclAscii, 6);
  for (auto [code, bits] :
       {std::pair{0x31u, 6u}, {0x0Fu, 4u}, {0x1Bu, 5u}, {0x22u, 7u}, {0x62u, 7u}}) {
    w.Put(0, 1), w.Put(code, bits);
  }
  w.End();
  std::vector<uint8_t> out;
  EXPECT_EQ(RunExplode(w.bytes_, &out), kDclOk);
  EXPECT_EQ(out, Bytes("A e\r\n"));
}

TEST(Explode, TwoByteRepetitionCarriesTwoLowDistanceBits) {
  for (uint8_t k : {4, 5, 6}) {
    BitWriter w(kDclBinary, k);
    w.Put(0, 1), w.Put('x', 8);
    w.Put(0, 1), w.Put('y', 8);
    w.Put(0, 1), w.Put('z', 8);
    // Length 2 (code index 0: 3 bits, code 5); distance high 0 (2 bits,
    // code 3) and low bits 01: starts 2 bytes back.
    w.Put(1, 1), w.Put(5, 3), w.Put(3, 2), w.Put(1, 2);
    w.End();
    std::vector<uint8_t> out;
    EXPECT_EQ(RunExplode(w.bytes_, &out), kDclOk) << int(k);
    EXPECT_EQ(out, Bytes("xyzyz")) << int(k);
  }
}

TEST(Explode, ReportsEachError) {
  std::vector<uint8_t> valid;
  ASSERT_EQ(RunImplode(Bytes("hello hello hello hello"), kDclBinary, 1024, &valid), kDclOk);
  auto with = [&](size_t at, uint8_t v) {
    auto s = valid;
    s[at] = v;
    return s;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> stream;
    int result;
  } cases[] = {
      {"exponent 7", with(1, 7), kDclInvalidDictSize},
      {"exponent 3", with(1, 3), kDclInvalidDictSize},
      {"mode 2", with(0, 2), kDclInvalidMode},
      {"four bytes", {0, 4, 0, 0}, kDclBadData},
      {"empty", {}, kDclBadData},
      {"cut before the end", {valid.begin(), valid.end() - 2}, kDclAbort},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out;
    EXPECT_EQ(RunExplode(c.stream, &out), c.result) << c.what;
  }
}

TEST(Explode, AbortStillDeliversTheBytesDecodedSoFar) {
  std::vector<uint8_t> text(5000);
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = uint8_t('a' + (i * 7 + i / 13) % 26);
  std::vector<uint8_t> packed, out;
  ASSERT_EQ(RunImplode(text, kDclBinary, 4096, &packed), kDclOk);
  packed.resize(packed.size() * 3 / 4);
  EXPECT_EQ(RunExplode(packed, &out), kDclAbort);
  ASSERT_GT(out.size(), 1000u);
  ASSERT_LT(out.size(), text.size());
  EXPECT_TRUE(std::equal(out.begin(), out.end(), text.begin()));
}

TEST(Explode, RefusesDistanceBeforeTheStart) {
  BitWriter w(kDclBinary, 4);
  w.Put(0, 1), w.Put('q', 8);
  // Length 3 (index 1: 2 bits, code 3), distance 1 reaches 2 bytes back.
  w.Put(1, 1), w.Put(3, 2), w.Put(3, 2), w.Put(1, 4);
  w.End();
  std::vector<uint8_t> out;
  EXPECT_EQ(RunExplode(w.bytes_, &out), kDclBadData);
  EXPECT_EQ(out, Bytes("q"));
}

TEST(Implode, RejectsBadParameters) {
  std::vector<uint8_t> out;
  for (unsigned dict : {0u, 512u, 1000u, 8192u}) {
    EXPECT_EQ(RunImplode(Bytes("abc"), kDclBinary, dict, &out), kDclInvalidDictSize) << dict;
  }
  EXPECT_EQ(RunImplode(Bytes("abc"), 2, 4096, &out), kDclInvalidMode);
}

std::vector<uint8_t> MakeData(int kind, size_t size, std::mt19937& rng) {
  std::vector<uint8_t> d(size);
  static const char* words[] = {"the ", "board ", "tile ", "rack\r\n", "Word ", "score ", "e"};
  size_t i = 0;
  switch (kind) {
    case 0:  // text
      while (i < size) {
        for (const char* c = words[rng() % 7]; *c && i < size; ++c)
          d[i++] = uint8_t(*c);
      }
      break;
    case 1:  // random bytes
      for (auto& b : d)
        b = uint8_t(rng());
      break;
    case 2:  // one long run: repetitions overlapping themselves
      std::fill(d.begin(), d.end(), uint8_t(0x5A));
      break;
    case 3:  // short periods and runs mixed with noise
      for (; i < size; ++i) {
        d[i] = (i / 700) % 3 == 0 ? uint8_t(rng()) : uint8_t("abc"[i % 3] + (i / 2100) % 2);
      }
      break;
  }
  return d;
}

TEST(DclRoundTrip, EveryModeDictionaryAndSize) {
  std::mt19937 rng(1234);
  const size_t sizes[] = {1,    2,    3,    17,   1023, 1024,  2049,
                          4096, 4097, 8191, 8192, 8709, 70000, 200 * 1024};
  for (unsigned mode : {kDclBinary, kDclAscii}) {
    for (unsigned dict : {1024u, 2048u, 4096u}) {
      for (size_t size : sizes) {
        for (int kind = 0; kind < 4; ++kind) {
          SCOPED_TRACE(testing::Message() << "mode " << mode << " dict " << dict << " size " << size
                                          << " kind " << kind);
          const auto data = MakeData(kind, size, rng);
          std::vector<uint8_t> packed, out;
          // Odd chunk sizes make the buffers refill mid-token.
          const unsigned chunk = size % 2 ? 1000 : ~0u;
          ASSERT_EQ(RunImplode(data, mode, dict, &packed, chunk), kDclOk);
          ASSERT_EQ(RunExplode(packed, &out, size % 2 ? 7 : ~0u), kDclOk);
          ASSERT_EQ(out, data);
          if (kind == 2 && size >= 8192) {
            EXPECT_LT(packed.size(), size / 100);
          }
          if (kind == 0 && size >= 8192) {
            EXPECT_LT(packed.size(), size / 2);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace shell
