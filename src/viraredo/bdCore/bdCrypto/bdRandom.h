#pragma once
// The process-wide random source over the platform's cryptographic generator.

class bdRandom {
 public:
  static bdRandom* getInstance();
  // False (and the buffer unusable) when the platform generator fails.
  bool getRandomBytes(void* buffer, unsigned int count);
  unsigned int getRandomUInt();
};
