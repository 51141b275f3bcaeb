#include "bdCore/bdCrypto/bdHashTiger192.h"

#include <tomcrypt.h>

#include "bdCore/bdLog/bdLog.h"

bdHashTiger192::bdHashTiger192() : m_hash(register_hash(&tiger_desc)) {
  if (m_hash == -1) bdLogError("hashtiger192", "Unable to register hash.");
}

bool bdHashTiger192::hash(const unsigned char* data, const unsigned int dataLength,
                          unsigned char* result, unsigned int& length) {
  if (m_hash == -1) return false;
  unsigned long outLength = length;
  const int err = hash_memory(m_hash, data, dataLength, result, &outLength);
  if (err != CRYPT_OK) {
    bdLogError("hashtiger192", "Unable to create hash.");
    return false;
  }
  length = static_cast<unsigned int>(outLength);
  return true;
}
