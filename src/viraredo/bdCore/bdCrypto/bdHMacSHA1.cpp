#include "bdCore/bdCrypto/bdHMacSHA1.h"

#include "bdCore/bdLog/bdLog.h"

bdHMacSHA1::bdHMacSHA1(const unsigned char* const key, const unsigned int length)
    : m_state(), m_ready(false) {
  const int hash = register_hash(&sha1_desc);
  if (hash == -1) {
    bdLogError("hmacsha1", "Error registering SHA1");
    return;
  }
  const int err = hmac_init(&m_state, hash, key, length);
  if (err != CRYPT_OK) {
    bdLogError("hmacsha1", "Error setting up hmac: %s", error_to_string(err));
    return;
  }
  m_ready = true;
}

bool bdHMacSHA1::process(const unsigned char* const data, const unsigned int length) {
  if (!m_ready) return false;
  const int err = hmac_process(&m_state, data, length);
  if (err != CRYPT_OK) {
    bdLogError("hmacsha1", "Error processing hmac: %s", error_to_string(err));
    return false;
  }
  return true;
}

bool bdHMacSHA1::getData(unsigned char* result, unsigned int& length) {
  if (!m_ready) return false;
  unsigned long outLength = length;
  const int err = hmac_done(&m_state, result, &outLength);
  m_ready = false;  // the state is finished either way
  if (err != CRYPT_OK) {
    bdLogError("hmacsha1", "Error getting hmac done data : %s", error_to_string(err));
    return false;
  }
  length = static_cast<unsigned int>(outLength);
  return true;
}
