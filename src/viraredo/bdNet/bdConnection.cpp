#include "bdNet/bdConnection.h"

bdConnection::bdConnection(bdReference<bdCommonAddr> addr)
    : m_addr(addr), m_addrHandle(), m_stats(), m_listeners(), m_userValue(0), m_status(BD_NEW) {}

bdConnection::~bdConnection() {
  m_addrHandle = nullptr;
  m_addr = nullptr;
}

bool bdConnection::connect() {
  m_status = BD_CONNECTING;
  return true;
}

void bdConnection::registerListener(bdConnectionListener* listener) {
  m_listeners.pushBack(listener);
}

void bdConnection::unregisterListener(bdConnectionListener* listener) {
  bdFastArray<bdConnectionListener*> kept;
  for (unsigned int i = 0; i < m_listeners.getSize(); ++i) {
    if (m_listeners[i] != listener) kept.pushBack(m_listeners[i]);
  }
  m_listeners = kept;
}

void bdConnection::notify(Event event) {
  // Keeps this connection alive and the list stable while listeners run.
  bdReference<bdConnection> self(this);
  const bdFastArray<bdConnectionListener*> snapshot(m_listeners);
  for (unsigned int i = 0; i < snapshot.getSize(); ++i) {
    bdConnectionListener* listener = snapshot[i];
    bool stillRegistered = false;
    for (unsigned int j = 0; j < m_listeners.getSize() && !stillRegistered; ++j) {
      stillRegistered = m_listeners[j] == listener;
    }
    // One removed by an earlier listener of this round is not called.
    if (!stillRegistered) continue;
    switch (event) {
      case Event::CONNECT:
        listener->onConnect(self);
        break;
      case Event::CONNECT_FAILED:
        listener->onConnectFailed(self);
        break;
      case Event::DISCONNECT:
        listener->onDisconnect(self);
        break;
      case Event::RECONNECT:
        listener->onReconnect(self);
        break;
    }
  }
}

void bdConnection::updateStatus() {
  if (m_status == BD_CONNECTING) {
    notify(Event::CONNECT);
    m_status = BD_CONNECTED;
  } else if (m_status == BD_DISCONNECTING) {
    notify(Event::DISCONNECT);
    m_status = BD_DISCONNECTED;
  }
}

void bdConnection::callConnectListeners(bool succeeded) {
  notify(succeeded ? Event::CONNECT : Event::CONNECT_FAILED);
}
void bdConnection::callDisconnectListeners() { notify(Event::DISCONNECT); }
void bdConnection::callReconnectListeners() { notify(Event::RECONNECT); }
