#pragma once
// COOKIE-ACK: the responder's public key, closing the handshake.
#include "bdDTLS/bdDTLSHeader.h"

class bdDTLSCookieAck : public bdDTLSHeader {
 public:
  static constexpr unsigned int KEY_SIZE = 100;

  bdDTLSCookieAck();
  bdDTLSCookieAck(std::uint16_t vtag, const unsigned char* key);

  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const override;
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset) override;
  const unsigned char* getECCKey() const { return m_ECCKey; }

 private:
  unsigned char m_ECCKey[KEY_SIZE];
};
