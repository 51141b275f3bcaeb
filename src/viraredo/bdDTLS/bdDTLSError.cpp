#include "bdDTLS/bdDTLSError.h"

#include "bdCore/bdUtilities/bdBytePacker.h"

bool bdDTLSError::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                            unsigned int& newOffset) const {
  unsigned int at = offset;
  const std::uint8_t type = static_cast<std::uint8_t>(m_etype);
  const bool ok =
      bdDTLSHeader::serialize(buffer, bufferSize, at, at) &&
      bdBytePacker::appendBasicType(static_cast<unsigned char*>(buffer), bufferSize, at, at, type);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSError::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                              unsigned int& newOffset) {
  unsigned int at = offset;
  std::uint8_t type = 0;
  const bool ok = bdDTLSHeader::deserialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::removeBasicType(static_cast<const unsigned char*>(buffer),
                                                bufferSize, at, at, type);
  m_etype = ok ? type : 255u;
  newOffset = ok ? at : offset;
  return ok;
}
