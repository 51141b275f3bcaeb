#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bd_test_support.h"
#include "bdCore/bdContainers/bdSequenceNumber.h"
#include "bdCore/bdCrypto/bdCryptoUtils.h"
#include "bdCore/bdCrypto/bdCypher3Des.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdCore/bdCrypto/bdHashTiger192.h"
#include "bdCore/bdCrypto/bdRandom.h"

namespace {

using bdtest::CoreTest;

std::vector<unsigned char> fromHex(const std::string& hex) {
  std::vector<unsigned char> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

std::vector<unsigned char> bytes(const char* text) {
  return std::vector<unsigned char>(text, text + std::strlen(text));
}

// RFC 2202 test cases 1, 2 and 6.
TEST_F(CoreTest, HmacSha1MatchesRfc2202) {
  struct {
    std::vector<unsigned char> key, data;
    const char* mac;
  } cases[] = {
      {std::vector<unsigned char>(20, 0x0b), bytes("Hi There"),
       "b617318655057264e28bc0b6fb378c8ef146be00"},
      {bytes("Jefe"), bytes("what do ya want for nothing?"),
       "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
      {std::vector<unsigned char>(80, 0xaa),
       bytes("Test Using Larger Than Block-Size Key - Hash Key First"),
       "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
  };
  for (const auto& c : cases) {
    bdHMacSHA1 hmac(c.key.data(), static_cast<unsigned int>(c.key.size()));
    // Fed in two pieces: process accumulates.
    const unsigned int half = static_cast<unsigned int>(c.data.size() / 2);
    ASSERT_TRUE(hmac.process(c.data.data(), half));
    ASSERT_TRUE(
        hmac.process(c.data.data() + half, static_cast<unsigned int>(c.data.size()) - half));
    unsigned char out[20];
    unsigned int length = sizeof out;
    ASSERT_TRUE(hmac.getData(out, length));
    EXPECT_EQ(length, 20u);
    EXPECT_EQ(std::vector<unsigned char>(out, out + 20), fromHex(c.mac));
  }
  unsigned char small[4];
  unsigned int room = sizeof small;
  bdHMacSHA1 tooSmall(reinterpret_cast<const unsigned char*>("k"), 1);
  EXPECT_TRUE(tooSmall.getData(small, room));  // the library truncates to the room given
  EXPECT_EQ(room, 4u);
}

TEST_F(CoreTest, Tiger192MatchesReferenceDigests) {
  struct {
    const char* text;
    const char* digest;
  } cases[] = {
      {"", "3293ac630c13f0245f92bbb1766e16167a4e58492dde73f3"},
      {"abc", "2aab1484e8c158f2bfb8c5ff41b57a525129131c957b5f93"},
      {"Tiger", "dd00230799f5009fec6debc838bb6a27df2b9d6f110c7937"},
  };
  bdHashTiger192 tiger;
  for (const auto& c : cases) {
    unsigned char out[24];
    unsigned int length = sizeof out;
    ASSERT_TRUE(tiger.hash(reinterpret_cast<const unsigned char*>(c.text),
                           static_cast<unsigned int>(std::strlen(c.text)), out, length));
    EXPECT_EQ(std::vector<unsigned char>(out, out + length), fromHex(c.digest)) << c.text;
  }
  unsigned char iv[24];
  unsigned char expected[24];
  unsigned int length = sizeof expected;
  const unsigned char zeros[4] = {0, 0, 0, 0};
  ASSERT_TRUE(bdCryptoUtils::calculateInitialVector(0, iv));
  ASSERT_TRUE(tiger.hash(zeros, 4, expected, length));
  EXPECT_EQ(std::memcmp(iv, expected, 24), 0);
}

// The three-key example of the 3DES standard, chained in CBC mode.
TEST_F(CoreTest, TripleDesCbcMatchesReference) {
  const auto key = fromHex("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123");
  const auto plain = bytes("The qufck brown fox jump");
  struct {
    const char* iv;
    const char* cipher;
  } cases[] = {
      {"0000000000000000", "a826fd8ce53b855f854b649a0a3903c970d563820afe8b35"},
      {"F69F2445DF4F9B17", "a5c282bad0de3774becd2e04386b589fb5057d8552fc4336"},
  };
  bdCypher3Des des;
  for (const auto& c : cases) {
    const auto iv = fromHex(c.iv);
    unsigned char out[24];
    ASSERT_TRUE(des.encrypt(key.data(), 24, iv.data(), plain.data(), out, 24));
    EXPECT_EQ(std::vector<unsigned char>(out, out + 24), fromHex(c.cipher));
    unsigned char back[24];
    ASSERT_TRUE(bdCryptoUtils::decrypt(key.data(), iv.data(), out, back, 24));
    EXPECT_EQ(std::vector<unsigned char>(back, back + 24), plain);
  }
  unsigned char out[24];
  EXPECT_FALSE(des.encrypt(key.data(), 24, key.data(), plain.data(), out, 12));
  EXPECT_TRUE(log.saw("Error encrypting"));
  EXPECT_FALSE(des.encrypt(key.data(), 5, key.data(), plain.data(), out, 8));
  EXPECT_TRUE(log.saw("Error starting cipher."));
}

// One cipher object and one prepared HMAC key serve many messages: results
// match fresh objects, also when the cipher's key changes between calls.
TEST_F(CoreTest, KeptKeySchedulesGiveTheSameResults) {
  const auto keyA = fromHex("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123");
  const auto keyB = fromHex("FEDCBA9876543210FEDCBA9876543210FEDCBA9876543210");
  const auto iv = fromHex("F69F2445DF4F9B17");
  const auto plain = bytes("The qufck brown fox jump");
  bdCypher3Des kept;
  for (const auto* key : {&keyA, &keyB, &keyA}) {
    unsigned char expected[24];
    unsigned char got[24];
    bdCypher3Des fresh;
    ASSERT_TRUE(fresh.encrypt(key->data(), 24, iv.data(), plain.data(), expected, 24));
    ASSERT_TRUE(kept.encrypt(key->data(), 24, iv.data(), plain.data(), got, 24));
    EXPECT_EQ(std::memcmp(got, expected, 24), 0);
    unsigned char back[24];
    ASSERT_TRUE(kept.decrypt(key->data(), 24, iv.data(), got, back, 24));
    EXPECT_EQ(std::vector<unsigned char>(back, back + 24), plain);
  }

  const bdHMacSHA1Key prepared(keyA.data(), 24);
  for (const char* text : {"first message", "second, longer message"}) {
    const auto data = bytes(text);
    unsigned char expected[20];
    unsigned char got[20];
    unsigned int expectedLength = sizeof expected;
    unsigned int gotLength = sizeof got;
    bdHMacSHA1 fresh(keyA.data(), 24);
    bdHMacSHA1 reused(prepared);
    ASSERT_TRUE(fresh.process(data.data(), static_cast<unsigned int>(data.size())));
    ASSERT_TRUE(reused.process(data.data(), static_cast<unsigned int>(data.size())));
    ASSERT_TRUE(fresh.getData(expected, expectedLength));
    ASSERT_TRUE(reused.getData(got, gotLength));
    EXPECT_EQ(std::memcmp(got, expected, 20), 0) << text;
  }
}

TEST_F(CoreTest, EllipticCurveKeysAgreeOnASecret) {
  bdDHKey alice, bob;
  ASSERT_TRUE(alice.create());
  ASSERT_TRUE(bob.create());
  unsigned char alicePublic[100], bobPublic[100];
  unsigned int aliceLength = sizeof alicePublic, bobLength = sizeof bobPublic;
  ASSERT_TRUE(alice.exportKey(alicePublic, aliceLength));
  ASSERT_TRUE(bob.exportKey(bobPublic, bobLength));
  EXPECT_EQ(aliceLength, 100u);
  bdDHKey alicePeer, bobPeer;
  ASSERT_TRUE(alicePeer.importKey(bobPublic, bobLength));
  ASSERT_TRUE(bobPeer.importKey(alicePublic, aliceLength));
  unsigned char s1[28], s2[28];
  ASSERT_TRUE(alice.generateSecret(alicePeer, s1));
  ASSERT_TRUE(bob.generateSecret(bobPeer, s2));
  EXPECT_EQ(std::memcmp(s1, s2, 28), 0);

  // Garbage and short keys are refused; a public key alone cannot make a secret.
  unsigned char garbage[100];
  std::memset(garbage, 0x5A, sizeof garbage);
  bdDHKey bad;
  EXPECT_FALSE(bad.importKey(garbage, sizeof garbage));
  EXPECT_FALSE(bad.importKey(bobPublic, 10));
  EXPECT_TRUE(log.saw("Unable to import public key."));
  EXPECT_FALSE(alicePeer.generateSecret(bobPeer, s1));
  unsigned int tooSmall = 50;
  EXPECT_FALSE(alice.exportKey(alicePublic, tooSmall));
}

TEST_F(CoreTest, RandomSourceFillsBuffers) {
  bdRandom* random = bdRandom::getInstance();
  ASSERT_NE(random, nullptr);
  unsigned char a[32] = {}, b[32] = {};
  ASSERT_TRUE(random->getRandomBytes(a, sizeof a));
  ASSERT_TRUE(random->getRandomBytes(b, sizeof b));
  EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
  EXPECT_NE(random->getRandomUInt() | bdCryptoUtils::getRandomUInt(), 0u);
}

TEST_F(CoreTest, SequenceNumbersWidenNearTheReference) {
  struct {
    int reference;
    unsigned int value, bits;
    int expected;
  } cases[] = {
      {65530, 3, 16, 65539},
      {65540, 65534, 16, 65534},
      {10, 32778, 16, 32778},
      {-1, 1234, 16, 1234},
      {70000, 70000 % 65536, 16, 70000},
      {100, 99, 16, 99},
      {100, 101, 16, 101},
      {5, 0x10005, 16, 5},
  };
  for (const auto& c : cases) {
    bdSequenceNumber widened(bdSequenceNumber(c.reference), c.value, c.bits);
    EXPECT_EQ(widened.getValue(), c.expected) << c.reference << " " << c.value;
  }
  EXPECT_TRUE(log.saw("Sequence numbers are too far away and cannot be compared."));
  EXPECT_TRUE(log.saw("Sequence number given outside the range."));
}

TEST_F(CoreTest, ReplayWindowClassifiesNumbers) {
  struct {
    int seq;
    int result;
  } steps[] = {{101, 1}, {100, 0}, {90, -1}, {90, 0}, {68, -2}, {133, 2}};
  bdReplayWindow window(bdSequenceNumber(100), 1);
  for (const auto& s : steps) {
    EXPECT_EQ(window.update(bdSequenceNumber(s.seq)), s.result) << s.seq;
  }
  EXPECT_EQ(window.getMask(), 1u);
  EXPECT_EQ(window.getLast().getValue(), 133);

  bdReplayWindow fresh(bdSequenceNumber(100), 1);
  EXPECT_EQ(fresh.update(bdSequenceNumber(132)), 2);
  EXPECT_EQ(fresh.getLast().getValue(), 132);
}

}  // namespace
