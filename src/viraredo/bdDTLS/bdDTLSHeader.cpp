#include "bdDTLS/bdDTLSHeader.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

bool bdDTLSHeader::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                             unsigned int& newOffset) const {
  unsigned char* out = static_cast<unsigned char*>(buffer);
  unsigned int at = offset;
  const bool ok = bdBytePacker::appendBasicType(out, bufferSize, at, at, m_type) &&
                  bdBytePacker::appendBasicType(out, bufferSize, at, at, m_version) &&
                  bdBytePacker::appendBasicType(out, bufferSize, at, at, m_vtag) &&
                  bdBytePacker::appendBasicType(out, bufferSize, at, at, m_seqNum);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSHeader::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                               unsigned int& newOffset) {
  const unsigned char* in = static_cast<const unsigned char*>(buffer);
  unsigned int at = offset;
  const bool ok = in != nullptr && bdBytePacker::removeBasicType(in, bufferSize, at, at, m_type) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_version) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_vtag) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_seqNum);
  newOffset = ok ? at : offset;
  return ok;
}

unsigned int bdDTLSHeader::getSerializedSize() {
  static unsigned int size = 0;
  if (size == 0) {
    unsigned int end = 0;
    if (!bdDTLSHeader().serialize(nullptr, MEASURE_SIZE, 0, end)) {
      bdAssertMsg("Size measurment failed.");
    }
    size = end;
  }
  return size;
}
