// The typed byte stream: exact layouts, round trips in both modes, and
// refusal of short or malformed streams.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Modules/Core/Src/Types/AttributeList.h"
#include "Modules/Core/Src/Types/BinaryBlock.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

using namespace OX_Toolbox;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const Blob& b) { return Bytes(b.getData(), b.getData() + b.getSize()); }

TEST(BlobTest, WritersProduceTheirLayouts) {
  struct Case {
    const char* what;
    void (*write)(Blob&);
    Bytes expected;
  };
  const Case cases[] = {
      {"int8 5", [](Blob& b) { b.writeInt8(0, 5); }, {2, 5}},
      {"uint16", [](Blob& b) { b.writeUInt16(0, 0x1234); }, {5, 0x34, 0x12}},
      {"int32 -2", [](Blob& b) { b.writeInt32(0, -2); }, {6, 0xFE, 0xFF, 0xFF, 0xFF}},
      {"uint64",
       [](Blob& b) { b.writeUInt64(0, 0x0102030405060708ull); },
       {9, 8, 7, 6, 5, 4, 3, 2, 1}},
      {"bool", [](Blob& b) { b.writeBool(0, true); }, {11, 1, 0, 0, 0}},
      {"string abc",
       [](Blob& b) { b.writeString(0, String(u"abc")); },
       {10, 7, 4, 0, 0, 0, 'a', 'b', 'c', 0}},
      {"empty string", [](Blob& b) { b.writeString(0, String(u"")); }, {10, 7, 0, 0, 0, 0}},
      {"string e-acute",
       [](Blob& b) { b.writeString(0, String(u"\u00e9")); },
       {10, 7, 3, 0, 0, 0, 0xC3, 0xA9, 0}},
      {"binary block",
       [](Blob& b) { b.writeBinaryBlock(0, "xy", 2); },
       {12, 6, 2, 0, 0, 0, 'x', 'y'}},
      {"player id",
       [](Blob& b) { PlayerID(CONNECTIONTYPE_ONLINE, 1).serialize(b, 0); },
       {2, 2, 8, 1, 0, 0, 0, 0, 0, 0, 0}},
      {"insert in front", [](Blob& b) { b.writeInt8(0, 1), b.writeInt8(0, 2); }, {2, 2, 2, 1}},
  };
  for (const Case& c : cases) {
    Blob blob;
    c.write(blob);
    EXPECT_EQ(bytesOf(blob), c.expected) << c.what;
  }
}

void writeMix(Blob& b) {
  b.writeInt8(b.getSize(), -7);
  b.writeUInt16(b.getSize(), 65000);
  b.writeInt32(b.getSize(), -123456);
  b.writeUInt64(b.getSize(), 0xFEDCBA9876543210ull);
  b.writeFloat64(b.getSize(), 2.5);
  b.writeString(b.getSize(), String(u"h\u00e9llo \u20ac"));
  b.writeBool(b.getSize(), true);
  b.writeBinaryBlock(b.getSize(), "\x01\x02\x03", 3);
}

void readMix(Blob& b) {
  EXPECT_EQ(b.readInt8(0), -7);
  EXPECT_EQ(b.readUInt16(0), 65000);
  EXPECT_EQ(b.readInt32(0), -123456);
  EXPECT_EQ(b.readUInt64(0), 0xFEDCBA9876543210ull);
  EXPECT_EQ(b.readFloat64(0), 2.5);
  String s;
  EXPECT_TRUE(b.readString(0, s));
  EXPECT_TRUE(s.equalsWide(u"h\u00e9llo \u20ac"));
  EXPECT_TRUE(b.readBool(0));
  std::uint32_t n = 0;
  unsigned char* block = b.readBinaryBlock(0, n);
  ASSERT_EQ(n, 3u);
  EXPECT_EQ(std::memcmp(block, "\x01\x02\x03", 3), 0);
  if (!b.isReadOnly()) ToolboxFree(block);
}

TEST(BlobTest, RoundTripConsumesInWritableModeAndMovesCursorWhenReadOnly) {
  Blob writable;
  writeMix(writable);
  const Bytes written = bytesOf(writable);

  Blob readOnly(written.data(), static_cast<std::uint32_t>(written.size()), BLOB_READONLY);
  readMix(readOnly);
  EXPECT_EQ(readOnly.getCursor(), written.size());
  EXPECT_EQ(readOnly.getSize(), written.size());

  readMix(writable);
  EXPECT_EQ(writable.getSize(), 0u);
}

