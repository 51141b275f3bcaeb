#pragma once
// Keeps unreliable DATA chunks newer than the newest seen, in arrival order.
#include "bdCore/bdContainers/bdQueue.h"
#include "bdCore/bdContainers/bdSequenceNumber.h"
#include "bdPacket/bdDataChunk.h"

class bdUnreliableReceiveWindow {
 public:
  bdUnreliableReceiveWindow() : m_last(-1) {}
  // Always true: an old chunk is dropped quietly.
  bool add(bdReference<bdDataChunk> chunk);
  bdReference<bdDataChunk> getNextToRead();
  void reset();

 private:
  bdSequenceNumber m_last;
  bdQueue<bdReference<bdDataChunk>> m_queue;
};
