#include "bdDTLS/bdDTLSCookieEcho.h"

#include <cstring>

#include "bdCore/bdUtilities/bdBytePacker.h"

bdDTLSCookieEcho::bdDTLSCookieEcho()
    : bdDTLSHeader(BD_DTLS_COOKIE_ECHO, 0, 0), m_initAck(), m_ca(), m_secID(), m_ECCKey() {}

bdDTLSCookieEcho::bdDTLSCookieEcho(std::uint16_t vtag, const bdDTLSInitAck& initAck,
                                   const unsigned char* ca, const bdSecurityID& secID,
                                   const unsigned char* key)
    : bdDTLSHeader(BD_DTLS_COOKIE_ECHO, vtag, 0), m_initAck(initAck), m_secID(secID) {
  std::memcpy(m_ca, ca, CA_SIZE);
  std::memcpy(m_ECCKey, key, KEY_SIZE);
}

bool bdDTLSCookieEcho::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                                 unsigned int& newOffset) const {
  unsigned char* out = static_cast<unsigned char*>(buffer);
  unsigned int at = offset;
  const bool ok =
      bdDTLSHeader::serialize(buffer, bufferSize, at, at) &&
      m_initAck.serialize(buffer, bufferSize, at, at) &&
      bdBytePacker::appendBuffer(out, bufferSize, at, at, m_ca, CA_SIZE) &&
      bdBytePacker::appendBuffer(out, bufferSize, at, at, m_secID.ab, bdSecurityID::SIZE) &&
      bdBytePacker::appendBuffer(out, bufferSize, at, at, m_ECCKey, KEY_SIZE);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSCookieEcho::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                                   unsigned int& newOffset) {
  const unsigned char* in = static_cast<const unsigned char*>(buffer);
  unsigned int at = offset;
  const bool ok =
      bdDTLSHeader::deserialize(buffer, bufferSize, at, at) &&
      m_initAck.deserialize(buffer, bufferSize, at, at) &&
      bdBytePacker::removeBuffer(in, bufferSize, at, at, m_ca, CA_SIZE) &&
      bdBytePacker::removeBuffer(in, bufferSize, at, at, m_secID.ab, bdSecurityID::SIZE) &&
      bdBytePacker::removeBuffer(in, bufferSize, at, at, m_ECCKey, KEY_SIZE);
  newOffset = ok ? at : offset;
  return ok;
}
