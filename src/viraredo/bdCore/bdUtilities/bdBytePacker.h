#pragma once
// Stateless readers and writers over a caller's buffer with an explicit
// offset. Each sets newOffset to offset, and advances it only on success.
// A null buffer is a dry run: nothing is copied but offsets advance, which is
// how serialised sizes are measured.
#include <cstdint>
#include <type_traits>

class bdBytePacker {
 public:
  static bool appendBuffer(unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                           unsigned int& newOffset, const void* data, unsigned int length);
  static bool removeBuffer(const unsigned char* buffer, unsigned int bufferSize,
                           unsigned int offset, unsigned int& newOffset, void* data,
                           unsigned int length);

  // A primitive value, least significant byte first.
  template <typename T>
  static bool appendBasicType(unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                              unsigned int& newOffset, const T& value) {
    static_assert(std::is_arithmetic<T>::value || std::is_enum<T>::value, "primitive values only");
    unsigned char bytes[sizeof(T)];
    toLittleEndian(value, bytes);
    return appendBuffer(buffer, bufferSize, offset, newOffset, bytes, sizeof(T));
  }
  template <typename T>
  static bool removeBasicType(const unsigned char* buffer, unsigned int bufferSize,
                              unsigned int offset, unsigned int& newOffset, T& value) {
    static_assert(std::is_arithmetic<T>::value || std::is_enum<T>::value, "primitive values only");
    unsigned char bytes[sizeof(T)];
    if (!removeBuffer(buffer, bufferSize, offset, newOffset, bytes, sizeof(T))) return false;
    if (buffer != nullptr) fromLittleEndian(bytes, value);
    return true;
  }

  // Below 128: one byte; else two bytes, (value >> 8) | 0x80 then the low byte.
  static bool appendEncodedUInt16(unsigned char* buffer, unsigned int bufferSize,
                                  unsigned int offset, unsigned int& newOffset,
                                  std::uint16_t value);
  static bool removeEncodedUInt16(const unsigned char* buffer, unsigned int bufferSize,
                                  unsigned int offset, unsigned int& newOffset,
                                  std::uint16_t& value);

  static bool skipBytes(unsigned int bufferSize, unsigned int offset, unsigned int& newOffset,
                        unsigned int n);
  static bool rewindBytes(unsigned int bufferSize, unsigned int offset, unsigned int& newOffset,
                          unsigned int n);

  // Byte order of the wire, whatever the host's.
  template <typename T>
  static void toLittleEndian(const T& value, unsigned char (&bytes)[sizeof(T)]) {
    using U = typename UnsignedOf<sizeof(T)>::type;
    U bits;
    static_assert(sizeof(U) == sizeof(T), "size");
    copyBits(&bits, &value);
    for (unsigned int i = 0; i < sizeof(T); ++i)
      bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
  }
  template <typename T>
  static void fromLittleEndian(const unsigned char (&bytes)[sizeof(T)], T& value) {
    using U = typename UnsignedOf<sizeof(T)>::type;
    U bits = 0;
    for (unsigned int i = 0; i < sizeof(T); ++i)
      bits |= static_cast<U>(static_cast<U>(bytes[i]) << (8 * i));
    copyBits(&value, &bits);
  }

 private:
  template <unsigned int N>
  struct UnsignedOf;
  static void copyBits(void* dest, const void* src, unsigned int n);
  template <typename D, typename S>
  static void copyBits(D* dest, const S* src) {
    static_assert(sizeof(D) == sizeof(S), "size");
    copyBits(dest, src, sizeof(D));
  }
};

template <>
struct bdBytePacker::UnsignedOf<1> {
  using type = std::uint8_t;
};
template <>
struct bdBytePacker::UnsignedOf<2> {
  using type = std::uint16_t;
};
template <>
struct bdBytePacker::UnsignedOf<4> {
  using type = std::uint32_t;
};
template <>
struct bdBytePacker::UnsignedOf<8> {
  using type = std::uint64_t;
};
