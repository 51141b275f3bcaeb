#pragma once
// Holds reliable DATA chunks until they can be read in order, and keeps the
// SACK that tells the sender what arrived.
#include <cstdint>

#include "bdCore/bdContainers/bdSequenceNumber.h"
#include "bdPacket/bdDataChunk.h"
#include "bdPacket/bdSAckChunk.h"

class bdPacket;

class bdReliableReceiveWindow {
 public:
  static constexpr unsigned int SLOTS = 128;
  static constexpr unsigned int CREDIT = 1500;

  bdReliableReceiveWindow();

  // False when the chunk is refused (no credit, beyond the window); the
  // sender resends it. A duplicate is accepted and kept once.
  bool add(bdReference<bdDataChunk> chunk);
  bdReference<bdDataChunk> getNextToRead();
  void getDataToSend(bdPacket& packet);
  bool hasAckToSend() const { return m_sack.notNull(); }

 private:
  bdReference<bdDataChunk>& slot(int seq) {
    return m_slots[static_cast<unsigned int>(seq) % SLOTS];
  }
  bool holds(int seq);
  void rebuildAck();

  bdSequenceNumber m_highest;
  bdSequenceNumber m_cumulative;
  bdSequenceNumber m_lastRead;
  bdReference<bdDataChunk> m_slots[SLOTS];
  unsigned int m_credit;
  unsigned int m_held;
  bdReference<bdSAckChunk> m_sack;
};
