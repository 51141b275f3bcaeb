#include "bdCore/bdCrypto/bdCypher3Des.h"

#include <tomcrypt.h>

#include "bdCore/bdLog/bdLog.h"

bdCypher3Des::bdCypher3Des() : m_cipher(register_cipher(&des3_desc)) {
  if (m_cipher == -1) bdLogError("cypher3DES", "Error registering cipher.");
}

namespace {

// One CBC pass over `length` bytes in either direction.
bool runCbc(int cipher, bool encrypting, const unsigned char* key, unsigned int keyLength,
            const unsigned char* iv, const unsigned char* in, unsigned char* out,
            unsigned int length) {
  if (cipher == -1) return false;
  symmetric_CBC cbc;
  int err = cbc_start(cipher, iv, key, static_cast<int>(keyLength), 0, &cbc);
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", "Error starting cipher.");
    bdLogError("cypher3DES", "> %s", error_to_string(err));
    return false;
  }
  err = encrypting ? cbc_encrypt(in, out, length, &cbc) : cbc_decrypt(in, out, length, &cbc);
  cbc_done(&cbc);
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", encrypting ? "Error encrypting " : "Error decrypting.");
    if (encrypting) bdLogError("cypher3DES", "> %s", error_to_string(err));
    return false;
  }
  return true;
}

}  // namespace

bool bdCypher3Des::encrypt(const unsigned char* key, const unsigned int keyLength,
                           const unsigned char* iv, const unsigned char* in, unsigned char* out,
                           const unsigned int length) {
  return runCbc(m_cipher, true, key, keyLength, iv, in, out, length);
}

bool bdCypher3Des::decrypt(const unsigned char* key, const unsigned int keyLength,
                           const unsigned char* iv, const unsigned char* in, unsigned char* out,
                           const unsigned int length) {
  return runCbc(m_cipher, false, key, keyLength, iv, in, out, length);
}
