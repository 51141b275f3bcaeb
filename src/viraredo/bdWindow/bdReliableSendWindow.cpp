#include "bdWindow/bdReliableSendWindow.h"

#include <algorithm>

#include "bdCore/bdLog/bdLog.h"
#include "bdPacket/bdPacket.h"

namespace {
const char* const kChannel = "bdConnection/windows";
const unsigned int kMinWindow = 2 * bdReliableSendWindow::PACKET_SIZE;
}  // namespace

bdReliableSendWindow::bdReliableSendWindow()
    : m_cumAck(-1),
      m_next(0),
      m_rto(0.3f),
      m_baseRto(0.3f),
      m_backoffRto(0.3f),
      m_backoffSerial(0),
      m_fastRetransmitThreshold(FAST_RETRANSMIT),
      m_slots(),
      m_peerCredit(1500),
      m_bytesInFlight(0),
      m_partialBytesAcked(0),
      m_ssthresh(1500),
      m_cwnd(kMinWindow),
      m_serial(0) {
  for (Slot& s : m_slots) {
    s.sendCount = 0;
    s.gapReports = 0;
    s.ackedInGap = 0;
    s.serial = 0;
  }
  m_lastSend.start();
}

bool bdReliableSendWindow::add(bdReference<bdDataChunk> chunk) {
  Slot& s = slot(m_next.getValue());
  if (chunk.isNull() || s.chunk.notNull()) {
    bdLogWarn(kChannel, "reliable message window is full.");
    return false;
  }
  chunk->setSequenceNumber(static_cast<std::uint16_t>(m_next.getValue() & 0xFFFF));
  s.chunk = chunk;
  s.timer.reset();
  s.sendCount = 0;
  s.gapReports = 0;
  s.ackedInGap = 0;
  ++m_next;
  return true;
}

bool bdReliableSendWindow::isAllAcked() const {
  for (int s = m_cumAck.getValue() + 1; s < m_next.getValue(); ++s) {
    if (slot(s).chunk.notNull()) return false;
  }
  return true;
}

void bdReliableSendWindow::send(Slot& s) {
  s.sendCount = static_cast<std::uint8_t>(std::min(255, s.sendCount + 1));
  s.timer.start();
  s.serial = ++m_serial;
  m_bytesInFlight += s.chunk->getSerializedSize();
}

unsigned int bdReliableSendWindow::congestionEvent(int event) {
  switch (event) {
    case BD_CE_FAST_RETRANSMIT:
      m_ssthresh = std::max(m_cwnd / 2, kMinWindow);
      m_cwnd = m_ssthresh;
      m_partialBytesAcked = 0;
      return m_ssthresh;
    case BD_CE_TIMEOUT:
      m_ssthresh = std::max(m_cwnd / 2, kMinWindow);
      m_cwnd = PACKET_SIZE;
      m_partialBytesAcked = 0;
      return m_ssthresh;
    case BD_CE_IDLE:
      m_cwnd = std::max(m_cwnd / 2, 2 * kMinWindow);
      m_partialBytesAcked = 0;
      return m_cwnd;
    default:
      return 0;
  }
}

