#include "bdSocket/bdSecurity/bdSecurityID.h"

#include "bdCore/bdUtilities/bdBitBuffer.h"

bool bdSecurityBytesToString(const unsigned char* bytes, unsigned int count, char* buffer,
                             unsigned int size) {
  static const char kDigits[] = "0123456789abcdef";
  const unsigned int spaces = count == 0 ? 0 : (count - 1) / 4;
  if (buffer == nullptr || size == 0) return false;
  buffer[0] = 0;
  if (count * 2 + spaces + 1 > size) return false;
  unsigned int at = 0;
  for (unsigned int i = 0; i < count; ++i) {
    if (i > 0 && i % 4 == 0) buffer[at++] = ' ';
    buffer[at++] = kDigits[bytes[i] >> 4];
    buffer[at++] = kDigits[bytes[i] & 0x0F];
  }
  buffer[at] = 0;
  return true;
}

unsigned int bdSecurityID::getHash() const {
  unsigned int h = 0;
  for (unsigned char b : ab)
    h = h * 31u + b;
  return h;
}

void bdSecurityID::serialize(bdBitBuffer& buffer) const { buffer.writeFullType(ab, SIZE * 8); }

bool bdSecurityID::deserialize(bdBitBuffer& buffer) {
  unsigned char bytes[SIZE];
  if (!buffer.readFullType(bytes, SIZE * 8)) return false;
  std::memcpy(ab, bytes, SIZE);
  return true;
}

void bdSecurityKey::serialize(bdBitBuffer& buffer) const { buffer.writeFullType(ab, SIZE * 8); }

bool bdSecurityKey::deserialize(bdBitBuffer& buffer) {
  unsigned char bytes[SIZE];
  if (!buffer.readFullType(bytes, SIZE * 8)) return false;
  std::memcpy(ab, bytes, SIZE);
  return true;
}
