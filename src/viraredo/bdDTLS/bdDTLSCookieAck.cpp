#include "bdDTLS/bdDTLSCookieAck.h"

#include <cstring>

#include "bdCore/bdUtilities/bdBytePacker.h"

bdDTLSCookieAck::bdDTLSCookieAck() : bdDTLSHeader(BD_DTLS_COOKIE_ACK, 0, 0), m_ECCKey() {}

bdDTLSCookieAck::bdDTLSCookieAck(std::uint16_t vtag, const unsigned char* key)
    : bdDTLSHeader(BD_DTLS_COOKIE_ACK, vtag, 0), m_ECCKey() {
  std::memcpy(m_ECCKey, key, KEY_SIZE);
}

bool bdDTLSCookieAck::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                                unsigned int& newOffset) const {
  unsigned int at = offset;
  const bool ok = bdDTLSHeader::serialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::appendBuffer(static_cast<unsigned char*>(buffer), bufferSize, at,
                                             at, m_ECCKey, KEY_SIZE);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSCookieAck::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                                  unsigned int& newOffset) {
  unsigned int at = offset;
  const bool ok = bdDTLSHeader::deserialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::removeBuffer(static_cast<const unsigned char*>(buffer), bufferSize,
                                             at, at, m_ECCKey, KEY_SIZE);
  newOffset = ok ? at : offset;
  return ok;
}