void bdReliableSendWindow::getDataToSend(bdPacket& packet) {
  // Loss scan: what the peer reported missing three times, or what timed out.
  bool fastRetransmit = false;
  bool timeout = false;
  for (int seq = m_cumAck.getValue() + 1; seq < m_next.getValue(); ++seq) {
    Slot& s = slot(seq);
    if (s.chunk.isNull() || s.ackedInGap) continue;
    if (s.chunk->getSequenceNumber() != static_cast<std::uint16_t>(seq & 0xFFFF)) {
      bdAssertMsg("Window error");
    }
    if (s.sendCount == 0) break;
    const unsigned int size = s.chunk->getSerializedSize();
    if (s.gapReports >= m_fastRetransmitThreshold) {
      fastRetransmit = true;
    } else if (s.timer.getElapsedTimeInSeconds() > timeoutOf(s)) {
      // Left over from a time-out already counted: not a new one.
      if (s.serial > m_backoffSerial) timeout = true;
    } else {
      continue;
    }
    m_bytesInFlight -= std::min(m_bytesInFlight, size);
  }
  if (fastRetransmit) congestionEvent(BD_CE_FAST_RETRANSMIT);
  // The RTO doubles once per time-out, not once per packet of the chunks
  // it resends; what was sent before it keeps the time-out it was sent
  // under: against the doubled one, none went out until it reached its cap.
  if (timeout) {
    congestionEvent(BD_CE_TIMEOUT);
    m_backoffRto = m_rto;
    m_backoffSerial = m_serial;
    m_rto = std::min(2.0f * m_rto, 2.0f);
  }

  bool sent = false;
  // What this pass resends after a time-out. Only the chunks found timed out
  // leave the bytes in flight, so with the rest of the flight still counted
  // the window (one packet after a time-out) never had room for them: each
  // time-out doubled the RTO and resent nothing until enough of the flight
  // had timed out too. A window's worth of them goes whatever else is in
  // flight.
  unsigned int resent = 0;
  for (int seq = m_cumAck.getValue() + 1; seq < m_next.getValue(); ++seq) {
    Slot& s = slot(seq);
    if (s.chunk.isNull() || s.ackedInGap) continue;
    const unsigned int size = s.chunk->getSerializedSize();
    bool stopAfter = false;
    if (s.sendCount == 0) {
      const bool inCredit = m_peerCredit > m_bytesInFlight && m_peerCredit - m_bytesInFlight > size;
      if (!inCredit) {
        if (m_bytesInFlight > 0 || size >= PACKET_SIZE) break;
        stopAfter = true;
      }
      if (!packet.addChunk(s.chunk)) {
        bdLogInfo(kChannel, "packet full.");
        break;
      }
      if (stopAfter) bdLogInfo(kChannel, "sent 1 new packet %u (rule b)", seq);
      send(s);
      sent = true;
      if (stopAfter) break;
      continue;
    }
    const bool fast = s.gapReports >= m_fastRetransmitThreshold;
    const bool room = m_bytesInFlight < m_cwnd || resent < m_cwnd;
    if (!fast && !(s.timer.getElapsedTimeInSeconds() > timeoutOf(s) && room)) continue;
    if (!packet.addChunk(s.chunk)) {
      bdLogInfo(kChannel, "packet full.");
      break;
    }
    if (fast) {
      bdLogInfo(kChannel, "sent retransmit (fast retransmit) %u", seq);
    } else {
      bdLogInfo(kChannel, "sent retransmit (rto timeout) %u", seq);
    }
    s.gapReports = 0;
    if (!fast) resent += size;
    send(s);
    sent = true;
  }
  if (sent) {
    m_lastSend.start();
  } else if (m_lastSend.getElapsedTimeInSeconds() > 1.0f) {
    congestionEvent(BD_CE_IDLE);
    m_lastSend.start();
  }
}

bool bdReliableSendWindow::checkGapBlocks(const bdSAckChunk& sack, int cumAck) const {
  const auto& blocks = sack.getGapBlocks();
  int previousEnd = 0;
  for (auto* n = blocks.isEmpty() ? nullptr : blocks.getHead(); n != nullptr; n = n->m_next) {
    const int start = n->m_value.m_start;
    const int end = n->m_value.m_end;
    // Blocks come in order, each after a hole, and name only chunks we sent.
    if (start <= previousEnd + 1 || end < start || cumAck + end >= m_next.getValue()) return false;
    for (int seq = cumAck + previousEnd + 1; seq <= cumAck + end; ++seq) {
      const Slot& s = slot(seq);
      if (s.chunk.isNull()) {
        bdLogWarn(kChannel, "Shouldn't be null!");
        return false;
      }
      if (seq >= cumAck + start && s.sendCount == 0) {
        bdLogWarn(kChannel, "Send count should be > 0");
        return false;
      }
    }
    previousEnd = end;
  }
  return true;
}

void bdReliableSendWindow::reportMissing(int cumAck, int highestInGap,
                                         const std::uint32_t* laterSerials,
                                         unsigned int laterCount) {
  std::uint32_t serials[SLOTS];
  std::copy(laterSerials, laterSerials + laterCount, serials);
  std::sort(serials, serials + laterCount);
  // Nothing sent after the last block still on its way: no later SACK will
  // report the holes again.
  bool lastNews = true;
  for (int seq = highestInGap + 1; seq < m_next.getValue() && lastNews; ++seq)
    lastNews = slot(seq).sendCount == 0;
  for (int seq = cumAck + 1; seq < highestInGap; ++seq) {
    Slot& s = slot(seq);
    if (s.ackedInGap) continue;
    const unsigned int later = static_cast<unsigned int>(
        serials + laterCount - std::upper_bound(serials, serials + laterCount, s.serial));
    unsigned int reports = s.gapReports + std::max(1u, later);
    if (lastNews && later > 0) reports = std::max(reports, m_fastRetransmitThreshold);
    s.gapReports = static_cast<std::uint8_t>(std::min(255u, reports));
  }
}

