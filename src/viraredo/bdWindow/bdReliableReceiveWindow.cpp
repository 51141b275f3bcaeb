#include "bdWindow/bdReliableReceiveWindow.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdPacket/bdPacket.h"

namespace {
const char* const kChannel = "bdConnection/windows";
}  // namespace

bdReliableReceiveWindow::bdReliableReceiveWindow()
    : m_highest(-1),
      m_cumulative(-1),
      m_lastRead(-1),
      m_credit(CREDIT),
      m_held(0),
      m_ackDue(false) {}

bool bdReliableReceiveWindow::holds(int seq) {
  const bdReference<bdDataChunk>& c = slot(seq);
  return c.notNull() && c->getSequenceNumber() == static_cast<std::uint16_t>(seq & 0xFFFF);
}

bool bdReliableReceiveWindow::add(bdReference<bdDataChunk> chunk) {
  if (chunk.isNull()) {
    bdAssertMsg("bdReliableReceiveWindow::add, null chunk.");
    return false;
  }
  const bdSequenceNumber seq(m_highest, chunk->getSequenceNumber(), 16);
  const unsigned int size = chunk->getSerializedSize();
  bool result = true;
  if (seq >= m_highest && m_held + size > m_credit) {
    bdLogInfo(kChannel, "Not enough recv window credit.");
    result = false;
  } else if (seq - m_lastRead > static_cast<int>(SLOTS)) {
    bdLogInfo(kChannel, "Window overflow (a) - info only");
    result = false;
  } else if (seq > m_lastRead) {
    bdReference<bdDataChunk>& s = slot(seq.getValue());
    if (s.isNull()) {
      s = chunk;
      m_held += size;
      if (seq > m_highest) m_highest = seq;
    } else if (s->getSequenceNumber() != chunk->getSequenceNumber()) {
      bdLogWarn(kChannel, "Window overflow (b) - error");
      result = false;
    }
  }
  advanceCumulative();
  // Refused and duplicate chunks are answered too: the sender learns what
  // arrived even when its acknowledgement was lost.
  m_ackDue = true;
  return result;
}

void bdReliableReceiveWindow::advanceCumulative() {
  bdSequenceNumber cum = m_cumulative > m_lastRead ? m_cumulative : m_lastRead;
  while (cum < m_highest && holds(cum.getValue() + 1))
    ++cum;
  m_cumulative = cum;
}

bdReference<bdSAckChunk> bdReliableReceiveWindow::buildAck() {
  const unsigned int free = m_credit > m_held ? m_credit - m_held : 0;
  bdReference<bdSAckChunk> sack(
      new bdSAckChunk(static_cast<std::uint16_t>(m_cumulative.getValue() & 0xFFFF), free));
  int runStart = -1;
  for (int seq = m_cumulative.getValue() + 1; seq <= m_highest.getValue() + 1; ++seq) {
    const bool filled = seq <= m_highest.getValue() && holds(seq);
    if (filled && runStart < 0) runStart = seq;
    if (!filled && runStart >= 0) {
      sack->addGapBlock(static_cast<std::uint16_t>(runStart - m_cumulative.getValue()),
                        static_cast<std::uint16_t>(seq - 1 - m_cumulative.getValue()));
      runStart = -1;
    }
  }
  return sack;
}

bdReference<bdDataChunk> bdReliableReceiveWindow::getNextToRead() {
  const int next = m_lastRead.getValue() + 1;
  bdReference<bdDataChunk>& s = slot(next);
  if (s.isNull()) return bdReference<bdDataChunk>();
  if (s->getSequenceNumber() != static_cast<std::uint16_t>(next & 0xFFFF)) {
    bdLogWarn(kChannel, "unexpected seq number. (%d != %d)", s->getSequenceNumber(), next & 0xFFFF);
    return bdReference<bdDataChunk>();
  }
  bdReference<bdDataChunk> chunk = s;
  s = nullptr;
  ++m_lastRead;
  const unsigned int size = chunk->getSerializedSize();
  m_held = m_held > size ? m_held - size : 0;
  // The credit freed is news to the sender: it may be waiting on it.
  m_ackDue = true;
  return chunk;
}

void bdReliableReceiveWindow::getDataToSend(bdPacket& packet) {
  if (!hasAckToSend()) return;
  if (!packet.addChunk(bdReference<bdChunk>(buildAck()))) {
    bdLogWarn(kChannel, "SACK chunk didn't fit in packet");
    return;
  }
  m_ackDue = false;
}
