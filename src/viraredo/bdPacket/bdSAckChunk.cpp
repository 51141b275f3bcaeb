#include "bdPacket/bdSAckChunk.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

bdSAckChunk::bdSAckChunk() : bdChunk(BD_CT_SACK, 0), m_cumulativeAck(0), m_credit(0) {}

bdSAckChunk::bdSAckChunk(std::uint16_t cumulativeAck, std::uint32_t credit, std::uint8_t flags)
    : bdChunk(BD_CT_SACK, flags), m_cumulativeAck(cumulativeAck), m_credit(credit) {}

void bdSAckChunk::addGapBlock(std::uint16_t start, std::uint16_t end) {
  m_gapBlocks.addTail(bdGapAckBlock{start, end});
}

unsigned int bdSAckChunk::getSerializedSize() const {
  return BASE_SIZE + BLOCK_SIZE * m_gapBlocks.getCount();
}

unsigned int bdSAckChunk::serialize(unsigned char* buffer, unsigned int size) const {
  const unsigned int total = getSerializedSize();
  if (m_gapBlocks.getCount() > 0xFFFF || size < total) return 0;
  unsigned int at = serializeHeader(buffer, size, 0);
  if (at == 0) return 0;
  bdBytePacker::appendBasicType(buffer, size, at, at, std::uint8_t{0});
  bdBytePacker::appendBasicType(buffer, size, at, at, m_cumulativeAck);
  bdBytePacker::appendBasicType(buffer, size, at, at, m_credit);
  bdBytePacker::appendBasicType(buffer, size, at, at,
                                static_cast<std::uint16_t>(m_gapBlocks.getCount()));
  bdBytePacker::appendBasicType(buffer, size, at, at, std::uint16_t{0});
  for (auto* n = m_gapBlocks.isEmpty() ? nullptr : m_gapBlocks.getHead(); n != nullptr;
       n = n->m_next) {
    bdBytePacker::appendBasicType(buffer, size, at, at, n->m_value.m_start);
    bdBytePacker::appendBasicType(buffer, size, at, at, n->m_value.m_end);
  }
  return at;
}

bool bdSAckChunk::deserialize(const unsigned char* data, unsigned int size, unsigned int& used) {
  used = 0;
  std::uint16_t length = 0;
  if (size < BASE_SIZE || !deserializeHeader(data, size, length)) return false;
  unsigned int at = HEADER_SIZE + 1;
  std::uint16_t count = 0;
  bdBytePacker::removeBasicType(data, size, at, at, m_cumulativeAck);
  bdBytePacker::removeBasicType(data, size, at, at, m_credit);
  bdBytePacker::removeBasicType(data, size, at, at, count);
  at += 2;
  // The block count comes from the wire: all its blocks must be there.
  if (count > (size - at) / BLOCK_SIZE) return false;
  m_gapBlocks.clear();
  for (unsigned int i = 0; i < count; ++i) {
    bdGapAckBlock block{0, 0};
    bdBytePacker::removeBasicType(data, size, at, at, block.m_start);
    bdBytePacker::removeBasicType(data, size, at, at, block.m_end);
    bdLogInfo("bdConnection/chunks", "gap ack: %hu-%hu", block.m_start, block.m_end);
    m_gapBlocks.addTail(block);
  }
  used = at;
  return true;
}
