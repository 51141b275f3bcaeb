#pragma once
// INIT: opens a connection, carrying the tag the initiator answers to.
#include "bdPacket/bdChunk.h"

class bdInitChunk : public bdChunk {
 public:
  static constexpr unsigned int WRITE_ROOM = 29;

  bdInitChunk() : bdChunk(BD_CT_INIT, 0), m_initTag(0) {}
  bdInitChunk(std::uint32_t initTag, std::uint8_t flags = 0)
      : bdChunk(BD_CT_INIT, flags), m_initTag(initTag) {}

  unsigned int serialize(unsigned char* buffer, unsigned int size) const override;
  bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used) override;
  unsigned int getSerializedSize() const override { return 8; }
  std::uint32_t getInitTag() const { return m_initTag; }

 private:
  std::uint32_t m_initTag;
};