TEST(BlobTest, ShortDataIsNeverReadAndNothingIsConsumed) {
  const unsigned char truncated[] = {6, 1, 2, 3};  // an int32 missing its last byte
  for (BlobMode mode : {BLOB_EXTRACT_AND_WRITE_ENABLED, BLOB_READONLY}) {
    Blob b(truncated, sizeof truncated, mode);
    EXPECT_EQ(b.readInt32(0), 0);
    EXPECT_EQ(b.remaining(0), sizeof truncated);
    EXPECT_EQ(b.readInt32(7), 0);  // an offset beyond the data
    String s(u"old");
    EXPECT_FALSE(b.readString(0, s));
    EXPECT_TRUE(s.isEmpty());
    std::uint32_t n = 99;
    EXPECT_EQ(b.readBinaryBlock(0, n), nullptr);
    EXPECT_EQ(n, 0u);
    std::uint64_t v = 1;
    EXPECT_FALSE(b.readUInt64Into(0, v));
    EXPECT_EQ(b.extractBytes(0, 5), nullptr);
  }
  // A string whose length runs past the data, and a block with a negative
  // or oversized count.
  const unsigned char longString[] = {10, 7, 9, 0, 0, 0, 'a', 'b'};
  const unsigned char negativeBlock[] = {12, 6, 0xFF, 0xFF, 0xFF, 0xFF, 1};
  const unsigned char bigBlock[] = {12, 6, 2, 0, 0, 0, 1};
  Blob a(longString, sizeof longString, BLOB_READONLY);
  String s;
  EXPECT_FALSE(a.readString(0, s));
  std::uint32_t n = 0;
  Blob b(negativeBlock, sizeof negativeBlock, BLOB_READONLY);
  EXPECT_EQ(b.readBinaryBlock(0, n), nullptr);
  Blob c(bigBlock, sizeof bigBlock, BLOB_READONLY);
  EXPECT_EQ(c.readBinaryBlock(0, n), nullptr);
}

TEST(BlobTest, ByteOrderFlagZeroStoresMostSignificantFirst) {
  g_blobByteOrder = 0;
  Blob b;
  b.writeInt32(0, 0x01020304);
  const Bytes written = bytesOf(b);
  const std::int32_t back = b.readInt32(0);
  g_blobByteOrder = 1;
  EXPECT_EQ(written, (Bytes{6, 1, 2, 3, 4}));
  EXPECT_EQ(back, 0x01020304);
}

TEST(BlobTest, StringOf800BytesReadsEmpty) {
  Blob b;
  b.insertRawUInt8(0, OX_STRING);
  b.writeUInt32(1, 800);
  std::vector<unsigned char> text(800, 'a');
  b.insertBytes(b.getSize(), text.data(), 800);
  String s(u"x");
  EXPECT_TRUE(b.readString(0, s));
  EXPECT_TRUE(s.isEmpty());
  EXPECT_EQ(b.getSize(), 800u);  // the text bytes stay
}

TEST(BlobTest, ReadFieldsStopsAtTheFirstWrongTypeOrShortField) {
  Blob b;
  b.writeInt32(0, 42);
  b.writeString(b.getSize(), String(u"name"));
  b.writeUInt8(b.getSize(), 9);
  const Bytes written = bytesOf(b);

  std::int32_t number = 0;
  String name;
  std::uint8_t small = 0;
  const BlobField good[] = {{OX_INT32, &number, nullptr, 0},
                            {OX_STRING, &name, nullptr, 0},
                            {OX_UINT8, &small, nullptr, 0}};
  Blob ok(written.data(), static_cast<std::uint32_t>(written.size()), BLOB_READONLY);
  EXPECT_TRUE(ok.readFields(good, 3));
  EXPECT_EQ(number, 42);
  EXPECT_TRUE(name.equalsWide(u"name"));
  EXPECT_EQ(small, 9);

  std::uint32_t wrong = 0;
  const BlobField mistyped[] = {{OX_UINT32, &wrong, nullptr, 0}};
  Blob bad(written.data(), static_cast<std::uint32_t>(written.size()), BLOB_READONLY);
  EXPECT_FALSE(bad.readFields(mistyped, 1));
  EXPECT_EQ(bad.getCursor(), 0u);

  const BlobField tooMany[] = {{OX_INT32, &number, nullptr, 0},
                               {OX_STRING, &name, nullptr, 0},
                               {OX_UINT8, &small, nullptr, 0},
                               {OX_UINT8, &small, nullptr, 0}};
  Blob shortBlob(written.data(), static_cast<std::uint32_t>(written.size()), BLOB_READONLY);
  EXPECT_FALSE(shortBlob.readFields(tooMany, 4));
  const BlobField unknown[] = {{OX_BLOB, &number, nullptr, 0}};
  EXPECT_FALSE(shortBlob.readFields(unknown, 1));
}

