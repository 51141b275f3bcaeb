#pragma once
// COOKIE-ECHO: the initiator returns the responder's signed INIT-ACK with
// its own common address, the security id it knows the responder by and its
// public key.
#include "bdDTLS/bdDTLSInitAck.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

class bdDTLSCookieEcho : public bdDTLSHeader {
 public:
  static constexpr unsigned int CA_SIZE = 25;
  static constexpr unsigned int KEY_SIZE = 100;

  bdDTLSCookieEcho();
  bdDTLSCookieEcho(std::uint16_t vtag, const bdDTLSInitAck& initAck, const unsigned char* ca,
                   const bdSecurityID& secID, const unsigned char* key);

  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const override;
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset) override;

  const bdDTLSInitAck& getInitAck() const { return m_initAck; }
  const unsigned char* getCommonAddr() const { return m_ca; }
  const bdSecurityID& getSecID() const { return m_secID; }
  const unsigned char* getECCKey() const { return m_ECCKey; }

 private:
  bdDTLSInitAck m_initAck;
  unsigned char m_ca[CA_SIZE];
  bdSecurityID m_secID;
  unsigned char m_ECCKey[KEY_SIZE];
};
