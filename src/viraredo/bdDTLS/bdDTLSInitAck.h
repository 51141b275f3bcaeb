#pragma once
// INIT-ACK: the responder's stateless cookie. The tags and the initiator's
// address are signed with the responder's secret, so the responder keeps no
// record of the INIT and later trusts only what it signed itself.
#include "bdDTLS/bdDTLSHeader.h"
#include "bdSocket/bdAddr.h"

class bdHMacSHA1;

class bdDTLSInitAck : public bdDTLSHeader {
 public:
  static constexpr unsigned int SIGNATURE_SIZE = 4;

  bdDTLSInitAck();
  bdDTLSInitAck(std::uint16_t vtag, std::uint32_t timestamp, std::uint16_t initTag,
                std::uint16_t localTag, std::uint16_t peerTag, std::uint16_t localTieTag,
                std::uint16_t peerTieTag, const bdAddr& peerAddr);

  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const override;
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset) override;

  void sign(bdHMacSHA1& hmac);
  bool verify(bdHMacSHA1& hmac) const;

  std::uint32_t getTimestamp() const { return m_timestamp; }
  std::uint16_t getInitTag() const { return m_initTag; }
  std::uint16_t getLocalTag() const { return m_localTag; }
  std::uint16_t getPeerTag() const { return m_peerTag; }
  std::uint16_t getLocalTieTag() const { return m_localTieTag; }
  std::uint16_t getPeerTieTag() const { return m_peerTieTag; }
  const bdAddr& getPeerAddr() const { return m_peerAddr; }

 private:
  bool computeSignature(bdHMacSHA1& hmac, unsigned char (&out)[SIGNATURE_SIZE]) const;

  std::uint32_t m_timestamp;
  unsigned char m_signature[SIGNATURE_SIZE];
  std::uint16_t m_initTag;
  std::uint16_t m_localTag;
  std::uint16_t m_peerTag;
  std::uint16_t m_localTieTag;
  std::uint16_t m_peerTieTag;
  bdAddr m_peerAddr;
};
