#include "platform/binio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(ByteIo, LittleEndianFieldsRoundTrip) {
  std::vector<uint8_t> bytes;
  ByteWriter w(bytes);
  w.U8(0xAB);
  w.I16(-2);
  w.U32(0x11223344);
  w.I32(-5);
  w.U64(0x0102030405060708ull);
  w.F32(-1000.0f);
  w.F32(NAN);
  w.Zeros(3);
  w.Bytes("xy", 2);
  ASSERT_TRUE(w.ok());
  ASSERT_EQ(bytes.size(), 1 + 2 + 4 + 4 + 8 + 4 + 4 + 3 + 2u);
  EXPECT_EQ(bytes[3], 0x44);   // lowest byte first
  EXPECT_EQ(bytes[18], 0x01);  // the U64 at 11, highest byte last

  ByteReader r(bytes);
  EXPECT_EQ(r.U8(), 0xAB);
  EXPECT_EQ(r.I16(), -2);
  EXPECT_EQ(r.U32(), 0x11223344u);
  EXPECT_EQ(r.I32(), -5);
  EXPECT_EQ(r.U64(), 0x0102030405060708ull);
  EXPECT_EQ(r.F32(), -1000.0f);
  EXPECT_TRUE(std::isnan(r.F32()));
  EXPECT_TRUE(r.Skip(3));
  char xy[2];
  EXPECT_TRUE(r.Bytes(xy, 2));
  EXPECT_EQ(xy[1], 'y');
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteIo, OverrunsFailAndStayFailed) {
  const uint8_t data[3] = {1, 2, 3};
  ByteReader r(data, sizeof data);
  EXPECT_EQ(r.U32(), 0u);  // too few bytes: zero, nothing consumed
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.U8(), 0u);  // stays failed
  EXPECT_EQ(r.position(), 0u);

  uint8_t out[5] = {};
  ByteWriter w(out, sizeof out);
  w.U32(0xFFFFFFFF);
  w.U16(0x1234);  // does not fit: dropped
  EXPECT_FALSE(w.ok());
  w.U8(7);
  EXPECT_EQ(out[4], 0);
  EXPECT_EQ(w.position(), 4u);

  ByteReader empty(nullptr, 10);
  EXPECT_EQ(empty.remaining(), 0u);
  EXPECT_FALSE(empty.Skip(1));
}

}  // namespace
