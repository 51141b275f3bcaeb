#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthCrypto.h"

#include <cstring>
#include <vector>

namespace OX_Toolbox {
namespace auth {

namespace {

const unsigned char kLabel[] = {'O', 'L', 'V', 'E', 'X'};
constexpr unsigned long kSalt = 8;

// An IA5String slot of a sequence being decoded: room for `limit`
// characters and the terminator.
struct TextSlot {
  explicit TextSlot(unsigned long limit) : bytes(limit + 1, 0), limit(limit) {}
  std::vector<char> bytes;
  unsigned long limit;
  std::string text(const ltc_asn1_list& item) const { return std::string(bytes.data(), item.size); }
};

void setText(ltc_asn1_list* list, int i, const std::string& s) {
  LTC_SET_ASN1(list, i, LTC_ASN1_IA5_STRING, s.c_str(), s.size());
}

void setSlot(ltc_asn1_list* list, int i, TextSlot& slot) {
  LTC_SET_ASN1(list, i, LTC_ASN1_IA5_STRING, slot.bytes.data(), slot.limit);
}

int sha1(const std::string& data, unsigned char out[20]) {
  unsigned long n = 20;
  return hash_memory(find_hash("sha1"), reinterpret_cast<const unsigned char*>(data.data()),
                     data.size(), out, &n);
}

}  // namespace

int registerAll() {
  ltc_mp = ltm_desc;
  if (register_hash(&md5_desc) == -1 || register_hash(&sha1_desc) == -1 ||
      register_hash(&sha256_desc) == -1)
    return CRYPT_INVALID_HASH;
  if (register_prng(&fortuna_desc) == -1) return CRYPT_INVALID_PRNG;
  if (register_cipher(&aes_desc) == -1) return CRYPT_INVALID_CIPHER;
  return kOk;
}

int Random::make() {
  index = find_prng("fortuna");
  if (index < 0) return CRYPT_INVALID_PRNG;
  const int err = rng_make_prng(128, index, &state, nullptr);
  if (err != kOk) return err;
  ready = true;
  unsigned char waste[1024];
  return read(waste, sizeof waste);
}

int Random::read(unsigned char* out, unsigned long n) {
  if (!ready) return CRYPT_INVALID_PRNG;
  return prng_descriptor[index].read(out, n, &state) == n ? kOk : CRYPT_ERROR_READPRNG;
}

Random::~Random() {
  if (ready) prng_descriptor[index].done(&state);
}

int HexEncode(const unsigned char* in, unsigned long n, char* out, unsigned long outSize) {
  static const char kDigits[] = "0123456789ABCDEF";
  if (outSize < 2 * n + 1) return CRYPT_BUFFER_OVERFLOW;
  for (unsigned long i = 0; i < n; ++i) {
    out[2 * i] = kDigits[in[i] >> 4];
    out[2 * i + 1] = kDigits[in[i] & 15];
  }
  out[2 * n] = 0;
  return kOk;
}

int AuthPasswordProof(const std::string& login, const std::string& challenge,
                      const std::string& password, std::string& proof) {
  unsigned char md5[16];
  unsigned long n = sizeof md5;
  int err = hash_memory(find_hash("md5"), reinterpret_cast<const unsigned char*>(password.data()),
                        password.size(), md5, &n);
  if (err != kOk) return err;
  char hex[33];
  if ((err = HexEncode(md5, 16, hex, sizeof hex)) != kOk) return err;
  unsigned char key[20];
  if ((err = sha1(login + challenge + hex, key)) != kOk) return err;
  const std::string message = login + challenge;
  unsigned char mac[20];
  unsigned long macLen = sizeof mac;
  if ((err = hmac_memory(find_hash("sha1"), key, sizeof key,
                         reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                         mac, &macLen)) != kOk)
    return err;
  unsigned char text[32];
  unsigned long textLen = sizeof text;
  if ((err = base64_encode(mac, macLen, text, &textLen)) != kOk) return err;
  proof.assign(reinterpret_cast<char*>(text), textLen);
  return kOk;
}

int AuthRsaVerify(const unsigned char* data, unsigned long n, const unsigned char* sig,
                  unsigned long sigLen, rsa_key* signatureKey) {
  unsigned char digest[32];
  unsigned long digestLen = sizeof digest;
  const int hash = find_hash("sha256");
  int err = hash_memory(hash, data, n, digest, &digestLen);
  if (err != kOk) return err;
  int good = 0;
  err = rsa_verify_hash_ex(sig, sigLen, digest, digestLen, LTC_PKCS_1_PSS, hash, kSalt, &good,
                           signatureKey);
  if (err != kOk) return err;
  return good ? kOk : CRYPT_INVALID_PACKET;
}

int AuthImportCertificate(const unsigned char* bytes, unsigned long n, rsa_key* signatureKey,
                          rsa_key* certificateKey, Certificate* fields) {
  std::vector<unsigned char> certificate(kMaxCertificate);
  std::vector<unsigned char> signature(kMaxSignature);
  ltc_asn1_list outer[2];
  LTC_SET_ASN1(outer, 0, LTC_ASN1_OCTET_STRING, certificate.data(), certificate.size());
  LTC_SET_ASN1(outer, 1, LTC_ASN1_OCTET_STRING, signature.data(), signature.size());
  int err = der_decode_sequence_ex(bytes, n, outer, 2, 1);
  if (err != kOk) return err;
  if ((err = AuthRsaVerify(certificate.data(), outer[0].size, signature.data(), outer[1].size,
                           signatureKey)) != kOk)
    return err;

  TextSlot label(31), first(63), second(63);
  unsigned long version = 0, zero = 0, number1 = 0, number2 = 0;
  std::vector<unsigned char> key(kMaxCertificate);
  ltc_asn1_list inner[8];
  setSlot(inner, 0, label);
  LTC_SET_ASN1(inner, 1, LTC_ASN1_SHORT_INTEGER, &version, 1);
  LTC_SET_ASN1(inner, 2, LTC_ASN1_SHORT_INTEGER, &zero, 1);
  LTC_SET_ASN1(inner, 3, LTC_ASN1_SHORT_INTEGER, &number1, 1);
  LTC_SET_ASN1(inner, 4, LTC_ASN1_SHORT_INTEGER, &number2, 1);
  setSlot(inner, 5, first);
  setSlot(inner, 6, second);
  LTC_SET_ASN1(inner, 7, LTC_ASN1_OCTET_STRING, key.data(), key.size());
  if ((err = der_decode_sequence_ex(certificate.data(), outer[0].size, inner, 8, 1)) != kOk)
    return err;
  if (label.text(inner[0]) != "OLVEX" || version != 1 || zero != 0) return CRYPT_INVALID_PACKET;
  if ((err = rsa_import(key.data(), inner[7].size, certificateKey)) != kOk) return err;
  if (fields) {
    fields->firstName = first.text(inner[5]);
    fields->secondName = second.text(inner[6]);
    fields->firstNumber = number1;
    fields->secondNumber = number2;
  }
  return kOk;
}

int AuthSignCertificate(const Certificate& fields, rsa_key* certificateKey, rsa_key* signingKey,
                        Random& random, unsigned char* out, unsigned long* outLen) {
  std::vector<unsigned char> key(kMaxCertificate);
  unsigned long keyLen = key.size();
  int err = rsa_export(key.data(), &keyLen, PK_PUBLIC, certificateKey);
  if (err != kOk) return err;
  const std::string label = "OLVEX";
  unsigned long version = 1, zero = 0, number1 = fields.firstNumber, number2 = fields.secondNumber;
  ltc_asn1_list inner[8];
  setText(inner, 0, label);
  LTC_SET_ASN1(inner, 1, LTC_ASN1_SHORT_INTEGER, &version, 1);
  LTC_SET_ASN1(inner, 2, LTC_ASN1_SHORT_INTEGER, &zero, 1);
  LTC_SET_ASN1(inner, 3, LTC_ASN1_SHORT_INTEGER, &number1, 1);
  LTC_SET_ASN1(inner, 4, LTC_ASN1_SHORT_INTEGER, &number2, 1);
  setText(inner, 5, fields.firstName);
  setText(inner, 6, fields.secondName);
  LTC_SET_ASN1(inner, 7, LTC_ASN1_OCTET_STRING, key.data(), keyLen);
  std::vector<unsigned char> certificate(kMaxCertificate);
  unsigned long certificateLen = certificate.size();
  if ((err = der_encode_sequence_ex(inner, 8, certificate.data(), &certificateLen,
                                    LTC_ASN1_SEQUENCE)) != kOk)
    return err;
  unsigned char digest[32];
  unsigned long digestLen = sizeof digest;
  const int hash = find_hash("sha256");
  if ((err = hash_memory(hash, certificate.data(), certificateLen, digest, &digestLen)) != kOk)
    return err;
  std::vector<unsigned char> signature(kMaxSignature);
  unsigned long signatureLen = signature.size();
  if ((err = rsa_sign_hash_ex(digest, digestLen, signature.data(), &signatureLen, LTC_PKCS_1_PSS,
                              &random.state, random.index, hash, kSalt, signingKey)) != kOk)
    return err;
  ltc_asn1_list outer[2];
  LTC_SET_ASN1(outer, 0, LTC_ASN1_OCTET_STRING, certificate.data(), certificateLen);
  LTC_SET_ASN1(outer, 1, LTC_ASN1_OCTET_STRING, signature.data(), signatureLen);
  return der_encode_sequence_ex(outer, 2, out, outLen, LTC_ASN1_SEQUENCE);
}

int AuthEncodeTicketRequest(const TicketRequest& r, unsigned char* out, unsigned long* outLen) {
  ltc_asn1_list list[8];
  setText(list, 0, r.configText);
  setText(list, 1, r.challenge);
  setText(list, 2, r.login);
  setText(list, 3, r.check40);
  setText(list, 4, r.check28);
  setText(list, 5, r.proof);
  LTC_SET_ASN1(list, 6, LTC_ASN1_OCTET_STRING, r.userKey, kUserKeySize);
  LTC_SET_ASN1(list, 7, LTC_ASN1_NULL, nullptr, 0);
  return der_encode_sequence_ex(list, 8, out, outLen, LTC_ASN1_SEQUENCE);
}

int AuthMakeTicketRequest(TicketRequest& r, rsa_key* certificateKey, Random& random,
                          unsigned char* out, unsigned long* outLen) {
  int err = random.read(r.userKey, kUserKeySize);
  if (err != kOk) return err;
  // The two fixed-length checks: hex SHA-1 of the configuration text (40)
  // and Base64 SHA-1 of the login name (28).
  unsigned char digest[20];
  char hex[41];
  if ((err = sha1(r.configText, digest)) != kOk ||
      (err = HexEncode(digest, 20, hex, sizeof hex)) != kOk)
    return err;
  r.check40 = hex;
  unsigned char text[32];
  unsigned long textLen = sizeof text;
  if ((err = sha1(r.login, digest)) != kOk ||
      (err = base64_encode(digest, 20, text, &textLen)) != kOk)
    return err;
  r.check28.assign(reinterpret_cast<char*>(text), textLen);
  std::vector<unsigned char> encoded(8192);
  unsigned long encodedLen = encoded.size();
  if ((err = AuthEncodeTicketRequest(r, encoded.data(), &encodedLen)) != kOk) return err;
  return rsa_encrypt_key_ex(encoded.data(), encodedLen, out, outLen, kLabel, sizeof kLabel,
                            &random.state, random.index, find_hash("sha1"), LTC_PKCS_1_OAEP,
                            certificateKey);
}

int AuthOpenTicketRequest(const unsigned char* in, unsigned long n, rsa_key* certificateKey,
                          TicketRequest& r) {
  std::vector<unsigned char> plain(1024);
  unsigned long plainLen = plain.size();
  int good = 0;
  int err = rsa_decrypt_key_ex(in, n, plain.data(), &plainLen, kLabel, sizeof kLabel,
                               find_hash("sha1"), LTC_PKCS_1_OAEP, &good, certificateKey);
  if (err != kOk) return err;
  if (!good) return CRYPT_INVALID_PACKET;
  TextSlot s0(63), s1(31), s2(31), s3(127), s4(127), s5(127);
  unsigned char key[64];
  ltc_asn1_list list[8];
  setSlot(list, 0, s0);
  setSlot(list, 1, s1);
  setSlot(list, 2, s2);
  setSlot(list, 3, s3);
  setSlot(list, 4, s4);
  setSlot(list, 5, s5);
  LTC_SET_ASN1(list, 6, LTC_ASN1_OCTET_STRING, key, sizeof key);
  LTC_SET_ASN1(list, 7, LTC_ASN1_NULL, nullptr, 0);
  if ((err = der_decode_sequence_ex(plain.data(), plainLen, list, 8, 1)) != kOk) return err;
  if (list[6].size != kUserKeySize) return CRYPT_INVALID_PACKET;
  r.configText = s0.text(list[0]);
  r.challenge = s1.text(list[1]);
  r.login = s2.text(list[2]);
  r.check40 = s3.text(list[3]);
  r.check28 = s4.text(list[4]);
  r.proof = s5.text(list[5]);
  std::memcpy(r.userKey, key, kUserKeySize);
  return kOk;
}

int AuthMakeAccountRequest(const AccountRecord& record, rsa_key* certificateKey, Random& random,
                           unsigned char* out, unsigned long* outLen) {
  ltc_asn1_list texts[9];
  for (int i = 0; i < 9; ++i)
    setText(texts, i, record.texts[i]);
  unsigned char body[2048];
  unsigned long bodyLen = sizeof body;
  int err = der_encode_sequence_ex(texts, 9, body, &bodyLen, LTC_ASN1_SEQUENCE);
  if (err != kOk) return err;
  unsigned char digest[20];
  unsigned long digestLen = sizeof digest;
  if ((err = hash_memory(find_hash("sha1"), body, bodyLen, digest, &digestLen)) != kOk) return err;
  unsigned char key[24];
  unsigned char iv[16];
  if ((err = random.read(key, sizeof key)) != kOk || (err = random.read(iv, sizeof iv)) != kOk)
    return err;
  symmetric_CTR ctr;
  if ((err = ctr_start(find_cipher("aes"), iv, key, sizeof key, 0, CTR_COUNTER_LITTLE_ENDIAN,
                       &ctr)) != kOk)
    return err;
  err = ctr_encrypt(body, body, bodyLen, &ctr);
  ctr_done(&ctr);
  if (err != kOk) return err;
  unsigned long length = bodyLen;
  ltc_asn1_list head[4];
  LTC_SET_ASN1(head, 0, LTC_ASN1_OCTET_STRING, key, sizeof key);
  LTC_SET_ASN1(head, 1, LTC_ASN1_OCTET_STRING, iv, sizeof iv);
  LTC_SET_ASN1(head, 2, LTC_ASN1_OCTET_STRING, digest, sizeof digest);
  LTC_SET_ASN1(head, 3, LTC_ASN1_SHORT_INTEGER, &length, 1);
  unsigned char header[256];
  unsigned long headerLen = sizeof header;
  if ((err = der_encode_sequence_ex(head, 4, header, &headerLen, LTC_ASN1_SEQUENCE)) != kOk)
    return err;
  unsigned char sealed[256];
  unsigned long sealedLen = sizeof sealed;
  if ((err = rsa_encrypt_key_ex(header, headerLen, sealed, &sealedLen, kLabel, sizeof kLabel,
                                &random.state, random.index, find_hash("sha1"), LTC_PKCS_1_OAEP,
                                certificateKey)) != kOk)
    return err;
  ltc_asn1_list outer[2];
  LTC_SET_ASN1(outer, 0, LTC_ASN1_OCTET_STRING, sealed, sealedLen);
  LTC_SET_ASN1(outer, 1, LTC_ASN1_OCTET_STRING, body, bodyLen);
  return der_encode_sequence_ex(outer, 2, out, outLen, LTC_ASN1_SEQUENCE);
}

int AuthOpenAccountRequest(const unsigned char* in, unsigned long n, rsa_key* certificateKey,
                           AccountRecord& record) {
  unsigned char sealed[256];
  unsigned char body[2048];
  ltc_asn1_list outer[2];
  LTC_SET_ASN1(outer, 0, LTC_ASN1_OCTET_STRING, sealed, sizeof sealed);
  LTC_SET_ASN1(outer, 1, LTC_ASN1_OCTET_STRING, body, sizeof body);
  int err = der_decode_sequence_ex(in, n, outer, 2, 1);
  if (err != kOk) return err;
  unsigned char header[256];
  unsigned long headerLen = sizeof header;
  int good = 0;
  if ((err = rsa_decrypt_key_ex(sealed, outer[0].size, header, &headerLen, kLabel, sizeof kLabel,
                                find_hash("sha1"), LTC_PKCS_1_OAEP, &good, certificateKey)) != kOk)
    return err;
  if (!good) return CRYPT_INVALID_PACKET;
  unsigned char key[24], iv[16], digest[64];
  unsigned long length = 0;
  ltc_asn1_list head[4];
  LTC_SET_ASN1(head, 0, LTC_ASN1_OCTET_STRING, key, sizeof key);
  LTC_SET_ASN1(head, 1, LTC_ASN1_OCTET_STRING, iv, sizeof iv);
  LTC_SET_ASN1(head, 2, LTC_ASN1_OCTET_STRING, digest, sizeof digest);
  LTC_SET_ASN1(head, 3, LTC_ASN1_SHORT_INTEGER, &length, 1);
  if ((err = der_decode_sequence_ex(header, headerLen, head, 4, 1)) != kOk) return err;
  const unsigned long bodyLen = outer[1].size;
  if (head[0].size != sizeof key || length != bodyLen || head[1].size != 16 || head[2].size != 20)
    return CRYPT_INVALID_PACKET;
  symmetric_CTR ctr;
  if ((err = ctr_start(find_cipher("aes"), iv, key, sizeof key, 0, CTR_COUNTER_LITTLE_ENDIAN,
                       &ctr)) != kOk)
    return err;
  err = ctr_decrypt(body, body, bodyLen, &ctr);
  ctr_done(&ctr);
  if (err != kOk) return err;
  unsigned char check[20];
  unsigned long checkLen = sizeof check;
  if ((err = hash_memory(find_hash("sha1"), body, bodyLen, check, &checkLen)) != kOk) return err;
  if (std::memcmp(check, digest, 20) != 0) return CRYPT_INVALID_PACKET;
  static const unsigned long kLimits[9] = {63, 31, 63, 31, 63, 63, 127, 63, 15};
  std::vector<TextSlot> slots;
  slots.reserve(9);
  ltc_asn1_list texts[9];
  for (int i = 0; i < 9; ++i) {
    slots.emplace_back(kLimits[i]);
    setSlot(texts, i, slots.back());
  }
  if ((err = der_decode_sequence_ex(body, bodyLen, texts, 9, 1)) != kOk) return err;
  for (int i = 0; i < 9; ++i)
    record.texts[i] = slots[i].text(texts[i]);
  return kOk;
}

}  // namespace auth
}  // namespace OX_Toolbox
