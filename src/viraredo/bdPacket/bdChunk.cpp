#include "bdPacket/bdChunk.h"

#include "bdCore/bdUtilities/bdBytePacker.h"

unsigned int bdChunk::serializeHeader(unsigned char* buffer, unsigned int size,
                                      std::uint16_t length) const {
  if (buffer == nullptr || size < HEADER_SIZE) return 0;
  unsigned int at = 0;
  bdBytePacker::appendBasicType(buffer, size, at, at, static_cast<std::uint8_t>(m_type));
  bdBytePacker::appendBasicType(buffer, size, at, at, m_flags);
  bdBytePacker::appendBasicType(buffer, size, at, at, length);
  return at;
}

bool bdChunk::deserializeHeader(const unsigned char* data, unsigned int size,
                                std::uint16_t& length) {
  if (data == nullptr || size < HEADER_SIZE) return false;
  std::uint8_t type = 0;
  unsigned int at = 0;
  bdBytePacker::removeBasicType(data, size, at, at, type);
  bdBytePacker::removeBasicType(data, size, at, at, m_flags);
  bdBytePacker::removeBasicType(data, size, at, at, length);
  m_type = static_cast<bdChunkTypes>(type);
  return true;
}

unsigned int bdChunk::serialize(unsigned char* buffer, unsigned int size) const {
  return serializeHeader(buffer, size, 0);
}

bool bdChunk::deserialize(const unsigned char* data, unsigned int size, unsigned int& used) {
  std::uint16_t length = 0;
  used = 0;
  if (!deserializeHeader(data, size, length)) return false;
  used = HEADER_SIZE;
  return true;
}
