#include "bdCore/bdCrypto/bdHMacSHA1.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"

namespace {
const unsigned int kBlockSize = 64;
}  // namespace

bdHMacSHA1Key::bdHMacSHA1Key() : m_inner(), m_outer(), m_set(false) {}

bdHMacSHA1Key::bdHMacSHA1Key(const unsigned char* const key, const unsigned int length)
    : bdHMacSHA1Key() {
  set(key, length);
}

bool bdHMacSHA1Key::set(const unsigned char* const key, const unsigned int length) {
  m_set = false;
  unsigned char block[kBlockSize] = {};
  // A key longer than the block is replaced by its digest.
  if (length > kBlockSize) {
    hash_state digest;
    if (sha1_init(&digest) != CRYPT_OK || sha1_process(&digest, key, length) != CRYPT_OK ||
        sha1_done(&digest, block) != CRYPT_OK) {
      bdLogError("hmacsha1", "Error setting up hmac: key digest failed");
      return false;
    }
  } else if (length > 0) {
    std::memcpy(block, key, length);
  }
  unsigned char pad[kBlockSize];
  for (unsigned int i = 0; i < kBlockSize; ++i)
    pad[i] = static_cast<unsigned char>(block[i] ^ 0x36);
  bool ok = sha1_init(&m_inner) == CRYPT_OK && sha1_process(&m_inner, pad, kBlockSize) == CRYPT_OK;
  for (unsigned int i = 0; i < kBlockSize; ++i)
    pad[i] = static_cast<unsigned char>(block[i] ^ 0x5c);
  ok = ok && sha1_init(&m_outer) == CRYPT_OK && sha1_process(&m_outer, pad, kBlockSize) == CRYPT_OK;
  std::memset(block, 0, sizeof block);
  std::memset(pad, 0, sizeof pad);
  if (!ok) {
    bdLogError("hmacsha1", "Error setting up hmac: pad digest failed");
    return false;
  }
  m_set = true;
  return true;
}

bdHMacSHA1::bdHMacSHA1(const unsigned char* const key, const unsigned int length)
    : bdHMacSHA1(bdHMacSHA1Key(key, length)) {}

bdHMacSHA1::bdHMacSHA1(const bdHMacSHA1Key& key)
    : m_inner(key.m_inner), m_outer(key.m_outer), m_ready(key.m_set) {}

bool bdHMacSHA1::process(const unsigned char* const data, const unsigned int length) {
  if (!m_ready) return false;
  const int err = sha1_process(&m_inner, data, length);
  if (err != CRYPT_OK) {
    bdLogError("hmacsha1", "Error processing hmac: %s", error_to_string(err));
    return false;
  }
  return true;
}

bool bdHMacSHA1::getData(unsigned char* result, unsigned int& length) {
  if (!m_ready) return false;
  m_ready = false;  // the state is finished either way
  unsigned char inner[HMAC_SIZE];
  unsigned char full[HMAC_SIZE];
  int err = sha1_done(&m_inner, inner);
  if (err == CRYPT_OK) err = sha1_process(&m_outer, inner, HMAC_SIZE);
  if (err == CRYPT_OK) err = sha1_done(&m_outer, full);
  if (err != CRYPT_OK) {
    bdLogError("hmacsha1", "Error getting hmac done data : %s", error_to_string(err));
    return false;
  }
  const unsigned int n = length < HMAC_SIZE ? length : HMAC_SIZE;
  if (result != nullptr) std::memcpy(result, full, n);
  length = n;
  return true;
}
