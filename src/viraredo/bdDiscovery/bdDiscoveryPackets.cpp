#include "bdDiscovery/bdDiscoveryPackets.h"

#include "bdCore/bdUtilities/bdBytePacker.h"

namespace {
constexpr std::uint16_t kVersion = 2;

// Reads the type and version of a reply; true with the version (1 or 2) and
// the offset just past the header.
bool readHeader(const unsigned char* buffer, unsigned int size, unsigned int offset,
                unsigned int& at, std::uint8_t& type, std::uint16_t& version) {
  at = offset;
  if (!bdBytePacker::removeBasicType(buffer, size, at, at, type)) return false;
  if (!bdBytePacker::removeBasicType(buffer, size, at, at, version)) return false;
  if (version == 2) return true;
  // The padded layout: step back over what was read as the version, skip the pad.
  if (!bdBytePacker::rewindBytes(size, at, at, 2) || !bdBytePacker::skipBytes(size, at, at, 1) ||
      !bdBytePacker::removeBasicType(buffer, size, at, at, version))
    return false;
  return version == 1;
}

bool readAddr(const unsigned char* buffer, unsigned int size, unsigned int& at,
              std::uint16_t version, bdAddr& addr) {
  if (!addr.deserialize(buffer, size, at, at)) return false;
  return version == 2 || bdBytePacker::skipBytes(size, at, at, 2);
}
}  // namespace

std::uint8_t bdNATTypeDiscoveryPacket::flagsForTest(unsigned int test) {
  return test == 2 ? 3 : test == 3 ? 2 : 0;
}

bool bdNATTypeDiscoveryPacket::serialize(unsigned char* buffer, unsigned int size,
                                         unsigned int offset, unsigned int& newOffset) const {
  unsigned int at = offset;
  const bool ok = bdBytePacker::appendBasicType(buffer, size, at, at, TYPE) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, kVersion) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, m_testFlags);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdNATTypeDiscoveryPacketReply::deserialize(const unsigned char* buffer, unsigned int size,
                                                unsigned int offset, unsigned int& newOffset) {
  newOffset = offset;
  unsigned int at = offset;
  std::uint8_t type = 0;
  std::uint16_t version = 0;
  bdAddr mapped, secondary;
  if (!readHeader(buffer, size, offset, at, type, version) ||
      !readAddr(buffer, size, at, version, mapped) ||
      !readAddr(buffer, size, at, version, secondary))
    return false;
  m_type = type;
  m_mapped = mapped;
  m_secondary = secondary;
  newOffset = at;
  return true;
}

bool bdIPDiscoveryPacket::serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                                    unsigned int& newOffset) const {
  unsigned int at = offset;
  const bool ok = bdBytePacker::appendBasicType(buffer, size, at, at, TYPE) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, kVersion);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdIPDiscoveryPacketReply::deserialize(const unsigned char* buffer, unsigned int size,
                                           unsigned int offset, unsigned int& newOffset) {
  newOffset = offset;
  unsigned int at = offset;
  std::uint8_t type = 0;
  std::uint16_t version = 0;
  bdAddr publicAddr;
  if (!readHeader(buffer, size, offset, at, type, version) ||
      !readAddr(buffer, size, at, version, publicAddr))
    return false;
  m_public = publicAddr;
  newOffset = at;
  return true;
}
