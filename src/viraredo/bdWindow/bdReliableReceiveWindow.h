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
  // A credit of one packet let the sender put about one packet on the wire
  // per round trip. This lets the 128 slots fill with small messages while
  // the packets a sender may have in flight still fit a receiving socket's
  // default buffer: beyond it the system drops them.
  static constexpr unsigned int CREDIT = 64 * 1024;

  bdReliableReceiveWindow();

  // False when the chunk is refused (no credit, beyond the window); the
  // sender resends it. A duplicate is accepted and kept once.
  bool add(bdReference<bdDataChunk> chunk);
  bdReference<bdDataChunk> getNextToRead();
  void getDataToSend(bdPacket& packet);
  bool hasAckToSend() const { return m_ackDue && m_highest.isSet(); }

 private:
  bdReference<bdDataChunk>& slot(int seq) {
    return m_slots[static_cast<unsigned int>(seq) % SLOTS];
  }
  bool holds(int seq);
  void advanceCumulative();
  bdReference<bdSAckChunk> buildAck();

  bdSequenceNumber m_highest;
  bdSequenceNumber m_cumulative;
  bdSequenceNumber m_lastRead;
  bdReference<bdDataChunk> m_slots[SLOTS];
  unsigned int m_credit;
  unsigned int m_held;
  // The SACK is built when a packet can take it, not after every chunk: a
  // packet of many chunks costs one SACK, with the credit as it is then.
  bool m_ackDue;
};