TEST(BlobTest, InsertBlobLeavesTheSourceAlone) {
  const unsigned char src[] = {2, 1, 2, 2};
  Blob from(src, sizeof src, BLOB_READONLY);
  from.readInt8(0);
  Blob to;
  to.writeInt8(0, 9);
  EXPECT_TRUE(to.insertBlob(2, from));
  EXPECT_EQ(bytesOf(to), (Bytes{2, 9, 2, 2}));
  EXPECT_EQ(from.getCursor(), 2u);
  EXPECT_FALSE(from.insertBytes(0, "x", 1));  // read-only refuses writes
  EXPECT_FALSE(to.insertBytes(99, "x", 1));
}

TEST(PlayerIdTest, SerializeRoundTripAndShortRefusal) {
  Blob b;
  PlayerID(CONNECTIONTYPE_LAN, 0x1122334455667788ull).serialize(b, 0);
  PlayerID back;
  ASSERT_TRUE(back.deserialize(b));
  EXPECT_EQ(back, PlayerID(CONNECTIONTYPE_LAN, 0x1122334455667788ull));
  EXPECT_NE(back, PlayerID(CONNECTIONTYPE_ONLINE, 0x1122334455667788ull));
  const unsigned char half[] = {2, 1, 8, 1, 2};
  Blob shortBlob(half, sizeof half, BLOB_READONLY);
  PlayerID untouched(CONNECTIONTYPE_ONLINE, 5);
  EXPECT_FALSE(untouched.deserialize(shortBlob));
  EXPECT_EQ(untouched, PlayerID(CONNECTIONTYPE_ONLINE, 5));
  EXPECT_EQ(EntityID(PlayerID(2, 9), 3), EntityID(PlayerID(1, 9), 3));
}

TEST(StringTest, LengthLimitsPoolAndConversions) {
  std::string thousand(1000, 'q');
  String big(thousand.c_str());
  EXPECT_EQ(big.length(), String::kMaxLength);
  big.appendNarrow("more");
  EXPECT_EQ(big.length(), String::kMaxLength);

  const int before = String::poolSlotsInUse();
  {
    String a(u"short"), b(a);
    EXPECT_EQ(String::poolSlotsInUse(), before + 2);
    EXPECT_EQ(a.capacity(), 63);
    String c(std::string(64, 'x').c_str());
    EXPECT_EQ(String::poolSlotsInUse(), before + 2);
    EXPECT_EQ(c.capacity(), 64);
  }
  EXPECT_EQ(String::poolSlotsInUse(), before);
  {
    // An exhausted pool falls back to the allocator.
    std::vector<String> many(String::kPoolSlots + 3, String(u"x"));
    EXPECT_TRUE(many.back().equalsWide(u"x"));
  }
  EXPECT_EQ(String::poolSlotsInUse(), before);

  EXPECT_EQ(String(u"-12x3").toInt64(), -12);
  EXPECT_EQ(String(u"").toInt64(), 0);
  EXPECT_EQ(String(u"-5").toUInt64(), 0u);
  EXPECT_TRUE(String(u"AbC").compare(String(u"aBc"), true));
  EXPECT_FALSE(String(u"AbC").compare(String(u"aBc"), false));
  EXPECT_FALSE(String().equals(String()));
  String hay(u"hello world");
  EXPECT_EQ(hay.find(u"world"), hay.c_wstr() + 6);
  EXPECT_EQ(hay.find(u"worlds"), nullptr);

  String s;
  s.fromInt64(-9000000000LL);
  EXPECT_TRUE(s.equalsNarrow("-9000000000"));
  s.fromUInt32(4000000000u);
  EXPECT_TRUE(s.equalsNarrow("4000000000"));

  // A surrogate has no UTF-8 form and is dropped; bytes that begin no
  // sequence are skipped; a cut sequence ends the text.
  String odd(
      u"a\xD800"
      u"b");
  std::size_t n = 0;
  char* utf8 = odd.toUtf8(&n);
  EXPECT_STREQ(utf8, "ab");
  ToolboxFree(utf8);
  String decoded;
  decoded.assignUtf8("\x80z\xE2\x82\xAC\xE2\x82", 7);
  EXPECT_TRUE(decoded.equalsWide(u"z\u20ac"));
  EXPECT_EQ(String().md5Hash64(), 0u);
  EXPECT_NE(String(u"a").md5Hash64(), String(u"b").md5Hash64());
}

