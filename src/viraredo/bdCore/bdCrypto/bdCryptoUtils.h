#pragma once
// Helpers over the crypto wrappers: 3DES-CBC with 24-byte keys, initial
// vectors derived from a seed, and random values.

class bdCryptoUtils {
 public:
  static constexpr unsigned int KEY_SIZE = 24;
  static constexpr unsigned int IV_SIZE = 24;

  static bool encrypt(const void* key, const void* iv, const void* in, void* out,
                      const unsigned int length);
  static bool decrypt(const void* key, const void* iv, const void* in, void* out,
                      const unsigned int length);
  // Tiger-192 of the seed's 4 bytes (least significant first) into iv (24 bytes).
  static bool calculateInitialVector(const unsigned int seed, unsigned char* iv);
  static unsigned int getRandomUInt();
};
