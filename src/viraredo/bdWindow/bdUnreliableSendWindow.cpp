#include "bdWindow/bdUnreliableSendWindow.h"

#include "bdPacket/bdPacket.h"

void bdUnreliableSendWindow::getDataToSend(bdPacket& packet) {
  while (!m_queue.isEmpty()) {
    bdReference<bdDataChunk> chunk = m_queue.peek();
    chunk->setSequenceNumber(m_next);
    if (!packet.addChunk(chunk)) return;  // stays queued; its number is used next time
    ++m_next;
    m_queue.dequeue();
  }
}

void bdUnreliableSendWindow::reset() {
  m_next = 0;
  while (!m_queue.isEmpty())
    m_queue.dequeue();
}
