#include "bdConnectionStore/bdConnectionStore.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdNet/bdLoopbackConnection.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdUnicastConnection/bdUnicastConnection.h"

namespace {

const char* const kChannel = "bdConnection/connectionstore";

struct HandleText {
  explicit HandleText(const bdAddrHandleRef& handle) {
    if (handle.notNull()) handle->toString(text, sizeof text);
  }
  char text[22] = "";
};

}  // namespace

bdConnectionStore::bdConnectionStore(bdSocket* socket, bdReference<bdCommonAddr> localAddr,
                                     bdSecurityKeyMap* keyMap, bdDHKey* keyPair,
                                     const bdArray<bdAddr>& introducers)
    : bdSocketRouter(socket, keyMap, keyPair, introducers, localAddr),
      m_localCommonAddr(localAddr),
      m_connectionMap(4, 0.75f),
      m_listeners() {}

bdConnectionStore::~bdConnectionStore() {
  closeAll();
  flushAll();
  m_listeners.clear();
  m_localCommonAddr = nullptr;
}

void bdConnectionStore::registerListener(bdConnectionListener* listener) {
  m_listeners.pushBack(listener);
}

void bdConnectionStore::unregisterListener(bdConnectionListener* listener) {
  m_listeners.removeAll(listener);
}

void bdConnectionStore::registerListeners(bdConnection& connection) const {
  for (unsigned int i = 0; i < m_listeners.getSize(); ++i)
    connection.registerListener(m_listeners[i]);
}

bdReference<bdConnection> bdConnectionStore::create(bdReference<bdCommonAddr> addr,
                                                    const bdSecurityID& id) {
  if (addr.isNull()) {
    bdAssertMsg("Common address is null.");
    return bdReference<bdConnection>();
  }
  const bool loopback = addr->isLoopback();
  bdReference<bdConnection> connection;
  if (loopback) {
    bdLogInfo(kChannel, "Creating new loopback connection.");
    connection = new bdLoopbackConnection(addr);
  } else {
    bdLogInfo(kChannel, "Creating new unicast connection.");
    connection = new bdUnicastConnection(addr);
  }
  registerListeners(*connection);
  bdAddrHandleRef handle;
  getAddressMap().registerAddr(addr, id, handle);
  connection->setAddrHandle(handle);
  const bdAddrHandleHashmapWrapper key(handle);
  bdReference<bdConnection> existing;
  if (m_connectionMap.get(key, existing)) {
    bdLogWarn(kChannel, "a connection already exists to host.");
    return existing;
  }
  if (!loopback) connect(handle);
  m_connectionMap.put(key, connection);
  return connection;
}

bool bdConnectionStore::receiveFrom(bdReference<bdConnection>& out) {
  unsigned char buffer[RECEIVE_BUFFER_SIZE];
  bool reading = true;
  while (reading) {
    bdAddrHandleRef handle;
    const int n = bdSocketRouter::receiveFrom(handle, buffer, sizeof buffer);
    if (n < 0) {
      switch (n) {
        case BD_NET_INVALID_ARGUMENT:
        case BD_NET_BLOCKING_CALL_CANCELED:
        case BD_NET_WOULD_BLOCK:
          reading = false;
          break;
        case BD_NET_MSG_SIZE:
          bdLogWarn(kChannel, "Couldn't receive message. Buffer too small?");
          break;
        case BD_NET_CONNECTION_RESET: {
          bdLogInfo(kChannel, "Received 'connection reset'. Closing connection.");
          bdReference<bdConnection> reset;
          if (m_connectionMap.get(bdAddrHandleHashmapWrapper(handle), reset)) reset->close();
          break;
        }
        default:
          bdLogWarn(kChannel, "net error.");
          reading = false;
          break;
      }
      continue;
    }
    if (n == 0) continue;
    const unsigned int size = static_cast<unsigned int>(n);
    bdReference<bdConnection> connection;
    if (m_connectionMap.get(bdAddrHandleHashmapWrapper(handle), connection)) {
      connection->getStatistics().addBytesReceived(size);
      connection->receive(buffer, size);
      out = connection;
      return true;
    }
    if (acceptIncoming(handle, buffer, size, out)) return true;
  }
  return findWaitingLoopback(out);
}

bool bdConnectionStore::acceptIncoming(const bdAddrHandleRef& handle, unsigned char* data,
                                       unsigned int size, bdReference<bdConnection>& out) {
  bdReference<bdConnection> connection(new bdUnicastConnection());
  registerListeners(*connection);
  connection->setAddrHandle(handle);
  connection->getStatistics().addBytesReceived(size);
  connection->receive(data, size);
  if (connection->getStatus() == bdConnection::BD_CONNECTED) {
    bdLogInfo(kChannel, "New incoming connection created.");
    m_connectionMap.put(bdAddrHandleHashmapWrapper(handle), connection);
    out = connection;
    return true;
  }
  // Nothing is kept for a peer until its handshake completes: answer now.
  flush(connection);
  return false;
}

