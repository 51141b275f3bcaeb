#include "bdPacket/bdInitChunk.h"

#include "bdCore/bdUtilities/bdBytePacker.h"

unsigned int bdInitChunk::serialize(unsigned char* buffer, unsigned int size) const {
  if (size < WRITE_ROOM) return 0;
  unsigned int at = serializeHeader(buffer, size, 0);
  if (at == 0) return 0;
  bdBytePacker::appendBasicType(buffer, size, at, at, m_initTag);
  return at;
}

bool bdInitChunk::deserialize(const unsigned char* data, unsigned int size, unsigned int& used) {
  used = 0;
  std::uint16_t length = 0;
  if (size < 8 || !deserializeHeader(data, size, length)) return false;
  unsigned int at = HEADER_SIZE;
  bdBytePacker::removeBasicType(data, size, at, at, m_initTag);
  used = at;
  return true;
}
