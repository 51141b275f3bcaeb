#include "bdCore/bdCrypto/bdRandom.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "platform/guid.h"

bdRandom* bdRandom::getInstance() { return bdSingleton<bdRandom>::getInstance(); }

bool bdRandom::getRandomBytes(void* buffer, unsigned int count) {
  if (count == 0) return true;
  if (!platform::SystemRandomBytes(buffer, count)) {
    bdLogError("random", "The platform random generator failed.");
    return false;
  }
  return true;
}

unsigned int bdRandom::getRandomUInt() {
  unsigned char bytes[4] = {0, 0, 0, 0};
  getRandomBytes(bytes, sizeof bytes);
  unsigned int value = 0;
  bdBytePacker::fromLittleEndian(bytes, value);
  return value;
}
