#include "bdCore/bdCrypto/bdCryptoUtils.h"

#include "bdCore/bdCrypto/bdCypher3Des.h"
#include "bdCore/bdCrypto/bdHashTiger192.h"
#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

bool bdCryptoUtils::encrypt(const void* key, const void* iv, const void* in, void* out,
                            const unsigned int length) {
  bdCypher3Des cypher;
  const bool ok = cypher.encrypt(
      static_cast<const unsigned char*>(key), KEY_SIZE, static_cast<const unsigned char*>(iv),
      static_cast<const unsigned char*>(in), static_cast<unsigned char*>(out), length);
  bdAssert(ok, "encryption failed");
  return ok;
}

bool bdCryptoUtils::decrypt(const void* key, const void* iv, const void* in, void* out,
                            const unsigned int length) {
  bdCypher3Des cypher;
  const bool ok = cypher.decrypt(
      static_cast<const unsigned char*>(key), KEY_SIZE, static_cast<const unsigned char*>(iv),
      static_cast<const unsigned char*>(in), static_cast<unsigned char*>(out), length);
  bdAssert(ok, "decryption failed");
  return ok;
}

bool bdCryptoUtils::calculateInitialVector(const unsigned int seed, unsigned char* iv) {
  unsigned char seedBytes[4];
  unsigned int end = 0;
  if (!bdBytePacker::appendBasicType(seedBytes, sizeof seedBytes, 0, end, seed)) {
    bdAssertMsg("Failed to serialize ivseed.");
    return false;
  }
  bdHashTiger192 tiger;
  unsigned int length = IV_SIZE;
  if (!tiger.hash(seedBytes, sizeof seedBytes, iv, length)) {
    bdAssertMsg("Hash function failed.");
    return false;
  }
  return true;
}

unsigned int bdCryptoUtils::getRandomUInt() {
  bdRandom* random = bdRandom::getInstance();
  return random != nullptr ? random->getRandomUInt() : 0;
}
