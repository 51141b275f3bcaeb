#pragma once
// INIT-ACK: the responder's tag and its signed cookie. The initiator keeps
// the cookie's bytes as they came, to echo them back.
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdPacket/bdChunk.h"
#include "bdPacket/bdCookie.h"

class bdInitAckChunk : public bdChunk {
 public:
  bdInitAckChunk() : bdChunk(BD_CT_INIT_ACK, 0), m_initTag(0), m_cookie(), m_cookieBytes() {}
  bdInitAckChunk(std::uint32_t initTag, const bdCookie& cookie, std::uint8_t flags = 0)
      : bdChunk(BD_CT_INIT_ACK, flags), m_initTag(initTag), m_cookie(cookie), m_cookieBytes() {}

  unsigned int serialize(unsigned char* buffer, unsigned int size) const override;
  bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used) override;
  unsigned int getSerializedSize() const override;
  std::uint32_t getInitTag() const { return m_initTag; }
  // The cookie as received; null on the sending side.
  bdReference<bdByteBuffer> getCookieBytes() const { return m_cookieBytes; }

 private:
  std::uint32_t m_initTag;
  bdCookie m_cookie;
  bdReference<bdByteBuffer> m_cookieBytes;
};
