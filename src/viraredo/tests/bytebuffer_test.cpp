#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bd_test_support.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdBitOperations.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

namespace {

using bdtest::CoreTest;

TEST(bdBytePackerTest, EncodedUInt16Table) {
  struct {
    std::uint16_t value;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {0, {0x00}}, {127, {0x7F}}, {128, {0x80, 0x80}}, {300, {0x81, 0x2C}}, {32767, {0xFF, 0xFF}}};
  for (const auto& c : cases) {
    unsigned char buf[4] = {};
    unsigned int end = 99;
    ASSERT_TRUE(bdBytePacker::appendEncodedUInt16(buf, sizeof buf, 1, end, c.value));
    EXPECT_EQ(end, 1 + c.bytes.size());
    EXPECT_EQ(std::vector<unsigned char>(buf + 1, buf + end), c.bytes) << c.value;
    std::uint16_t back = 0;
    unsigned int readEnd = 0;
    ASSERT_TRUE(bdBytePacker::removeEncodedUInt16(buf, end, 1, readEnd, back));
    EXPECT_EQ(back, c.value);
    EXPECT_EQ(readEnd, end);
  }
}

TEST(bdBytePackerTest, ShortBuffersAreRefusedAndOffsetKept) {
  unsigned char buf[4] = {0x81, 0, 0, 0};
  unsigned int end = 77;
  EXPECT_FALSE(bdBytePacker::appendBuffer(buf, 4, 4, end, "x", 1));
  EXPECT_EQ(end, 4u);
  EXPECT_FALSE(bdBytePacker::appendBuffer(buf, 4, 2, end, "xyz", 3));
  EXPECT_EQ(end, 2u);
  std::uint32_t value = 0;
  EXPECT_FALSE(bdBytePacker::removeBasicType(buf, 3, 0, end, value));
  EXPECT_EQ(end, 0u);
  std::uint16_t encoded = 0;
  EXPECT_FALSE(bdBytePacker::removeEncodedUInt16(buf, 1, 0, end, encoded));  // second byte missing
  EXPECT_EQ(end, 0u);
  EXPECT_FALSE(bdBytePacker::skipBytes(4, 1, end, 4));
  EXPECT_TRUE(bdBytePacker::skipBytes(4, 1, end, 3));
  EXPECT_EQ(end, 4u);
  EXPECT_FALSE(bdBytePacker::rewindBytes(4, 2, end, 3));
  EXPECT_TRUE(bdBytePacker::rewindBytes(4, 2, end, 2));
  EXPECT_EQ(end, 0u);
}

TEST(bdBytePackerTest, BasicTypesAreLittleEndianAndDryRunsCount) {
  unsigned char buf[8];
  unsigned int end = 0;
  ASSERT_TRUE(bdBytePacker::appendBasicType<std::uint32_t>(buf, 8, 0, end, 0x11223344));
  ASSERT_TRUE(bdBytePacker::appendBasicType<std::int16_t>(buf, 8, end, end, -2));
  EXPECT_EQ(std::vector<unsigned char>(buf, buf + end),
            (std::vector<unsigned char>{0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF}));
  unsigned int dry = 0;
  ASSERT_TRUE(bdBytePacker::appendBuffer(nullptr, 0xFFFFFFFF, 0, dry, nullptr, 4));
  ASSERT_TRUE(bdBytePacker::appendBasicType<std::uint16_t>(nullptr, 0xFFFFFFFF, dry, dry, 3));
  EXPECT_EQ(dry, 6u);
}

TEST_F(CoreTest, ByteBufferRefusesWhatDoesNotFit) {
  bdReference<bdByteBuffer> buffer(new bdByteBuffer(8));
  EXPECT_TRUE(buffer->write("abcd", 4));
  EXPECT_TRUE(buffer->write("efgh", 4));
  EXPECT_FALSE(buffer->write("i", 1));
  EXPECT_TRUE(log.saw("Could not write data to buffer. Insufficient space."));
  char out[9] = {};
  EXPECT_TRUE(buffer->read(out, 8));
  EXPECT_STREQ(out, "abcdefgh");
  EXPECT_FALSE(buffer->read(out, 1));
  EXPECT_TRUE(log.saw("Could not read data from buffer. Insufficient data available."));

  // Reads may pass the write position but never see stale memory.
  bdReference<bdByteBuffer> fresh(new bdByteBuffer(4));
  std::uint32_t word = 0xFFFFFFFF;
  EXPECT_TRUE(fresh->read(&word, 4));
  EXPECT_EQ(word, 0u);
}

TEST_F(CoreTest, HighBitNumberAndPowersOfTwo) {
  EXPECT_EQ(bdBitOperations::highBitNumber(1), 0u);
  EXPECT_EQ(bdBitOperations::highBitNumber(5), 2u);
  EXPECT_EQ(bdBitOperations::highBitNumber(0x80000000u), 31u);
  EXPECT_EQ(bdBitOperations::highBitNumber(0), 0u);
  EXPECT_TRUE(log.saw("no bits set, so cannot find highest."));
  EXPECT_EQ(bdBitOperations::nextPowerOf2(4), 4u);
  EXPECT_EQ(bdBitOperations::nextPowerOf2(5), 8u);
  EXPECT_EQ(bdBitOperations::nextPowerOf2(0), 0u);
}

}  // namespace
