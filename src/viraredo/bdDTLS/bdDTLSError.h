#pragma once
// ERROR: tells the peer why its handshake was refused.
#include "bdDTLS/bdDTLSHeader.h"

enum bdDTLSErrorType : std::uint32_t {
  BD_DTLS_ERROR_BAD_SECURITY_ID = 0,
};

class bdDTLSError : public bdDTLSHeader {
 public:
  bdDTLSError() : bdDTLSHeader(BD_DTLS_ERROR, 0, 0), m_etype(1) {}
  bdDTLSError(std::uint16_t vtag, std::uint32_t type)
      : bdDTLSHeader(BD_DTLS_ERROR, vtag, 0), m_etype(type) {}

  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const override;
  // A failed read leaves the type 255.
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset) override;
  std::uint32_t getType() const { return m_etype; }

 private:
  std::uint32_t m_etype;
};
