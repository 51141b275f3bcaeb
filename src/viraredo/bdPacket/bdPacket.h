#pragma once
// A connection packet: the receiver's tag and a list of chunks. On the wire:
// u16 L, the section of L bytes (tag, then each chunk after the length U of
// its unencrypted part), then the tail of those unencrypted parts. The
// secured association encrypts the section and leaves the tail clear.
#include <cstdint>

#include "bdCore/bdContainers/bdLinkedList.h"
#include "bdPacket/bdChunk.h"

class bdPacket {
 public:
  static constexpr unsigned int HEADER_SIZE = 6;
  static constexpr unsigned int MAX_TAIL = 1304;
  static constexpr unsigned int MAX_CHUNKS = 100;

  bdPacket();
  bdPacket(std::uint32_t vtag, unsigned int maxSize);
  bdPacket(const bdPacket&) = delete;
  bdPacket& operator=(const bdPacket&) = delete;

  // False, keeping nothing, when the chunk would not fit.
  bool addChunk(const bdReference<bdChunk>& chunk);
  bool isEmpty() const { return m_chunks.isEmpty(); }
  unsigned int getChunkCount() const { return m_chunks.getCount(); }
  bool getNextChunk(bdReference<bdChunk>& chunk);
  // The buffer must be the packet's maximum size; the chunks leave the packet.
  unsigned int serialize(unsigned char* buffer, unsigned int size);
  bool deserialize(const unsigned char* data, unsigned int size);
  std::uint32_t getVerificationTag() const { return m_vtag; }

  static bool appendEncodedInt(unsigned char* buffer, unsigned int size, unsigned int& offset,
                               unsigned short value);

 private:
  std::uint32_t m_vtag;
  bdLinkedList<bdReference<bdChunk>> m_chunks;
  unsigned int m_maxSize;
  unsigned int m_accounted;
};
