#pragma once
// Bit arithmetic used to size bit-buffer fields and hash-map bucket arrays.
#include <cstdint>

class bdBitOperations {
 public:
  // Index of the highest set bit (0 for 1, 31 for 0x80000000); 0 with a failed check for 0.
  static unsigned int highBitNumber(unsigned int x);
  // The smallest power of two not below x; 0 stays 0, and so does anything above 2^31.
  static unsigned int nextPowerOf2(unsigned int x);
};

// Every bit set except the sign.
constexpr std::uint32_t BD_NAN32 = 0x7FFFFFFFu;
constexpr std::uint64_t BD_NAN64 = 0x7FFFFFFFFFFFFFFFull;
