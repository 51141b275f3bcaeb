#include "bdNet/bdLoopbackConnection.h"

bool bdLoopbackConnection::send(const bdReference<bdMessage> message, const bool) {
  if (message.isNull()) return false;
  // Read from just after the bit buffer's header, as a received message is.
  bdReference<bdMessage> m(message);
  m->getPayload()->setReadPosition(BD_BB_NUM_HEADER_BITS);
  m_messages.enqueue(m);
  m_dataWaiting = true;
  return true;
}

bool bdLoopbackConnection::getMessageToDispatch(bdReference<bdMessage>& message) {
  if (m_messages.isEmpty()) return false;
  message = m_messages.peek();
  m_messages.dequeue();
  return true;
}

bool bdLoopbackConnection::takeDataWaiting() {
  const bool waiting = m_dataWaiting;
  m_dataWaiting = false;
  return waiting;
}
