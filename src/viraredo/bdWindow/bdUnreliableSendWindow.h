#pragma once
// Numbers unreliable DATA chunks as they go; nothing is kept once sent.
#include <cstdint>

#include "bdCore/bdContainers/bdQueue.h"
#include "bdPacket/bdDataChunk.h"

class bdPacket;

class bdUnreliableSendWindow {
 public:
  bdUnreliableSendWindow() : m_next(0) {}
  bool add(bdReference<bdDataChunk> chunk) { return chunk.notNull() && m_queue.enqueue(chunk); }
  void getDataToSend(bdPacket& packet);
  void reset();

 private:
  std::uint16_t m_next;
  bdQueue<bdReference<bdDataChunk>> m_queue;
};