TEST(FlexibleValueTest, BlobRoundTripCopiesAndComparisons) {
  FlexibleValue values[8];
  values[0].setInt32(-3);
  values[1].setInt64(-1099511627776LL);
  values[2].setFloat32(1.5f);
  values[3].setFloat64(-0.25);
  values[4].setUInt32(7);
  values[5].setUInt64(~0ull);
  values[6].setString(String(u"text"));
  Blob payload;
  payload.writeInt8(0, 1);
  values[7].setBlob(payload);

  Blob b;
  for (const FlexibleValue& v : values)
    ASSERT_TRUE(v.writeToBlob(b, b.getSize()));
  for (const FlexibleValue& v : values) {
    FlexibleValue back;
    ASSERT_TRUE(back.readFromBlob(b));
    EXPECT_TRUE(back == v) << v.getKind();
    FlexibleValue copy(back);
    EXPECT_TRUE(copy == v);
  }
  EXPECT_EQ(b.getSize(), 0u);

  // A blob value whose count exceeds the data is refused.
  const unsigned char lying[] = {13, 7, 8, 0, 0, 0, 7, 50, 0, 0, 0, 1, 2};
  Blob bad(lying, sizeof lying, BLOB_READONLY);
  FlexibleValue v;
  EXPECT_FALSE(v.readFromBlob(bad));

  FlexibleValue a, c;
  a.setInt32(1);
  c.setInt64(2);
  EXPECT_FALSE(a.lessThan(c));
  EXPECT_FALSE(c.lessThan(a));
  a += c;  // different kinds: unchanged
  EXPECT_EQ(a.getAsInt64(), 1);
  FlexibleValue s1, s2;
  s1.setString(String(u"ab"));
  s2.setString(String(u"cd"));
  s1 += s2;
  String out;
  s1.toString(out);
  EXPECT_TRUE(out.equalsWide(u"abcd"));
  values[5].toString(out);
  EXPECT_TRUE(out.equalsNarrow("18446744073709551615"));
  EXPECT_EQ(values[3].getAsInt64(), 0);
  EXPECT_EQ(values[2].getAsInt32(), 1);
}

TEST(BinaryBlockTest, ReadOnlyReferencesAndOwnedCopies) {
  char bytes[] = "abcd";
  BinaryBlock view(bytes, 4, true);
  BinaryBlock copy(bytes, 4, false);
  bytes[0] = 'z';
  EXPECT_EQ(view.getBytes()[0], 'z');
  EXPECT_EQ(copy.getBytes()[0], 'a');
  view.setOffset(2);
  Blob b;
  b.insertBinaryBlock(0, view);
  EXPECT_EQ(bytesOf(b), (Bytes{'c', 'd'}));
}

TEST(AttributeListTest, SetReplacesByIdAndGetFallsBackToEmpty) {
  AttributeList list;
  list.setAttribute(3, String(u"three"));
  list.setAttribute(5, String(u"five"));
  list.setAttribute(3, String(u"drei"));
  ASSERT_EQ(list.records().size(), 2u);
  EXPECT_TRUE(list.getAttribute(3).equalsWide(u"drei"));
  EXPECT_TRUE(list.getAttribute(4).isEmpty());
  EXPECT_TRUE((AttributeRecord{1, String(u"x")} == AttributeRecord{2, String(u"x")}));
  EXPECT_FALSE((AttributeRecord{1, String(u"x")} == AttributeRecord{1, String(u"y")}));
}

}  // namespace
