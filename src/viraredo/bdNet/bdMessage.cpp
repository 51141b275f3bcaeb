#include "bdNet/bdMessage.h"

#include <cstring>

bdMessage::bdMessage(const unsigned char type, const bool typed)
    : m_type(type), m_payload(), m_typed(typed), m_rawPayload() {}

bdMessage::bdMessage(const unsigned char type, const unsigned char* data, const unsigned int size,
                     const bool withHeader, const unsigned char* raw, const unsigned int rawSize)
    : m_type(type), m_payload(), m_typed(false), m_rawPayload() {
  if (data != nullptr && size > 0) {
    m_payload = new bdBitBuffer(data, size * 8, withHeader);
    if (m_payload.notNull()) m_typed = m_payload->isTyped();
  }
  if (raw != nullptr && rawSize > 0) {
    m_rawPayload = new bdByteBuffer(rawSize);
    if (m_rawPayload.notNull()) m_rawPayload->write(raw, rawSize);
  }
}

bdMessage::~bdMessage() {
  m_rawPayload = nullptr;
  m_payload = nullptr;
}

bdReference<bdBitBuffer> bdMessage::getPayload() {
  if (m_payload.isNull()) m_payload = new bdBitBuffer(0, m_typed);
  return m_payload;
}

void bdMessage::setRawPayload(unsigned int size) { m_rawPayload = new bdByteBuffer(size); }

unsigned int bdMessage::getSize() const {
  unsigned int size = m_payload.notNull() ? m_payload->getDataSize() : 0;
  if (m_rawPayload.notNull()) size += m_rawPayload->getSize();
  return size;
}
