#include "bdPacket/bdInitAckChunk.h"

#include "bdCore/bdUtilities/bdBytePacker.h"

unsigned int bdInitAckChunk::getSerializedSize() const {
  return 8 + (m_cookieBytes.notNull() ? m_cookieBytes->getSize() : bdCookie::SIZE);
}

unsigned int bdInitAckChunk::serialize(unsigned char* buffer, unsigned int size) const {
  const unsigned int cookieSize =
      m_cookieBytes.notNull() ? m_cookieBytes->getSize() : bdCookie::SIZE;
  if (size < 8 + cookieSize || cookieSize > 0xFFFF) return 0;
  unsigned int at = serializeHeader(buffer, size, static_cast<std::uint16_t>(cookieSize));
  if (at == 0) return 0;
  bdBytePacker::appendBasicType(buffer, size, at, at, m_initTag);
  if (m_cookieBytes.notNull()) {
    bdBytePacker::appendBuffer(buffer, size, at, at, m_cookieBytes->getData(), cookieSize);
    return at;
  }
  const unsigned int written = m_cookie.serialize(buffer + at, size - at);
  return written == 0 ? 0 : at + written;
}

bool bdInitAckChunk::deserialize(const unsigned char* data, unsigned int size, unsigned int& used) {
  used = 0;
  std::uint16_t length = 0;
  if (size < 8 || !deserializeHeader(data, size, length)) return false;
  unsigned int at = HEADER_SIZE;
  bdBytePacker::removeBasicType(data, size, at, at, m_initTag);
  // The cookie length comes from the wire: it must stay inside the chunk.
  if (length > size - at) return false;
  m_cookieBytes = new bdByteBuffer(length);
  if (length > 0 && !m_cookieBytes->write(data + at, length)) return false;
  used = at + length;
  return true;
}
