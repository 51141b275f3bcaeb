#pragma once
// Tiger-192 over LibTomCrypt; 24-byte digests.

class bdHashTiger192 {
 public:
  static constexpr unsigned int HASH_SIZE = 24;

  bdHashTiger192();
  // length: in, the room; out, the digest size.
  bool hash(const unsigned char* data, const unsigned int dataLength, unsigned char* result,
            unsigned int& length);

 private:
  int m_hash;
};
