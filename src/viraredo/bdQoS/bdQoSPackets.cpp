#include "bdQoS/bdQoSPackets.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

namespace {
const char* const kChannel = "bdSocket/qos";
}

bool bdQoSRequestPacket::serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                                   unsigned int& newOffset) const {
  unsigned int at = offset;
  const bool ok = bdBytePacker::appendBasicType(buffer, size, at, at, m_type) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, m_timestamp) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, m_id) &&
                  bdBytePacker::appendBasicType(buffer, size, at, at, m_securityIdPrefix);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdQoSRequestPacket::deserialize(const unsigned char* buffer, unsigned int size,
                                     unsigned int offset, unsigned int& newOffset) {
  unsigned int at = offset;
  const bool ok = bdBytePacker::removeBasicType(buffer, size, at, at, m_type) &&
                  bdBytePacker::removeBasicType(buffer, size, at, at, m_timestamp) &&
                  bdBytePacker::removeBasicType(buffer, size, at, at, m_id) &&
                  bdBytePacker::removeBasicType(buffer, size, at, at, m_securityIdPrefix);
  newOffset = ok ? at : offset;
  return ok;
}

bdQoSReplyPacket::bdQoSReplyPacket()
    : m_type(TYPE), m_id(0), m_timestamp(0), m_enabled(1), m_dataSize(0), m_data(nullptr) {}

bdQoSReplyPacket::~bdQoSReplyPacket() { clearData(); }

unsigned int bdQoSReplyPacket::getHeaderSize() {
  static const unsigned int headerSize = [] {
    bdQoSReplyPacket empty;
    unsigned int size = 0;
    if (!empty.serialize(nullptr, 65535, 0, size)) bdLogError(kChannel, "Size measurement failed.");
    return size;
  }();
  return headerSize;
}

void bdQoSReplyPacket::clearData() {
  if (m_data != nullptr) bdMemory::deallocate(m_data);
  m_data = nullptr;
  m_dataSize = 0;
}

bool bdQoSReplyPacket::setData(const unsigned char* data, unsigned int size) {
  if (size > getMaxDataSize()) {
    bdLogWarn(kChannel, "Attempted to set more data then available.");
    return false;
  }
  clearData();
  if (size == 0) return true;
  if (data == nullptr) return false;
  m_data = static_cast<unsigned char*>(bdMemory::allocate(size));
  if (m_data == nullptr) {
    bdLogWarn(kChannel, "Failed to allocate data buffer.");
    return false;
  }
  std::memcpy(m_data, data, size);
  m_dataSize = size;
  return true;
}

bool bdQoSReplyPacket::serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                                 unsigned int& newOffset) const {
  unsigned int at = offset;
  bool ok = bdBytePacker::appendBasicType(buffer, size, at, at, m_type) &&
            bdBytePacker::appendBasicType(buffer, size, at, at, m_id) &&
            bdBytePacker::appendBasicType(buffer, size, at, at, m_timestamp) &&
            bdBytePacker::appendBasicType(buffer, size, at, at, m_enabled) &&
            bdBytePacker::appendBasicType(buffer, size, at, at, m_dataSize);
  if (ok && m_dataSize > 0)
    ok = bdBytePacker::appendBuffer(buffer, size, at, at, m_data, m_dataSize);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdQoSReplyPacket::deserialize(const unsigned char* buffer, unsigned int size,
                                   unsigned int offset, unsigned int& newOffset) {
  newOffset = offset;
  unsigned int at = offset;
  std::uint8_t type = 0;
  std::uint32_t id = 0;
  std::uint64_t timestamp = 0;
  std::uint8_t enabled = 0;
  std::uint32_t dataSize = 0;
  if (!(bdBytePacker::removeBasicType(buffer, size, at, at, type) &&
        bdBytePacker::removeBasicType(buffer, size, at, at, id) &&
        bdBytePacker::removeBasicType(buffer, size, at, at, timestamp) &&
        bdBytePacker::removeBasicType(buffer, size, at, at, enabled) &&
        bdBytePacker::removeBasicType(buffer, size, at, at, dataSize)))
    return false;
  if (dataSize != size - at) {
    bdLogWarn(kChannel, "Received a packet with invalid dataSize!");
    return false;
  }
  // Checked against what is left above, so the copy stays inside the datagram.
  if (!setData(buffer + at, dataSize)) return false;
  m_type = type;
  m_id = id;
  m_timestamp = timestamp;
  m_enabled = enabled;
  newOffset = size;
  return true;
}
