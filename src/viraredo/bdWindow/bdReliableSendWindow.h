#pragma once
// Numbers reliable DATA chunks, sends them within the peer's credit and a
// congestion window, and resends them on a time-out or after three gap
// reports. At most 128 chunks are outstanding.
#include <cstdint>

#include "bdCore/bdContainers/bdSequenceNumber.h"
#include "bdCore/bdUtilities/bdTimer.h"
#include "bdPacket/bdDataChunk.h"
#include "bdPacket/bdSAckChunk.h"

class bdPacket;

class bdReliableSendWindow {
 public:
  static constexpr unsigned int SLOTS = 128;
  static constexpr unsigned int PACKET_SIZE = 1328;
  static constexpr unsigned int FAST_RETRANSMIT = 3;
  enum bdCongestionEvent { BD_CE_FAST_RETRANSMIT = 0, BD_CE_TIMEOUT = 1, BD_CE_IDLE = 2 };

  bdReliableSendWindow();

  bool add(bdReference<bdDataChunk> chunk);
  void getDataToSend(bdPacket& packet);
  // False for an acknowledgement that cannot be ours; nothing changes then.
  bool handleAck(bdReference<bdSAckChunk> sack, float& rtt);
  bool isAllAcked() const;
  float getRTO() const { return m_rto; }
  // The connection sets it from its measured round trips.
  void setRTO(float rto) { m_rto = rto; }
  unsigned int congestionEvent(int event);
  unsigned int getCongestionWindow() const { return m_cwnd; }
  unsigned int getBytesInFlight() const { return m_bytesInFlight; }

 private:
  struct Slot {
    bdReference<bdDataChunk> chunk;
    bdTimer timer;
    std::uint8_t sendCount;
    std::uint8_t gapReports;
    std::uint8_t ackedInGap;
  };
  Slot& slot(int seq) { return m_slots[static_cast<unsigned int>(seq) % SLOTS]; }
  const Slot& slot(int seq) const { return m_slots[static_cast<unsigned int>(seq) % SLOTS]; }
  bool checkGapBlocks(const bdSAckChunk& sack, int cumAck) const;
  void grow(unsigned int bytesAcked);
  void send(Slot& s);

  bdSequenceNumber m_cumAck;
  bdSequenceNumber m_next;
  float m_rto;
  unsigned int m_fastRetransmitThreshold;
  Slot m_slots[SLOTS];
  unsigned int m_peerCredit;
  unsigned int m_bytesInFlight;
  unsigned int m_partialBytesAcked;
  unsigned int m_ssthresh;
  unsigned int m_cwnd;
  bdTimer m_lastSend;
};
