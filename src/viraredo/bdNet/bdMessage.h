#pragma once
// One message on a connection: a type byte, a bit-buffer payload made on
// first use, and optional raw bytes that travel beside it.
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"

class bdMessage : public bdReferencable {
 public:
  bdMessage(const unsigned char type, const bool typed);
  // A received message over data bytes (with the bit buffer's header bit).
  bdMessage(const unsigned char type, const unsigned char* data, const unsigned int size,
            const bool withHeader, const unsigned char* raw = nullptr,
            const unsigned int rawSize = 0);
  ~bdMessage() override;

  unsigned char getType() const { return m_type; }
  bdReference<bdBitBuffer> getPayload();
  bool hasPayload() const { return m_payload.notNull(); }
  bdReference<bdByteBuffer> getRawPayload() const { return m_rawPayload; }
  bool hasRawPayload() const { return m_rawPayload.notNull(); }
  void setRawPayload(unsigned int size);
  // Payload bytes plus raw bytes.
  unsigned int getSize() const;

 private:
  unsigned char m_type;
  bdReference<bdBitBuffer> m_payload;
  bool m_typed;
  bdReference<bdByteBuffer> m_rawPayload;
};
