#include "bdNATTraversal/bdNATTraversalPacket.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

namespace {
const char* const kChannel = "bdSocket/nat";
}

bdNATTraversalPacket::bdNATTraversalPacket() : m_type(0), m_version(0), m_identifier(0) {
  std::memset(m_hmac, 0, sizeof m_hmac);
}

bdNATTraversalPacket::bdNATTraversalPacket(std::uint8_t type, unsigned int identifier,
                                           const bdAddr& first, const bdAddr& second)
    : m_type(type), m_version(VERSION), m_identifier(identifier), m_first(first), m_second(second) {
  std::memset(m_hmac, 0, sizeof m_hmac);
}

void bdNATTraversalPacket::setHMAC(const unsigned char* hmac, const unsigned int length) {
  if (length != HMAC_SIZE || hmac == nullptr) {
    bdLogError(kChannel, "Trying to set HMAC of invalid length.");
    return;
  }
  std::memcpy(m_hmac, hmac, HMAC_SIZE);
}

unsigned int bdNATTraversalPacket::getSize() {
  static const unsigned int size = [] {
    unsigned int end = 0;
    if (!bdNATTraversalPacket().serialize(nullptr, 65535, 0, end))
      bdLogError(kChannel, "Size estimate failed.");
    return end;
  }();
  return size;
}

bool bdNATTraversalPacket::serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                                     unsigned int& newOffset) const {
  unsigned int at = offset;
  const bool ok = bdBytePacker::appendBasicType(buffer, size, at, at, m_type) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, m_version) &&
                  bdBytePacker::appendBuffer(buffer, size, at, at, m_hmac, HMAC_SIZE) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, m_identifier) &&
                  m_first.serialize(buffer, size, at, at) &&
                  m_second.serialize(buffer, size, at, at);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdNATTraversalPacket::deserialize(const unsigned char* buffer, unsigned int size,
                                       unsigned int offset, unsigned int& newOffset) {
  newOffset = offset;
  unsigned int at = offset;
  bdNATTraversalPacket read;
  if (!(bdBytePacker::removeBasicType(buffer, size, at, at, read.m_type) &&
        bdBytePacker::removeBasicType(buffer, size, at, at, read.m_version) &&
        read.m_version >= VERSION &&
        bdBytePacker::removeBuffer(buffer, size, at, at, read.m_hmac, HMAC_SIZE) &&
        bdBytePacker::removeBasicType(buffer, size, at, at, read.m_identifier) &&
        read.m_first.deserialize(buffer, size, at, at) &&
        read.m_second.deserialize(buffer, size, at, at)))
    return false;
  *this = read;
  newOffset = at;
  return true;
}
