#include "bdSocket/bdInetAddr.h"

#include <cstdio>

#include "bdCore/bdUtilities/bdBytePacker.h"
#include "bdCore/bdUtilities/bdCString.h"

bdInetAddr::bdInetAddr(const char* text) : m_addr(INVALID_ADDRESS) { parse(text, *this); }

// A released address reads as garbage on purpose, to show use after release.
bdInetAddr::~bdInetAddr() { m_addr = 0xDEADBEEFu; }

bdInetAddr bdInetAddr::fromBytes(unsigned char a, unsigned char b, unsigned char c,
                                 unsigned char d) {
  return bdInetAddr(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b) << 8 |
                    static_cast<std::uint32_t>(c) << 16 | static_cast<std::uint32_t>(d) << 24);
}

bool bdInetAddr::parse(const char* text, bdInetAddr& addr) {
  if (text == nullptr) return false;
  unsigned char parts[4];
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && *p++ != '.') return false;
    unsigned int value = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 4) {
      value = value * 10 + static_cast<unsigned int>(*p++ - '0');
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    parts[i] = static_cast<unsigned char>(value);
  }
  if (*p != 0) return false;
  addr = fromBytes(parts[0], parts[1], parts[2], parts[3]);
  return true;
}

unsigned int bdInetAddr::toString(char* buffer, unsigned int size) const {
  if (buffer == nullptr || size == 0) return 0;
  buffer[0] = 0;
  if (!isValid()) return 0;
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", getByte(0), getByte(1), getByte(2), getByte(3));
  bdStrlcpy(buffer, text, size);
  return bdStrlen(buffer);
}

bool bdInetAddr::serialize(unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                           unsigned int& newOffset) const {
  const unsigned char bytes[4] = {getByte(0), getByte(1), getByte(2), getByte(3)};
  return bdBytePacker::appendBuffer(buffer, bufferSize, offset, newOffset, bytes, 4);
}

bool bdInetAddr::deserialize(const unsigned char* buffer, unsigned int bufferSize,
                             unsigned int offset, unsigned int& newOffset) {
  unsigned char bytes[4];
  if (!bdBytePacker::removeBuffer(buffer, bufferSize, offset, newOffset, bytes, 4)) return false;
  if (buffer != nullptr) *this = fromBytes(bytes[0], bytes[1], bytes[2], bytes[3]);
  return true;
}
