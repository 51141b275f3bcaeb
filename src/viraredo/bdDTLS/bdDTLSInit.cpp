#include "bdDTLS/bdDTLSInit.h"

#include "bdCore/bdUtilities/bdBytePacker.h"

bool bdDTLSInit::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                           unsigned int& newOffset) const {
  unsigned int at = offset;
  const bool ok = bdDTLSHeader::serialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::appendBasicType(static_cast<unsigned char*>(buffer), bufferSize, at,
                                                at, m_initTag);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSInit::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                             unsigned int& newOffset) {
  unsigned int at = offset;
  const bool ok = bdDTLSHeader::deserialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::removeBasicType(static_cast<const unsigned char*>(buffer),
                                                bufferSize, at, at, m_initTag);
  newOffset = ok ? at : offset;
  return ok;
}
