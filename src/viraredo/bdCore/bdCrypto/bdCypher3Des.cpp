#include "bdCore/bdCrypto/bdCypher3Des.h"

#include <tomcrypt.h>

#include "bdCore/bdLog/bdLog.h"

bdCypher3Des::bdCypher3Des() : m_cipher(register_cipher(&des3_desc)) {
  if (m_cipher == -1) bdLogError("cypher3DES", "Error registering cipher.");
}

bool bdCypher3Des::encrypt(const unsigned char* key, const unsigned int keyLength,
                           const unsigned char* iv, const unsigned char* in, unsigned char* out,
                           const unsigned int length) {
  if (m_cipher == -1) return false;
  symmetric_CBC cbc;
  int err = cbc_start(m_cipher, iv, key, static_cast<int>(keyLength), 0, &cbc);
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", "Error starting cipher.");
    bdLogError("cypher3DES", "> %s", error_to_string(err));
    return false;
  }
  err = cbc_encrypt(in, out, length, &cbc);
  cbc_done(&cbc);
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", "Error encrypting ");
    bdLogError("cypher3DES", "> %s", error_to_string(err));
    return false;
  }
  return true;
}

bool bdCypher3Des::decrypt(const unsigned char* key, const unsigned int keyLength,
                           const unsigned char* iv, const unsigned char* in, unsigned char* out,
                           const unsigned int length) {
  if (m_cipher == -1) return false;
  symmetric_CBC cbc;
  int err = cbc_start(m_cipher, iv, key, static_cast<int>(keyLength), 0, &cbc);
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", "Error starting cipher.");
    bdLogError("cypher3DES", "> %s", error_to_string(err));
    return false;
  }
  err = cbc_decrypt(in, out, length, &cbc);
  cbc_done(&cbc);
  if (err != CRYPT_OK) {
    bdLogError("cypher3DES", "Error decrypting.");
    return false;
  }
  return true;
}
