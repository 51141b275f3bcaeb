#include "bdPacket/bdDataChunk.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

bdDataChunk::bdDataChunk() : bdChunk(BD_CT_DATA, 0), m_message(), m_seqNum(0) {}

bdDataChunk::bdDataChunk(bdReference<bdMessage> message, std::uint8_t flags)
    : bdChunk(BD_CT_DATA, flags), m_message(message), m_seqNum(0) {}

unsigned int bdDataChunk::payloadSize() const {
  if (m_message.isNull() || !m_message->hasPayload()) return 0;
  return m_message->getPayload()->getDataSize();
}

const unsigned char* bdDataChunk::getUnencrypted() const {
  if (m_message.isNull() || !m_message->hasRawPayload()) return nullptr;
  return m_message->getRawPayload()->getData();
}

unsigned int bdDataChunk::getUnencryptedSize() const {
  if (m_message.isNull() || !m_message->hasRawPayload()) return 0;
  return m_message->getRawPayload()->getSize();
}

unsigned int bdDataChunk::getSerializedSize() const {
  return 8 + payloadSize() + getUnencryptedSize();
}

unsigned int bdDataChunk::serialize(unsigned char* buffer, unsigned int size) const {
  const unsigned int length = payloadSize();
  if (length > 0xFFFF || HEADER_SIZE + 3 + length > size) {
    bdAssertMsg("oops..");
    return 0;
  }
  unsigned int at = serializeHeader(buffer, size, static_cast<std::uint16_t>(length));
  if (at == 0) return 0;
  const std::uint8_t type = m_message.notNull() ? m_message->getType() : 0;
  bdBytePacker::appendBasicType(buffer, size, at, at, type);
  bdBytePacker::appendBasicType(buffer, size, at, at, m_seqNum);
  if (length > 0) {
    bdBytePacker::appendBuffer(buffer, size, at, at, m_message->getPayload()->getData(), length);
  }
  return at;
}

bool bdDataChunk::deserialize(const unsigned char* data, unsigned int size, unsigned int& used) {
  return deserialize(data, size, used, nullptr, 0);
}

bool bdDataChunk::deserialize(const unsigned char* data, unsigned int size, unsigned int& used,
                              const unsigned char* unencrypted, unsigned int unencryptedSize) {
  used = 0;
  std::uint16_t length = 0;
  if (size < BODY_SIZE || !deserializeHeader(data, size, length)) return false;
  unsigned int at = HEADER_SIZE;
  std::uint8_t type = 0;
  bdBytePacker::removeBasicType(data, size, at, at, type);
  bdBytePacker::removeBasicType(data, size, at, at, m_seqNum);
  // The length comes from the wire: it must stay inside the chunk's bytes.
  if (length > size - at) return false;
  m_message = new bdMessage(type, data + at, length, true, unencrypted, unencryptedSize);
  used = at + length;
  return m_message.notNull();
}
