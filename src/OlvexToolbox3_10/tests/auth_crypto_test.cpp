// The authentication exchange's crypto against its server-side counterparts,
// with keys made for the test: certificates that must not import, requests
// that open to what was sealed, and tampering that is caught.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthCrypto.h"
#include "Modules/NetworkService/Src/SdkMemory.h"

using namespace OX_Toolbox::auth;
using OX_Toolbox::routeSdkMemoryToToolbox;

namespace {

class AuthCrypto : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    routeSdkMemoryToToolbox();
    ASSERT_EQ(registerAll(), kOk);
    ASSERT_EQ(random().make(), kOk);
    ASSERT_EQ(rsa_make_key(&random().state, random().index, 128, 65537, &signing()), kOk);
    ASSERT_EQ(rsa_make_key(&random().state, random().index, 256, 65537, &server()), kOk);
  }
  static Random& random() {
    static Random r;
    return r;
  }
  static rsa_key& signing() {
    static rsa_key k;
    return k;
  }
  static rsa_key& server() {
    static rsa_key k;
    return k;
  }

  std::vector<unsigned char> certificate(const Certificate& fields, rsa_key* signer) {
    std::vector<unsigned char> out(8192);
    unsigned long n = out.size();
    EXPECT_EQ(AuthSignCertificate(fields, &server(), signer, random(), out.data(), &n), kOk);
    out.resize(n);
    return out;
  }
};

Certificate sampleFields() {
  Certificate c;
  c.firstName = "auth.test";
  c.secondName = "loopback";
  c.firstNumber = 3;
  c.secondNumber = 4;
  return c;
}

}  // namespace

TEST_F(AuthCrypto, HexAndPasswordProofMatchTheirDefinitions) {
  const unsigned char abc[] = {'a', 'b', 'c'};
  unsigned char digest[20];
  unsigned long n = sizeof digest;
  ASSERT_EQ(hash_memory(find_hash("sha1"), abc, 3, digest, &n), kOk);
  char hex[41];
  ASSERT_EQ(HexEncode(digest, 20, hex, sizeof hex), kOk);
  EXPECT_STREQ(hex, "A9993E364706816ABA3E25717850C26C9CD0D89D");
  EXPECT_EQ(HexEncode(digest, 20, hex, 40), CRYPT_BUFFER_OVERFLOW);

  std::string proof;
  ASSERT_EQ(AuthPasswordProof("alice", "Q7x2", "secret", proof), kOk);
  EXPECT_EQ(proof, "5zCzZxPl3xdScgUwhvXWNwORE7U=");
}

TEST_F(AuthCrypto, OnlyACertificateSignedByTheServiceImports) {
  const std::vector<unsigned char> good = certificate(sampleFields(), &signing());
  rsa_key key;
  Certificate got;
  ASSERT_EQ(AuthImportCertificate(good.data(), good.size(), &signing(), &key, &got), kOk);
  EXPECT_EQ(got.firstName, "auth.test");
  EXPECT_EQ(got.secondNumber, 4u);
  rsa_free(&key);

  // Signed by another key.
  const std::vector<unsigned char> foreign = certificate(sampleFields(), &server());
  EXPECT_NE(AuthImportCertificate(foreign.data(), foreign.size(), &signing(), &key, nullptr), kOk);

  // Any changed byte breaks the signature or the encoding.
  for (std::size_t at : {std::size_t{10}, good.size() / 2, good.size() - 1}) {
    std::vector<unsigned char> bent = good;
    bent[at] ^= 0x20;
    EXPECT_NE(AuthImportCertificate(bent.data(), bent.size(), &signing(), &key, nullptr), kOk)
        << at;
  }
  // Cut short.
  EXPECT_NE(AuthImportCertificate(good.data(), good.size() - 5, &signing(), &key, nullptr), kOk);
}

TEST_F(AuthCrypto, TicketRequestOpensToWhatWasSealedAndEndsWithNull) {
  TicketRequest sent;
  sent.configText = "tessarin";
  sent.challenge = "Q7x2";
  sent.login = "alice";
  ASSERT_EQ(AuthPasswordProof("alice", "Q7x2", "secret", sent.proof), kOk);
  std::vector<unsigned char> sealed(1024);
  unsigned long n = sealed.size();
  ASSERT_EQ(AuthMakeTicketRequest(sent, &server(), random(), sealed.data(), &n), kOk);
  EXPECT_EQ(sent.check40.size(), 40u);
  EXPECT_EQ(sent.check28.size(), 28u);

  std::vector<unsigned char> plain(8192);
  unsigned long plainLen = plain.size();
  ASSERT_EQ(AuthEncodeTicketRequest(sent, plain.data(), &plainLen), kOk);
  EXPECT_EQ(plain[plainLen - 2], 0x05);
  EXPECT_EQ(plain[plainLen - 1], 0x00);

  TicketRequest got;
  ASSERT_EQ(AuthOpenTicketRequest(sealed.data(), n, &server(), got), kOk);
  EXPECT_EQ(got.login, "alice");
  EXPECT_EQ(got.challenge, "Q7x2");
  EXPECT_EQ(got.proof, sent.proof);
  EXPECT_EQ(got.check40, sent.check40);
  EXPECT_EQ(std::memcmp(got.userKey, sent.userKey, kUserKeySize), 0);

  sealed[n / 2] ^= 1;
  EXPECT_NE(AuthOpenTicketRequest(sealed.data(), n, &server(), got), kOk);
}

TEST_F(AuthCrypto, AccountRequestOpensAndRefusesTampering) {
  AccountRecord record;
  const char* texts[9] = {"tessarin", "Q7x2",       "alice", "secret", "alice@example.org",
                          "FR",       "1990-01-01", "en",    "9"};
  for (int i = 0; i < 9; ++i)
    record.texts[i] = texts[i];
  std::vector<unsigned char> request(2048);
  unsigned long n = request.size();
  ASSERT_EQ(AuthMakeAccountRequest(record, &server(), random(), request.data(), &n), kOk);

  AccountRecord got;
  ASSERT_EQ(AuthOpenAccountRequest(request.data(), n, &server(), got), kOk);
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(got.texts[i], texts[i]) << i;

  // The encrypted record is the tail of the request: a flipped bit there
  // fails the digest.
  std::vector<unsigned char> bent(request.begin(), request.begin() + n);
  bent[n - 3] ^= 1;
  EXPECT_EQ(AuthOpenAccountRequest(bent.data(), n, &server(), got), CRYPT_INVALID_PACKET);

  // A text over its limit is refused by the server side.
  record.texts[8] = std::string(16, 'x');
  n = request.size();
  ASSERT_EQ(AuthMakeAccountRequest(record, &server(), random(), request.data(), &n), kOk);
  EXPECT_NE(AuthOpenAccountRequest(request.data(), n, &server(), got), kOk);
}
