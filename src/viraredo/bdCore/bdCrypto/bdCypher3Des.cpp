#include "bdCore/bdCrypto/bdCypher3Des.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"

bdCypher3Des::bdCypher3Des()
    : m_cipher(register_cipher(&des3_desc)), m_scheduled(false), m_keyLength(0), m_key(), m_cbc() {
  if (m_cipher == -1) bdLogError("cypher3DES", "Error registering cipher.");
}

bdCypher3Des::~bdCypher3Des() {
  if (m_scheduled) cbc_done(&m_cbc);
  // The schedule is the key in another form.
  std::memset(&m_cbc, 0, sizeof m_cbc);
  std::memset(m_key, 0, sizeof m_key);
}

bool bdCypher3Des::schedule(const unsigned char* key, unsigned int keyLength) {
  if (m_scheduled && keyLength == m_keyLength && std::memcmp(key, m_key, keyLength) == 0) {
    return true;
  }
  if (m_scheduled) cbc_done(&m_cbc);
  m_scheduled = false;
  const unsigned char zeroIv[BLOCK_SIZE] = {};
  const int err = keyLength > MAX_KEY_SIZE
                      ? CRYPT_INVALID_KEYSIZE
                      : cbc_start(m_cipher, zeroIv, key, static_cast<int>(keyLength), 0, &m_cbc);
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", "Error starting cipher.");
    bdLogError("cypher3DES", "> %s", error_to_string(err));
    return false;
  }
  std::memcpy(m_key, key, keyLength);
  m_keyLength = keyLength;
  m_scheduled = true;
  return true;
}

// One CBC pass over `length` bytes in either direction.
bool bdCypher3Des::run(bool encrypting, const unsigned char* key, unsigned int keyLength,
                       const unsigned char* iv, const unsigned char* in, unsigned char* out,
                       unsigned int length) {
  if (m_cipher == -1 || key == nullptr || !schedule(key, keyLength)) return false;
  int err = cbc_setiv(iv, BLOCK_SIZE, &m_cbc);
  if (err == CRYPT_OK) {
    err = encrypting ? cbc_encrypt(in, out, length, &m_cbc) : cbc_decrypt(in, out, length, &m_cbc);
  }
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", encrypting ? "Error encrypting " : "Error decrypting.");
    if (encrypting) bdLogError("cypher3DES", "> %s", error_to_string(err));
    return false;
  }
  return true;
}

bool bdCypher3Des::encrypt(const unsigned char* key, const unsigned int keyLength,
                           const unsigned char* iv, const unsigned char* in, unsigned char* out,
                           const unsigned int length) {
  return run(true, key, keyLength, iv, in, out, length);
}

bool bdCypher3Des::decrypt(const unsigned char* key, const unsigned int keyLength,
                           const unsigned char* iv, const unsigned char* in, unsigned char* out,
                           const unsigned int length) {
  return run(false, key, keyLength, iv, in, out, length);
}
