#include "bdCore/bdUtilities/bdBytePacker.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"

namespace {
// Whether length bytes remain at offset; an offset at or past the end never fits.
bool fits(unsigned int bufferSize, unsigned int offset, unsigned int length) {
  return offset < bufferSize && length <= bufferSize - offset;
}
}  // namespace

void bdBytePacker::copyBits(void* dest, const void* src, unsigned int n) {
  std::memcpy(dest, src, n);
}

bool bdBytePacker::appendBuffer(unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                                unsigned int& newOffset, const void* data, unsigned int length) {
  newOffset = offset;
  if (!fits(bufferSize, offset, length)) return false;
  if (buffer != nullptr && length > 0) std::memcpy(buffer + offset, data, length);
  newOffset = offset + length;
  return true;
}

bool bdBytePacker::removeBuffer(const unsigned char* buffer, unsigned int bufferSize,
                                unsigned int offset, unsigned int& newOffset, void* data,
                                unsigned int length) {
  newOffset = offset;
  if (!fits(bufferSize, offset, length)) return false;
  if (buffer != nullptr && length > 0) std::memcpy(data, buffer + offset, length);
  newOffset = offset + length;
  return true;
}

bool bdBytePacker::appendEncodedUInt16(unsigned char* buffer, unsigned int bufferSize,
                                       unsigned int offset, unsigned int& newOffset,
                                       std::uint16_t value) {
  newOffset = offset;
  if (value < 128) {
    const std::uint8_t b = static_cast<std::uint8_t>(value);
    return appendBasicType(buffer, bufferSize, offset, newOffset, b);
  }
  bdAssert(value < 32768, "Integer is too big.");
  const unsigned char bytes[2] = {static_cast<unsigned char>((value >> 8) | 0x80),
                                  static_cast<unsigned char>(value & 0xFF)};
  return appendBuffer(buffer, bufferSize, offset, newOffset, bytes, 2);
}

bool bdBytePacker::removeEncodedUInt16(const unsigned char* buffer, unsigned int bufferSize,
                                       unsigned int offset, unsigned int& newOffset,
                                       std::uint16_t& value) {
  newOffset = offset;
  std::uint8_t first = 0;
  unsigned int at = offset;
  if (!removeBasicType(buffer, bufferSize, offset, at, first)) return false;
  if (first < 128) {
    value = first;
    newOffset = at;
    return true;
  }
  std::uint8_t second = 0;
  if (!removeBasicType(buffer, bufferSize, at, at, second)) return false;
  value = static_cast<std::uint16_t>(((first & 0x7F) << 8) | second);
  newOffset = at;
  return true;
}

bool bdBytePacker::skipBytes(unsigned int bufferSize, unsigned int offset, unsigned int& newOffset,
                             unsigned int n) {
  newOffset = offset;
  if (!fits(bufferSize, offset, n)) return false;
  newOffset = offset + n;
  return true;
}

bool bdBytePacker::rewindBytes(unsigned int, unsigned int offset, unsigned int& newOffset,
                               unsigned int n) {
  newOffset = offset;
  if (offset < n) return false;
  newOffset = offset - n;
  return true;
}