void bdReliableSendWindow::grow(unsigned int bytesAcked) {
  if (m_bytesInFlight < m_cwnd) return;
  if (m_cwnd <= m_ssthresh) {
    m_cwnd += std::min(bytesAcked, PACKET_SIZE);
    return;
  }
  m_partialBytesAcked += bytesAcked;
  if (m_partialBytesAcked >= m_cwnd) {
    m_cwnd += PACKET_SIZE;
    m_partialBytesAcked = m_partialBytesAcked > m_cwnd ? m_partialBytesAcked - m_cwnd : 0;
  }
}

bool bdReliableSendWindow::handleAck(bdReference<bdSAckChunk> sack, float& rtt) {
  rtt = 0.0f;
  if (sack.isNull()) return false;
  // Widened near 0 at first, so that a SACK naming nothing received yet
  // (0xFFFF) reads as -1 and not as 65535.
  const bdSequenceNumber reference(m_cumAck.getValue() < 0 ? 0 : m_cumAck.getValue());
  const bdSequenceNumber cum(reference, sack->getCumulativeAck(), 16);
  if (cum > m_next + -1) {
    bdLogWarn(kChannel, "Acking unsent chunk.");
    return false;
  }
  if (cum < m_cumAck) return true;
  // Every block is checked before anything changes.
  for (int seq = m_cumAck.getValue() + 1; seq <= cum.getValue(); ++seq) {
    if (slot(seq).chunk.isNull()) {
      bdLogWarn(kChannel, "Invalid ack.");
      return false;
    }
    if (slot(seq).sendCount == 0) {
      bdLogWarn(kChannel, "Acking unsent chunk.");
      return false;
    }
  }
  if (!checkGapBlocks(*sack, cum.getValue())) {
    bdLogWarn(kChannel, "Invalid gap blocks.");
    return false;
  }
  if (cum > m_cumAck) {
    const Slot& newest = slot(cum.getValue());
    // A chunk acknowledged in a gap had its timer restarted then: it would
    // measure how long the hole took to fill, not a round trip.
    if (newest.sendCount == 1 && !newest.ackedInGap) rtt = newest.timer.getElapsedTimeInSeconds();
  }
  m_peerCredit = sack->getCredit();
  m_bytesInFlight = 0;
  // Only the chunks after the new cumulative ack that exist: past next, the
  // slots still hold the chunks this ack is about to release, and counting
  // them kept the bytes in flight above the window for good. A chunk counts
  // once however often it was sent, for the same reason.
  for (int seq = cum.getValue() + 1; seq < m_next.getValue(); ++seq) {
    const Slot& s = slot(seq);
    if (s.chunk.isNull()) break;
    if (!s.ackedInGap && s.sendCount > 0) m_bytesInFlight += s.chunk->getSerializedSize();
  }
  unsigned int bytesAcked = 0;
  std::uint32_t newlyAcked[SLOTS];
  unsigned int newlyCount = 0;
  for (int seq = m_cumAck.getValue() + 1; seq <= cum.getValue(); ++seq) {
    Slot& s = slot(seq);
    if (!s.ackedInGap) {
      bytesAcked += s.chunk->getSerializedSize();
      newlyAcked[newlyCount++] = s.serial;
    }
    s.chunk = nullptr;
    s.sendCount = 0;
    s.gapReports = 0;
    s.ackedInGap = 0;
  }
  const auto& blocks = sack->getGapBlocks();
  int previousEnd = 0;
  for (auto* n = blocks.isEmpty() ? nullptr : blocks.getHead(); n != nullptr; n = n->m_next) {
    const int start = cum.getValue() + n->m_value.m_start;
    const int end = cum.getValue() + n->m_value.m_end;
    for (int seq = cum.getValue() + previousEnd + 1; seq < start; ++seq)
      slot(seq).ackedInGap = 0;
    for (int seq = start; seq <= end; ++seq) {
      Slot& s = slot(seq);
      if (!s.ackedInGap) {
        bytesAcked += s.chunk->getSerializedSize();
        newlyAcked[newlyCount++] = s.serial;
      }
      s.ackedInGap = 1;
      s.timer.start();
    }
    previousEnd = n->m_value.m_end;
  }
  if (previousEnd > 0)
    reportMissing(cum.getValue(), cum.getValue() + previousEnd, newlyAcked, newlyCount);
  // Whatever the peer newly acknowledges shows the path works again.
  if (newlyCount > 0) m_rto = m_backoffRto = m_baseRto;
  grow(bytesAcked);
  m_cumAck = cum;
  return true;
}
