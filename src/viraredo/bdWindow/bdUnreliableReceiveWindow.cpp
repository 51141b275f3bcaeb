#include "bdWindow/bdUnreliableReceiveWindow.h"

bool bdUnreliableReceiveWindow::add(bdReference<bdDataChunk> chunk) {
  if (chunk.isNull()) return true;
  const bdSequenceNumber seq(m_last, chunk->getSequenceNumber(), 16);
  if (seq > m_last) {
    m_last = seq;
    m_queue.enqueue(chunk);
  }
  return true;
}

bdReference<bdDataChunk> bdUnreliableReceiveWindow::getNextToRead() {
  if (m_queue.isEmpty()) return bdReference<bdDataChunk>();
  bdReference<bdDataChunk> chunk = m_queue.peek();
  m_queue.dequeue();
  return chunk;
}

void bdUnreliableReceiveWindow::reset() {
  m_last = bdSequenceNumber(-1);
  while (!m_queue.isEmpty())
    m_queue.dequeue();
}
