// MD5 against RFC 1321's vectors, the digest-keyed scrambler, record lists
// and record files with every integrity check.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Modules/Core/Src/Digest/Md5Digest.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Records/LocalPlayerRecord.h"
#include "Modules/Core/Src/Records/RecordFile.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;

namespace {

std::string hex(const unsigned char* p, std::size_t n) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    out += digits[p[i] >> 4];
    out += digits[p[i] & 15];
  }
  return out;
}

TEST(Md5Test, Rfc1321Vectors) {
  const std::pair<std::string, const char*> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  Md5Digest md5;
  for (const auto& v : vectors) {
    unsigned char out[16];
    md5.digest(out, v.first.data(), v.first.size());
    EXPECT_EQ(hex(out, 16), v.second) << v.first;
  }
}

TEST(ScramblerTest, EachKeyByteCoversTwoBytesAndRepeatsEvery32) {
  unsigned char key[16];
  for (int i = 0; i < 16; ++i)
    key[i] = static_cast<unsigned char>(1u << (i % 8)) + i;
  unsigned char data[40] = {};
  XorWithKey32(key, data, sizeof data);
  EXPECT_EQ(data[0], key[0]);
  EXPECT_EQ(data[1], key[0]);
  EXPECT_EQ(data[30], key[15]);
  EXPECT_EQ(data[31], key[15]);
  EXPECT_EQ(data[32], key[0]);
  EXPECT_EQ(data[39], key[3]);
  XorScrambler scrambler;
  scrambler.unscramble(key, data, sizeof data);
  for (unsigned char b : data)
    EXPECT_EQ(b, 0);
}

TEST(RecordListTest, SerializedLayoutAndParseBounds) {
  RecordList list;
  std::uint32_t n = 0;
  unsigned char* empty = list.serialize(n);
  EXPECT_EQ(std::vector<unsigned char>(empty, empty + n), (std::vector<unsigned char>{0, 0, 0, 0}));
  ToolboxFree(empty);

  list.add(TaggedRecord::create("LGNC", "xyz", 3));
  list.add(TaggedRecord::create("MMFD", nullptr, 0));
  unsigned char* bytes = list.serialize(n);
  EXPECT_EQ(list.size(), 0u);  // serialising empties the list
  const std::vector<unsigned char> expected = {2,   0,   0,   0,   'L', 'G', 'N', 'C', 11, 0, 0, 0,
                                               'x', 'y', 'z', 'M', 'M', 'F', 'D', 8,   0,  0, 0};
  EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + n), expected);

  RecordList back;
  EXPECT_TRUE(back.deserialize(bytes, n));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back.at(0)->getSize(), 11u);
  EXPECT_EQ(std::memcmp(back.at(0)->getPayload(), "xyz", 3), 0);

  // A count of five over two records, a size past the data, a size below 8,
  // and a count in the billions: each parse stops inside the data.
  std::vector<unsigned char> lying(bytes, bytes + n);
  lying[0] = 5;
  RecordList five;
  EXPECT_FALSE(five.deserialize(lying.data(), static_cast<std::uint32_t>(lying.size())));
  EXPECT_EQ(five.size(), 2u);
  std::vector<unsigned char> oversize(bytes, bytes + n);
  oversize[8] = 200;
  RecordList over;
  EXPECT_FALSE(over.deserialize(oversize.data(), static_cast<std::uint32_t>(oversize.size())));
  EXPECT_EQ(over.size(), 0u);
  std::vector<unsigned char> undersize(bytes, bytes + n);
  undersize[8] = 3;
  RecordList under;
  EXPECT_FALSE(under.deserialize(undersize.data(), static_cast<std::uint32_t>(undersize.size())));
  const unsigned char huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 'A', 'B', 'C', 'D', 8, 0, 0, 0};
  RecordList many;
  EXPECT_FALSE(many.deserialize(huge, sizeof huge));
  EXPECT_EQ(many.size(), 1u);
  ToolboxFree(bytes);
}

TEST(RecordListTest, FindCountAndRemoveByTag) {
  RecordList list;
  TaggedRecord* a = TaggedRecord::create("FMGC", "1", 1);
  TaggedRecord* b = TaggedRecord::create("CMGC", "2", 1);
  TaggedRecord* c = TaggedRecord::create("FMGC", "3", 1);
  list.add(a);
  list.add(b);
  list.add(c);
  list.add(nullptr);
  EXPECT_EQ(list.findByTag("FMGC"), a);
  EXPECT_EQ(list.findByTag("FMGC", a), c);
  EXPECT_EQ(list.findByTag("FMGC", c), nullptr);
  EXPECT_EQ(list.findByTag("XXXX"), nullptr);
  EXPECT_EQ(list.countByTag("FMGC"), 2u);
  list.remove(a);
  list.remove(nullptr);
  EXPECT_EQ(list.countByTag("FMGC"), 1u);
  EXPECT_EQ(list.size(), 2u);
}

class RecordFileTest : public ::testing::Test {
 protected:
  std::string path() const {
    return std::string("records_") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".dat";
  }
  void TearDown() override { std::remove(path().c_str()); }
};

