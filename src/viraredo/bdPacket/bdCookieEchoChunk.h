#pragma once
// COOKIE-ECHO: the initiator returns the cookie bytes it was given; the
// responder reads and checks its own cookie from them.
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdPacket/bdChunk.h"
#include "bdPacket/bdCookie.h"

class bdCookieEchoChunk : public bdChunk {
 public:
  static constexpr unsigned int ACCOUNTED_SIZE = 100;

  bdCookieEchoChunk() : bdChunk(BD_CT_COOKIE_ECHO, 0), m_cookie(), m_cookieBytes() {}
  explicit bdCookieEchoChunk(bdReference<bdByteBuffer> cookieBytes, std::uint8_t flags = 0)
      : bdChunk(BD_CT_COOKIE_ECHO, flags), m_cookie(), m_cookieBytes(cookieBytes) {}

  unsigned int serialize(unsigned char* buffer, unsigned int size) const override;
  bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used) override;
  unsigned int getSerializedSize() const override { return ACCOUNTED_SIZE; }
  const bdCookie& getCookie() const { return m_cookie; }

 private:
  bdCookie m_cookie;
  bdReference<bdByteBuffer> m_cookieBytes;
};
