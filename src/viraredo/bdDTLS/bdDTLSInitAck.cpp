#include "bdDTLS/bdDTLSInitAck.h"

#include <cstring>

#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

bdDTLSInitAck::bdDTLSInitAck()
    : bdDTLSHeader(BD_DTLS_INIT_ACK, 0, 0),
      m_timestamp(0),
      m_signature(),
      m_initTag(0),
      m_localTag(0),
      m_peerTag(0),
      m_localTieTag(0),
      m_peerTieTag(0),
      m_peerAddr() {}

bdDTLSInitAck::bdDTLSInitAck(std::uint16_t vtag, std::uint32_t timestamp, std::uint16_t initTag,
                             std::uint16_t localTag, std::uint16_t peerTag,
                             std::uint16_t localTieTag, std::uint16_t peerTieTag,
                             const bdAddr& peerAddr)
    : bdDTLSHeader(BD_DTLS_INIT_ACK, vtag, 0),
      m_timestamp(timestamp),
      m_signature(),
      m_initTag(initTag),
      m_localTag(localTag),
      m_peerTag(peerTag),
      m_localTieTag(localTieTag),
      m_peerTieTag(peerTieTag),
      m_peerAddr(peerAddr) {}

bool bdDTLSInitAck::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                              unsigned int& newOffset) const {
  unsigned char* out = static_cast<unsigned char*>(buffer);
  unsigned int at = offset;
  const bool ok =
      bdDTLSHeader::serialize(buffer, bufferSize, at, at) &&
      bdBytePacker::appendBasicType(out, bufferSize, at, at, m_timestamp) &&
      bdBytePacker::appendBuffer(out, bufferSize, at, at, m_signature, SIGNATURE_SIZE) &&
      bdBytePacker::appendBasicType(out, bufferSize, at, at, m_initTag) &&
      bdBytePacker::appendBasicType(out, bufferSize, at, at, m_localTag) &&
      bdBytePacker::appendBasicType(out, bufferSize, at, at, m_peerTag) &&
      bdBytePacker::appendBasicType(out, bufferSize, at, at, m_localTieTag) &&
      bdBytePacker::appendBasicType(out, bufferSize, at, at, m_peerTieTag) &&
      m_peerAddr.serialize(out, bufferSize, at, at);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSInitAck::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                                unsigned int& newOffset) {
  const unsigned char* in = static_cast<const unsigned char*>(buffer);
  unsigned int at = offset;
  const bool ok = bdDTLSHeader::deserialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_timestamp) &&
                  bdBytePacker::removeBuffer(in, bufferSize, at, at, m_signature, SIGNATURE_SIZE) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_initTag) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_localTag) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_peerTag) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_localTieTag) &&
                  bdBytePacker::removeBasicType(in, bufferSize, at, at, m_peerTieTag) &&
                  m_peerAddr.deserialize(in, bufferSize, at, at);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSInitAck::computeSignature(bdHMacSHA1& hmac, unsigned char (&out)[SIGNATURE_SIZE]) const {
  unsigned char fields[14];
  unsigned int at = 0;
  bdBytePacker::appendBasicType(fields, sizeof fields, at, at, m_timestamp);
  bdBytePacker::appendBasicType(fields, sizeof fields, at, at, m_initTag);
  bdBytePacker::appendBasicType(fields, sizeof fields, at, at, m_localTag);
  bdBytePacker::appendBasicType(fields, sizeof fields, at, at, m_peerTag);
  bdBytePacker::appendBasicType(fields, sizeof fields, at, at, m_localTieTag);
  bdBytePacker::appendBasicType(fields, sizeof fields, at, at, m_peerTieTag);
  unsigned char addr[8] = {};
  unsigned int addrEnd = 0;
  m_peerAddr.serialize(addr, sizeof addr, 0, addrEnd);
  unsigned int length = SIGNATURE_SIZE;
  if (!hmac.process(fields, at) || !hmac.process(addr, addrEnd) || !hmac.getData(out, length)) {
    return false;
  }
  if (length < SIGNATURE_SIZE) {
    bdAssertMsg("HMAC signature returned is smaller than the field.");
    return false;
  }
  return true;
}

void bdDTLSInitAck::sign(bdHMacSHA1& hmac) {
  std::memset(m_signature, 0, SIGNATURE_SIZE);
  unsigned char signature[SIGNATURE_SIZE] = {};
  if (computeSignature(hmac, signature)) std::memcpy(m_signature, signature, SIGNATURE_SIZE);
}

bool bdDTLSInitAck::verify(bdHMacSHA1& hmac) const {
  unsigned char signature[SIGNATURE_SIZE] = {};
  return computeSignature(hmac, signature) &&
         std::memcmp(signature, m_signature, SIGNATURE_SIZE) == 0;
}
