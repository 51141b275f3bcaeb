#pragma once
// INIT: the initiator's first packet, carrying the tag it will answer to.
#include "bdDTLS/bdDTLSHeader.h"

class bdDTLSInit : public bdDTLSHeader {
 public:
  bdDTLSInit() : bdDTLSHeader(BD_DTLS_INIT, 0, 0), m_initTag(0) {}
  explicit bdDTLSInit(std::uint16_t initTag)
      : bdDTLSHeader(BD_DTLS_INIT, 0, 0), m_initTag(initTag) {}

  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const override;
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset) override;
  std::uint16_t getInitTag() const { return m_initTag; }

 private:
  std::uint16_t m_initTag;
};
