#pragma once
// Identity (8 bytes) and key (16 bytes) of a secured association. Both
// default to all bytes 0x01 and compare bytewise.
#include <cstring>

class bdBitBuffer;

// Two lower-case hex digits per byte, a space before bytes 4, 8 and 12.
// Returns false (and empty text) when the buffer is too small.
bool bdSecurityBytesToString(const unsigned char* bytes, unsigned int count, char* buffer,
                             unsigned int size);

class bdSecurityID {
 public:
  static constexpr unsigned int SIZE = 8;
  static constexpr unsigned int TEXT_SIZE = 36;

  bdSecurityID() { std::memset(ab, 1, SIZE); }
  bool operator==(const bdSecurityID& o) const { return std::memcmp(ab, o.ab, SIZE) == 0; }
  bool operator!=(const bdSecurityID& o) const { return !(*this == o); }
  // h = h * 31 + byte over the eight bytes.
  unsigned int getHash() const;
  bool toString(char* buffer, unsigned int size) const {
    return bdSecurityBytesToString(ab, SIZE, buffer, size);
  }
  void serialize(bdBitBuffer& buffer) const;
  bool deserialize(bdBitBuffer& buffer);

  unsigned char ab[SIZE];
};

class bdSecurityKey {
 public:
  static constexpr unsigned int SIZE = 16;

  bdSecurityKey() { std::memset(ab, 1, SIZE); }
  bool operator==(const bdSecurityKey& o) const { return std::memcmp(ab, o.ab, SIZE) == 0; }
  bool operator!=(const bdSecurityKey& o) const { return !(*this == o); }
  bool toString(char* buffer, unsigned int size) const {
    return bdSecurityBytesToString(ab, SIZE, buffer, size);
  }
  void serialize(bdBitBuffer& buffer) const;
  bool deserialize(bdBitBuffer& buffer);

  unsigned char ab[SIZE];
};
