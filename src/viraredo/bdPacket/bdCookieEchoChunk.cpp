#include "bdPacket/bdCookieEchoChunk.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

unsigned int bdCookieEchoChunk::serialize(unsigned char* buffer, unsigned int size) const {
  const unsigned int cookieSize =
      m_cookieBytes.notNull() ? m_cookieBytes->getSize() : bdCookie::SIZE;
  if (size < HEADER_SIZE + cookieSize || cookieSize > 0xFFFF) return 0;
  unsigned int at = serializeHeader(buffer, size, static_cast<std::uint16_t>(cookieSize));
  if (at == 0) return 0;
  if (m_cookieBytes.notNull()) {
    bdBytePacker::appendBuffer(buffer, size, at, at, m_cookieBytes->getData(), cookieSize);
    return at;
  }
  const unsigned int written = m_cookie.serialize(buffer + at, size - at);
  return written == 0 ? 0 : at + written;
}

bool bdCookieEchoChunk::deserialize(const unsigned char* data, unsigned int size,
                                    unsigned int& used) {
  used = 0;
  std::uint16_t length = 0;
  if (!deserializeHeader(data, size, length)) return false;
  unsigned int cookieUsed = 0;
  if (length > size - HEADER_SIZE ||
      !m_cookie.deserialize(data + HEADER_SIZE, length, cookieUsed) || cookieUsed != length) {
    bdLogWarn("bdConnection/packet", "Invalid cookie echo.");
    return false;
  }
  used = HEADER_SIZE + length;
  return true;
}
