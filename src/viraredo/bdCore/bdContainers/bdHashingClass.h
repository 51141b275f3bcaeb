#pragma once
// Hashes of map keys. Key types of their own (addresses, security ids) supply getHash().
#include "bdCore/bdContainers/bdString.h"

class bdHashingClass {
 public:
  // h = h * 31 + character, characters taken as signed values.
  static unsigned int getHash(const bdString& key) {
    unsigned int h = 0;
    for (const char* p = key.getBuffer(); *p != 0; ++p) {
      h = h * 31u + static_cast<unsigned int>(static_cast<signed char>(*p));
    }
    return h;
  }
  static unsigned int getHash(unsigned int key) { return key; }
  template <typename K>
  static unsigned int getHash(const K& key) {
    return key.getHash();
  }
};
