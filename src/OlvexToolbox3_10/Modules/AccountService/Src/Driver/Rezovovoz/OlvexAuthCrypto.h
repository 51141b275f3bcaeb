#pragma once
// The authentication exchange's crypto: the server's signed certificate,
// the password proof, the ticket request and the account-creation request,
// with the counterparts a server uses to make and open them. Every routine
// returns the crypto library's error code (0 = none, 7 = invalid packet).
#include <tomcrypt.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace OX_Toolbox {
namespace auth {

constexpr int kOk = CRYPT_OK;
constexpr unsigned int kUserKeySize = 24;
constexpr unsigned long kMaxCertificate = 4096;
constexpr unsigned long kMaxSignature = 512;

// Registers the hashes, the generator, the cipher and the big-number
// provider; the library's error code for the first that fails.
int registerAll();

struct Random {
  prng_state state{};
  int index = -1;
  bool ready = false;
  // Seeds a Fortuna generator from the system and throws away its first
  // 1024 bytes.
  int make();
  int read(unsigned char* out, unsigned long n);
  ~Random();
};

// Upper-case hexadecimal, NUL-terminated; 6 when out can't hold 2n+1.
int HexEncode(const unsigned char* in, unsigned long n, char* out, unsigned long outSize);

// Base64 of HMAC-SHA-1 keyed with SHA-1(login, challenge, hex MD5 of the
// password) over (login, challenge).
int AuthPasswordProof(const std::string& login, const std::string& challenge,
                      const std::string& password, std::string& proof);

struct Certificate {
  std::string firstName;
  std::string secondName;
  unsigned long firstNumber = 0;
  unsigned long secondNumber = 0;
};

// SHA-256 and RSA-PSS (salt 8): 0 when the signature holds, 7 when not.
int AuthRsaVerify(const unsigned char* data, unsigned long n, const unsigned char* sig,
                  unsigned long sigLen, rsa_key* signatureKey);
// Checks the signature and the certificate's fields and imports its key
// into certificateKey (freed by the caller with rsa_free on success).
int AuthImportCertificate(const unsigned char* bytes, unsigned long n, rsa_key* signatureKey,
                          rsa_key* certificateKey, Certificate* fields);
// Server side: the signed certificate carrying certificateKey's public part.
int AuthSignCertificate(const Certificate& fields, rsa_key* certificateKey, rsa_key* signingKey,
                        Random& random, unsigned char* out, unsigned long* outLen);

struct TicketRequest {
  std::string configText;
  std::string challenge;
  std::string login;
  std::string check40;
  std::string check28;
  std::string proof;
  unsigned char userKey[kUserKeySize] = {};
};

// The eight-element DER sequence.
int AuthEncodeTicketRequest(const TicketRequest& request, unsigned char* out,
                            unsigned long* outLen);
// Fills the two fixed-length checks from the configuration text and login,
// draws a fresh user key, encodes and encrypts for the certificate key.
int AuthMakeTicketRequest(TicketRequest& request, rsa_key* certificateKey, Random& random,
                          unsigned char* out, unsigned long* outLen);
// Server side.
int AuthOpenTicketRequest(const unsigned char* in, unsigned long n, rsa_key* certificateKey,
                          TicketRequest& request);

// First configuration text, challenge, six account texts, third
// configuration text.
struct AccountRecord {
  std::string texts[9];
};
int AuthMakeAccountRequest(const AccountRecord& record, rsa_key* certificateKey, Random& random,
                           unsigned char* out, unsigned long* outLen);
// Server side.
int AuthOpenAccountRequest(const unsigned char* in, unsigned long n, rsa_key* certificateKey,
                           AccountRecord& record);

}  // namespace auth
}  // namespace OX_Toolbox
