#pragma once
// Numbers reliable DATA chunks, sends them within the peer's credit and a
// congestion window, and resends them on a time-out or after three gap
// reports. At most 128 chunks are outstanding.
//
// A SACK reports a missing chunk once, or as often as it newly acknowledges
// chunks sent after it: the receiver answers a burst of packets with one
// SACK, and counting SACKs alone left a chunk lost from a full window to its
// time-out. When nothing sent after the last gap block is still on its way,
// no further report can come, and a missing chunk with any later chunk
// acknowledged is resent at once.
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
  // The connection sets it from its measured round trips. Time-outs double
  // it; an acknowledgement of new data takes it back to this value, since
  // a clean round-trip sample is rare on a lossy link.
  void setRTO(float rto) { m_rto = m_baseRto = m_backoffRto = rto; }
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
    // Order of the last sending among all sendings: tells which chunks
    // left after this one.
    std::uint32_t serial;
  };
  Slot& slot(int seq) { return m_slots[static_cast<unsigned int>(seq) % SLOTS]; }
  const Slot& slot(int seq) const { return m_slots[static_cast<unsigned int>(seq) % SLOTS]; }
  bool checkGapBlocks(const bdSAckChunk& sack, int cumAck) const;
  void grow(unsigned int bytesAcked);
  void send(Slot& s);
  float timeoutOf(const Slot& s) const {
    return s.serial <= m_backoffSerial ? m_backoffRto : m_rto;
  }
  void reportMissing(int cumAck, int highestInGap, const std::uint32_t* laterSerials,
                     unsigned int laterCount);

  bdSequenceNumber m_cumAck;
  bdSequenceNumber m_next;
  float m_rto;
  float m_baseRto;
  // The RTO before the last backoff, and the last sending before it.
  float m_backoffRto;
  std::uint32_t m_backoffSerial;
  unsigned int m_fastRetransmitThreshold;
  Slot m_slots[SLOTS];
  unsigned int m_peerCredit;
  unsigned int m_bytesInFlight;
  unsigned int m_partialBytesAcked;
  unsigned int m_ssthresh;
  unsigned int m_cwnd;
  bdTimer m_lastSend;
  std::uint32_t m_serial;
};