bool bdConnectionStore::findWaitingLoopback(bdReference<bdConnection>& out) {
  for (auto it = m_connectionMap.getIterator(); it != nullptr; it = m_connectionMap.next(it)) {
    bdReference<bdConnection>& connection = m_connectionMap.getValue(it);
    if (!connection->getAddress().notNull() || !connection->getAddress()->isLoopback()) continue;
    if (static_cast<bdLoopbackConnection*>(connection.get())->takeDataWaiting()) {
      out = connection;
      return true;
    }
  }
  return false;
}

unsigned int bdConnectionStore::flush(bdReference<bdConnection> connection) {
  unsigned char buffer[SEND_BUFFER_SIZE];
  const unsigned int n = connection->getDataToSend(buffer, sizeof buffer - 1);
  if (n == 0) return 0;
  connection->getStatistics().addBytesSent(n);
  const int r = sendTo(connection->getAddrHandle(), buffer, n);
  if (r < 0) {
    switch (r) {
      case BD_NET_ADDRESS_INVALID:
        bdLogInfo(kChannel, "Invalid address. Closing connection.");
        connection->close();
        break;
      case BD_NET_MSG_SIZE:
      case BD_NET_CONNECTION_RESET:
      case BD_NET_ADDRESS_IN_USE:
        break;
      case BD_NET_SUBSYTEM_ERROR:
        bdLogWarn(kChannel, "net subsystem error!");
        break;
      case BD_NET_WOULD_BLOCK:
        bdLogWarn(kChannel, "would block.");
        break;
      default:
        bdLogWarn(kChannel, "unknown error.");
        break;
    }
  }
  return n;
}

bool bdConnectionStore::flushAll() {
  pump();
  // Listeners hear connections close and may call back into the store.
  const bdArray<bdReference<bdConnection>> all = snapshot();
  bdArray<bdReference<bdConnection>> retired;
  for (unsigned int i = 0; i < all.getSize(); ++i) {
    const bdReference<bdConnection>& connection = all[i];
    const bdAddrHandleRef& handle = connection->getAddrHandle();
    if (connection->getAddress().notNull() && connection->getAddress()->isLoopback()) {
      connection->updateStatus();
      if (connection->getStatus() == bdConnection::BD_DISCONNECTED) retired.pushBack(connection);
      continue;
    }
    switch (getStatus(handle)) {
      case BD_SOCKET_IDLE:
        bdLogWarn(kChannel, "bad socket status.");
        break;
      case BD_SOCKET_CONNECTED:
        while (flush(connection) > 0) {
        }
        if (connection->getStatus() == bdConnection::BD_DISCONNECTED) {
          const HandleText text(handle);
          bdLogInfo(kChannel, "Connection state disconnected. Disconnecting %s.", text.text);
          retired.pushBack(connection);
        }
        break;
      case BD_SOCKET_LOST: {
        const HandleText text(handle);
        bdLogInfo(kChannel, "Socket router reports socket lost. Disconnecting %s.", text.text);
        retired.pushBack(connection);
        break;
      }
      default:
        break;
    }
  }
  for (unsigned int i = 0; i < retired.getSize(); ++i) {
    bdReference<bdConnection> connection = retired[i];
    connection->close();
    bdAddrHandleRef handle = connection->getAddrHandle();
    m_connectionMap.remove(bdAddrHandleHashmapWrapper(handle));
    getAddressMap().unregisterAddr(handle);
  }
  return true;
}

bdArray<bdReference<bdConnection>> bdConnectionStore::snapshot() const {
  bdArray<bdReference<bdConnection>> all;
  for (auto it = m_connectionMap.getIterator(); it != nullptr; it = m_connectionMap.next(it))
    all.pushBack(m_connectionMap.getValue(it));
  return all;
}

void bdConnectionStore::remove(bdReference<bdConnection> connection) {
  bdLogInfo(kChannel, "Removing connection.");
  if (connection.isNull() ||
      !m_connectionMap.remove(bdAddrHandleHashmapWrapper(connection->getAddrHandle()))) {
    bdLogWarn(kChannel, "failed to remove connection from store, connection not present.");
  }
}

void bdConnectionStore::disconnectAll() {
  bdLogInfo(kChannel, "Disconnecting all connections.");
  const bdArray<bdReference<bdConnection>> all = snapshot();
  for (unsigned int i = 0; i < all.getSize(); ++i)
    all[i]->disconnect();
}

void bdConnectionStore::closeAll() {
  bdLogInfo(kChannel, "Closing all connections.");
  const bdArray<bdReference<bdConnection>> all = snapshot();
  for (unsigned int i = 0; i < all.getSize(); ++i)
    all[i]->close();
  m_connectionMap.clear();
}
