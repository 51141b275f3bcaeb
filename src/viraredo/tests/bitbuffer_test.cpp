#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bd_test_support.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"

namespace {

using bdtest::CoreTest;
using Bits = bdReference<bdBitBuffer>;

std::vector<unsigned char> bytesOf(const bdBitBuffer& b) {
  return std::vector<unsigned char>(b.getData(), b.getData() + b.getDataSize());
}

// Reads a buffer back as received data would be.
Bits received(const bdBitBuffer& b) {
  return Bits(new bdBitBuffer(b.getData(), b.getNumBitsWritten(), true));
}

TEST_F(CoreTest, NewBuffersHoldOnlyTheHeaderBit) {
  Bits typed(new bdBitBuffer(0, true));
  Bits untyped(new bdBitBuffer(64, false));
  EXPECT_EQ(typed->getNumBitsWritten(), 1u);
  EXPECT_EQ(bytesOf(*typed), std::vector<unsigned char>{0x01});
  EXPECT_EQ(bytesOf(*untyped), std::vector<unsigned char>{0x00});
  EXPECT_EQ(typed->getReadPosition(), 1u);
}

TEST_F(CoreTest, TypedUInt32Layout) {
  Bits b(new bdBitBuffer(0, true));
  b->writeUInt32(0x12345678);
  EXPECT_EQ(b->getNumBitsWritten(), 38u);
  // header 1, code 8 = bits 0,0,0,1,0, then 0x12345678 from its least significant bit.
  EXPECT_EQ(bytesOf(*b), (std::vector<unsigned char>{0x11, 0x9E, 0x15, 0x8D, 0x04}));
}

// Bits each typed field takes after its 5-bit code: the table of the format.
TEST_F(CoreTest, TypedFieldWidthsAndRoundTrip) {
  Bits b(new bdBitBuffer(0, true));
  std::vector<unsigned int> widths;
  unsigned int last = b->getNumBitsWritten();
  auto mark = [&] {
    widths.push_back(b->getNumBitsWritten() - last);
    last = b->getNumBitsWritten();
  };
  b->writeBool(true), mark();
  b->writeUChar8(200), mark();
  b->writeInt16(-5), mark();
  b->writeUInt16(65000), mark();
  b->writeInt32(-70000), mark();
  b->writeUInt32(4000000000u), mark();
  b->writeInt64(-1234567890123LL), mark();
  b->writeUInt64(0xFEDCBA9876543210ull), mark();
  b->writeFloat32(1.5f), mark();
  b->writeFloat64(-2.25), mark();
  b->writeString(bdString("hey")), mark();
  const unsigned char blob[3] = {1, 2, 3};
  b->writeBlob(blob, 3), mark();
  const unsigned char id[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  b->writeFullType(id, 64), mark();
  EXPECT_EQ(widths,
            (std::vector<unsigned int>{5 + 1, 5 + 8, 5 + 16, 5 + 16, 5 + 32, 5 + 32, 5 + 64, 5 + 64,
                                       5 + 32, 5 + 64, 5 + 32, 5 + 5 + 32 + 24, 5 + 64}));

  Bits r = received(*b);
  ASSERT_TRUE(r->isTyped());
  bool flag = false;
  unsigned char uc = 0;
  std::int16_t i16 = 0;
  std::uint16_t u16 = 0;
  std::int32_t i32 = 0;
  std::uint32_t u32 = 0;
  std::int64_t i64 = 0;
  std::uint64_t u64 = 0;
  float f = 0;
  double d = 0;
  char text[8];
  unsigned char blobOut[8];
  unsigned int blobLength = sizeof blobOut;
  unsigned char idOut[8];
  EXPECT_TRUE(r->readBool(flag) && flag);
  EXPECT_TRUE(r->readUChar8(uc));
  EXPECT_TRUE(r->readInt16(i16));
  EXPECT_TRUE(r->readUInt16(u16));
  EXPECT_TRUE(r->readInt32(i32));
  EXPECT_TRUE(r->readUInt32(u32));
  EXPECT_TRUE(r->readInt64(i64));
  EXPECT_TRUE(r->readUInt64(u64));
  EXPECT_TRUE(r->readFloat32(f));
  EXPECT_TRUE(r->readFloat64(d));
  EXPECT_TRUE(r->readString(text, sizeof text));
  EXPECT_TRUE(r->readBlob(blobOut, blobLength));
  EXPECT_TRUE(r->readFullType(idOut, 64));
  EXPECT_EQ(uc, 200);
  EXPECT_EQ(i16, -5);
  EXPECT_EQ(u16, 65000);
  EXPECT_EQ(i32, -70000);
  EXPECT_EQ(u32, 4000000000u);
  EXPECT_EQ(i64, -1234567890123LL);
  EXPECT_EQ(u64, 0xFEDCBA9876543210ull);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, -2.25);
  EXPECT_STREQ(text, "hey");
  EXPECT_EQ(blobLength, 3u);
  EXPECT_EQ(std::memcmp(blobOut, blob, 3), 0);
  EXPECT_EQ(std::memcmp(idOut, id, 8), 0);
  EXPECT_FALSE(r->readBool(flag));  // nothing left
  EXPECT_TRUE(r->hasReadFailed());
}

TEST_F(CoreTest, TypeMismatchIsRefusedAndNamed) {
  Bits b(new bdBitBuffer(0, true));
  b->writeUInt32(7);
  std::int32_t value = 99;
  EXPECT_FALSE(b->readInt32(value));
  EXPECT_EQ(value, 99);
  EXPECT_TRUE(log.saw("Expected: Int32 , read: UInt32 "));
  EXPECT_STREQ(bdBitBufferDataTypeName(17), "String");
  EXPECT_STREQ(bdBitBufferDataTypeName(30), "Unknown Type");
  EXPECT_STREQ(bdBitBufferDataTypeName(-1), "NoType");
}

TEST_F(CoreTest, UntypedBuffersCarryOnlyFieldBits) {
  Bits b(new bdBitBuffer(0, false));
  b->writeUInt16(0xABCD);
  b->writeBool(true);
  EXPECT_EQ(b->getNumBitsWritten(), 1u + 16 + 1);
  Bits r = received(*b);
  EXPECT_FALSE(r->isTyped());
  std::uint16_t v = 0;
  bool flag = false;
  EXPECT_TRUE(r->readUInt16(v));
  EXPECT_TRUE(r->readBool(flag));
  EXPECT_EQ(v, 0xABCD);
  EXPECT_TRUE(flag);
}

TEST_F(CoreTest, RangedUnsignedValues) {
  struct {
    unsigned int value, begin, end, bits, readBack;
  } cases[] = {
      {5, 5, 5, 0, 5}, {40, 0, 31, 5, 31}, {200, 0, 255, 8, 200},
      {1, 0, 1, 1, 1}, {3, 10, 20, 4, 10}, {0xFFFFFFFF, 0, 0xFFFFFFFF, 32, 0xFFFFFFFF},
  };
  for (const auto& c : cases) {
    Bits b(new bdBitBuffer(0, false));
    b->writeRangedUInt32(c.value, c.begin, c.end, false);
    EXPECT_EQ(b->getNumBitsWritten() - 1, c.bits) << c.value;
    unsigned int back = 0;
    Bits r = received(*b);
    EXPECT_TRUE(r->readRangedUInt32(back, c.begin, c.end, false));
    EXPECT_EQ(back, c.readBack);
  }
  // Typed and with its type: code 12 and the range go first.
  Bits t(new bdBitBuffer(0, true));
  t->writeRangedUInt32(9, 0, 15, true);
  EXPECT_EQ(t->getNumBitsWritten(), 1u + 5 + 2 * (5 + 32) + 4);
  unsigned int back = 0;
  Bits r = received(*t);
  EXPECT_TRUE(r->readRangedUInt32(back, 1, 15, true));  // same width, other range
  EXPECT_TRUE(log.saw("Range error. Expected: (1,15), read: (0,15)"));
  EXPECT_EQ(back, 10u);
}

TEST_F(CoreTest, RangedSignedAndFloatValues) {
  Bits b(new bdBitBuffer(0, true));
  b->writeRangedInt32(-3, -10, 10);
  b->writeRangedInt32(50, -10, 10);
  b->writeRangedFloat32(0.26f, 0.0f, 1.0f, 0.01f);
  b->writeRangedFloat32(5.0f, 0.0f, 1.0f, 0.01f);
  Bits r = received(*b);
  int i = 0;
  float f = 0;
  EXPECT_TRUE(r->readRangedInt32(i, -10, 10));
  EXPECT_EQ(i, -3);
  EXPECT_TRUE(r->readRangedInt32(i, -10, 10));
  EXPECT_EQ(i, 10);
  EXPECT_TRUE(r->readRangedFloat32(f, 0.0f, 1.0f, 0.01f));
  EXPECT_NEAR(f, 0.26f, 0.006f);
  EXPECT_TRUE(r->readRangedFloat32(f, 0.0f, 1.0f, 0.01f));
  EXPECT_FLOAT_EQ(f, 1.0f);

  // 100 steps take 7 bits after the code and the three range floats.
  Bits u(new bdBitBuffer(0, false));
  u->writeRangedFloat32(0.5f, 0.0f, 1.0f, 0.01f);
  EXPECT_EQ(u->getNumBitsWritten(), 1u + 7);
}

TEST_F(CoreTest, HugeFloatRangeFallsBackToPlainFloat) {
  Bits b(new bdBitBuffer(0, false));
  b->writeRangedFloat32(12345.5f, -1e9f, 1e9f, 0.1f);
  EXPECT_EQ(b->getNumBitsWritten(), 1u + 32);
  EXPECT_TRUE(log.saw("range/precision combination is too large"));
  Bits r = received(*b);
  float f = 0;
  EXPECT_TRUE(r->readRangedFloat32(f, -1e9f, 1e9f, 0.1f));
  EXPECT_EQ(f, 12345.5f);
}

TEST_F(CoreTest, StringsAreCutToTheCallersBuffer) {
  Bits b(new bdBitBuffer(0, true));
  b->writeString("abcdef", 100);
  b->writeString("xyz", 2);
  b->writeUInt32(1);
  Bits r = received(*b);
  char small[4];
  EXPECT_TRUE(r->readString(small, sizeof small));
  EXPECT_STREQ(small, "abc");
  char other[8];
  EXPECT_TRUE(r->readString(other, sizeof other));
  EXPECT_STREQ(other, "xy");
  std::uint32_t v = 0;
  EXPECT_TRUE(r->readUInt32(v));  // the whole field was consumed
  EXPECT_EQ(v, 1u);
}

TEST_F(CoreTest, ShortOrMalformedInputIsRefused) {
  // A blob longer than the caller's room is refused once its length is read.
  Bits b(new bdBitBuffer(0, true));
  unsigned char ten[10] = {};
  b->writeBlob(ten, 10);
  Bits r = received(*b);
  unsigned char out[4];
  unsigned int room = sizeof out;
  EXPECT_FALSE(r->readBlob(out, room));
  EXPECT_TRUE(log.saw("Reading BLOB failed. Buffer too small."));

  // A blob whose length claims more than the data holds.
  Bits lying(new bdBitBuffer(0, true));
  lying->writeDataType(BD_BB_BLOB_TYPE);
  lying->writeUInt32(1000);
  lying->writeUInt32(0);
  Bits lr = received(*lying);
  unsigned char big[2000];
  unsigned int bigRoom = sizeof big;
  EXPECT_FALSE(lr->readBlob(big, bigRoom));
  EXPECT_TRUE(lr->hasReadFailed());

  // Truncated data: every cut of a field fails without storing a partial value.
  Bits full(new bdBitBuffer(0, true));
  full->writeUInt64(0x0102030405060708ull);
  for (unsigned int bits = 0; bits < full->getNumBitsWritten(); ++bits) {
    Bits cut(new bdBitBuffer(full->getData(), bits, true));
    std::uint64_t v = 42;
    EXPECT_FALSE(cut->readUInt64(v)) << bits;
    EXPECT_EQ(v, 42u);
  }

  // A string without its zero ends at the data and stays terminated.
  Bits str(new bdBitBuffer(0, true));
  str->writeDataType(BD_BB_SIGNED_CHAR8_STRING_TYPE);
  str->writeBits("abc", 24);
  Bits sr = received(*str);
  char text[8];
  std::memset(text, 'z', sizeof text);
  EXPECT_FALSE(sr->readString(text, sizeof text));
  EXPECT_STREQ(text, "abc");
}

TEST_F(CoreTest, AppendJoinsFieldsOfTheSameMode) {
  Bits a(new bdBitBuffer(0, true));
  Bits b(new bdBitBuffer(0, true));
  Bits plain(new bdBitBuffer(0, false));
  a->writeUInt16(1);
  b->writeUInt16(2);
  b->writeBool(false);
  EXPECT_TRUE(a->append(*b));
  EXPECT_FALSE(a->append(*plain));
  Bits r = received(*a);
  std::uint16_t x = 0, y = 0;
  bool flag = true;
  EXPECT_TRUE(r->readUInt16(x) && r->readUInt16(y) && r->readBool(flag));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
  EXPECT_FALSE(flag);
  EXPECT_EQ(b->getReadPosition(), 1u);
}

TEST_F(CoreTest, UntypedDataWithoutHeaderGetsOne) {
  const unsigned char data[2] = {0xFF, 0x01};
  Bits b(new bdBitBuffer(data, 9, false));
  EXPECT_FALSE(b->isTyped());
  EXPECT_EQ(b->getNumBitsWritten(), 10u);
  EXPECT_EQ(bytesOf(*b), (std::vector<unsigned char>{0xFE, 0x03}));
  std::uint16_t v = 0;
  unsigned char raw[2] = {};
  EXPECT_TRUE(b->readBits(raw, 9));
  std::memcpy(&v, raw, 2);
  EXPECT_EQ(v, 0x1FF);
}

}  // namespace
