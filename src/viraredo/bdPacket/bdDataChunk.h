#pragma once
// DATA: one message, reliable or not (flag bit 0), numbered by its window.
// The message's raw part travels unencrypted in the packet's tail.
#include "bdNet/bdMessage.h"
#include "bdPacket/bdChunk.h"

class bdDataChunk : public bdChunk {
 public:
  enum : std::uint8_t { BD_DC_UNRELIABLE = 1 };
  static constexpr unsigned int BODY_SIZE = 7;

  bdDataChunk();
  bdDataChunk(bdReference<bdMessage> message, std::uint8_t flags);

  unsigned int serialize(unsigned char* buffer, unsigned int size) const override;
  bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used) override;
  unsigned int getSerializedSize() const override;
  bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used,
                   const unsigned char* unencrypted, unsigned int unencryptedSize);

  bdReference<bdMessage> getMessage() const { return m_message; }
  std::uint16_t getSequenceNumber() const { return m_seqNum; }
  void setSequenceNumber(std::uint16_t seq) { m_seqNum = seq; }
  bool isUnreliable() const { return (m_flags & BD_DC_UNRELIABLE) != 0; }
  // The message's bytes that travel in the packet's tail.
  const unsigned char* getUnencrypted() const;
  unsigned int getUnencryptedSize() const;

 private:
  unsigned int payloadSize() const;

  bdReference<bdMessage> m_message;
  std::uint16_t m_seqNum;
};
