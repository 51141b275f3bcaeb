#include "bdCore/bdUtilities/bdBitOperations.h"

#include "bdCore/bdLog/bdLog.h"

unsigned int bdBitOperations::highBitNumber(unsigned int x) {
  if (x == 0) {
    bdAssertMsg("bdBitOperations::highBitNumber, no bits set, so cannot find highest.");
    return 0;
  }
  unsigned int bit = 0;
  for (unsigned int step = 16; step > 0; step /= 2) {
    if ((x >> step) != 0) {
      x >>= step;
      bit += step;
    }
  }
  return bit;
}

unsigned int bdBitOperations::nextPowerOf2(unsigned int x) {
  if (x == 0) return 0;
  const unsigned int high = 1u << highBitNumber(x);
  if (high == x) return x;
  return high == 0x80000000u ? 0 : high * 2;
}