TEST_F(RecordFileTest, WrittenFileReadsBackAndHoldsDigestLengthAndScrambledList) {
  RecordList list;
  list.add(TaggedRecord::create("LGNC", "login!", 6));
  list.add(TaggedRecord::create("PRFC", "profile", 7));
  EXPECT_EQ(list.saveToFile(path().c_str()), ERRORID_SUCCEEDED);
  EXPECT_EQ(list.size(), 0u);

  const std::string file = toolbox_test::readFile(path());
  ASSERT_EQ(file.size(), 20u + 4 + 14 + 15);
  EXPECT_EQ(static_cast<unsigned char>(file[16]), 33);
  std::string payload = file.substr(20);
  XorWithKey32(reinterpret_cast<const unsigned char*>(file.data()), payload.data(), payload.size());
  unsigned char digest[16];
  Md5Digest::compute(payload.data(), payload.size(), digest);
  EXPECT_EQ(std::memcmp(digest, file.data(), 16), 0);
  EXPECT_EQ(payload.substr(4, 4), "LGNC");

  RecordList back;
  EXPECT_EQ(back.loadFromFile(path().c_str()), ERRORID_SUCCEEDED);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(std::memcmp(back.findByTag("PRFC")->getPayload(), "profile", 7), 0);

  RecordList empty;
  EXPECT_EQ(empty.saveToFile(path().c_str()), ERRORID_SUCCEEDED);
  EXPECT_EQ(toolbox_test::readFile(path()).size(), 24u);
}

TEST_F(RecordFileTest, DamagedFilesAreRefusedWhole) {
  RecordList list;
  list.add(TaggedRecord::create("LGNC", "abcdef", 6));
  ASSERT_EQ(list.saveToFile(path().c_str()), ERRORID_SUCCEEDED);
  const std::string good = toolbox_test::readFile(path());

  struct Case {
    const char* what;
    std::string bytes;
    ERRORID expected;
  };
  std::string flipped = good;
  flipped[25] ^= 0x40;
  std::string badDigest = good;
  badDigest[3] ^= 1;
  std::string bigLength = good;
  bigLength[19] = 0x7F;
  // Tags lie inside the digested payload: a changed tag breaks the digest.
  std::string tag = good;
  tag[24] ^= 1;
  const Case cases[] = {
      {"one byte appended", good + "x", ERRORID_BAD_SIZE},
      {"one byte short", good.substr(0, good.size() - 1), ERRORID_BAD_SIZE},
      {"length in the billions", bigLength, ERRORID_BAD_SIZE},
      {"flipped payload byte", flipped, ERRORID_BAD_SIGNATURE},
      {"flipped tag byte", tag, ERRORID_BAD_SIGNATURE},
      {"flipped digest byte", badDigest, ERRORID_BAD_SIGNATURE},
      {"header cut short", good.substr(0, 10), ERRORID_CANT_READ_FILE},
  };
  for (const Case& c : cases) {
    toolbox_test::writeFile(path(), c.bytes);
    unsigned char* payload = nullptr;
    std::uint32_t n = 7;
    EXPECT_EQ(ReadRecordFile(DefaultRecordFileCodec(), &payload, &n, path().c_str()), c.expected)
        << c.what;
    EXPECT_EQ(payload, nullptr) << c.what;
    EXPECT_EQ(n, 0u) << c.what;
    RecordList refused;
    EXPECT_EQ(refused.loadFromFile(path().c_str()), ERRORID_FAILED) << c.what;
    EXPECT_EQ(refused.size(), 0u) << c.what;
  }
  std::remove(path().c_str());
  unsigned char* payload = nullptr;
  std::uint32_t n = 0;
  EXPECT_EQ(ReadRecordFile(DefaultRecordFileCodec(), &payload, &n, path().c_str()),
            ERRORID_CANT_OPEN_FILE_READ);
  EXPECT_EQ(LastResult().get(), ERRORID_CANT_OPEN_FILE_READ);
  unsigned char data[4] = {1, 2, 3, 4};
  EXPECT_EQ(WriteRecordFile(DefaultRecordFileCodec(), data, 4, "no_such_dir/x/y.dat"),
            ERRORID_CANT_OPEN_FILE_WRITE);
}

TEST_F(RecordFileTest, SavedLoginTravelsThroughTheLocalPlayersFile) {
  SavedLogin saved;
  saved.firstWord = -5;
  saved.login.assignWide(u"a-very-long-login-name-indeed");
  saved.password.assignWide(u"s3cret");
  RecordList list;
  list.add(TaggedRecord::create("XXXX", "other", 5));
  ASSERT_TRUE(WriteLocalPlayerRecord(list, saved));
  ASSERT_EQ(list.saveToFile(path().c_str()), ERRORID_SUCCEEDED);

  RecordList back;
  ASSERT_EQ(back.loadFromFile(path().c_str()), ERRORID_SUCCEEDED);
  const TaggedRecord* record = back.findByTag(kLocalPlayerTag);
  ASSERT_NE(record, nullptr);
  SavedLogin read;
  ASSERT_TRUE(ReadLocalPlayerRecord(*record, read));
  EXPECT_EQ(read.firstWord, -5);
  EXPECT_TRUE(read.login.equalsWide(u"a-very-long-login-na"));  // 20 characters
  EXPECT_TRUE(read.password.equalsWide(u"s3cret"));
  EXPECT_FALSE(ReadLocalPlayerRecord(*back.findByTag("XXXX"), read));

  // A record cut inside the password reports failure.
  std::unique_ptr<TaggedRecord> cut(
      TaggedRecord::create(kLocalPlayerTag, record->getPayload(), record->getPayloadSize() - 9));
  EXPECT_FALSE(ReadLocalPlayerRecord(*cut, read));
}

}  // namespace
