#pragma once
// SACK: what a receiver holds: the last sequence number received in order,
// its free window and the runs received beyond holes, as offsets from it.
#include "bdCore/bdContainers/bdLinkedList.h"
#include "bdPacket/bdChunk.h"

class bdSAckChunk : public bdChunk {
 public:
  struct bdGapAckBlock {
    std::uint16_t m_start;
    std::uint16_t m_end;
  };
  static constexpr unsigned int BASE_SIZE = 15;
  static constexpr unsigned int BLOCK_SIZE = 4;

  bdSAckChunk();
  bdSAckChunk(std::uint16_t cumulativeAck, std::uint32_t credit, std::uint8_t flags = 0);

  unsigned int serialize(unsigned char* buffer, unsigned int size) const override;
  bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used) override;
  unsigned int getSerializedSize() const override;

  void addGapBlock(std::uint16_t start, std::uint16_t end);
  std::uint16_t getCumulativeAck() const { return m_cumulativeAck; }
  std::uint32_t getCredit() const { return m_credit; }
  void setCredit(std::uint32_t credit) { m_credit = credit; }
  const bdLinkedList<bdGapAckBlock>& getGapBlocks() const { return m_gapBlocks; }

 private:
  std::uint16_t m_cumulativeAck;
  std::uint32_t m_credit;
  bdLinkedList<bdGapAckBlock> m_gapBlocks;
};
