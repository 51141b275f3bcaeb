#pragma once
// The peer connections of this host, one per peer address handle, over the
// socket router it extends: it creates connections, accepts those that peers
// open once their handshake completes, sends what each has to send, retires
// dead ones, and shuts them all down.
#include "bdAddressMap/bdAddrHandle.h"
#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdNet/bdConnection.h"
#include "bdNet/bdConnectionListener.h"
#include "bdSocketRouter/bdSocketRouter.h"

class bdConnectionStore : public bdSocketRouter {
 public:
  static constexpr unsigned int RECEIVE_BUFFER_SIZE = 1328;
  static constexpr unsigned int SEND_BUFFER_SIZE = 1304;
  // What each datagram costs beyond its own bytes in the statistics.
  static constexpr unsigned int DATAGRAM_OVERHEAD = 28;

  // A peer's handle as a map key: equal when the handles' hashes are.
  class bdAddrHandleHashmapWrapper {
   public:
    bdAddrHandleHashmapWrapper() = default;
    explicit bdAddrHandleHashmapWrapper(const bdAddrHandleRef& handle) : m_handle(handle) {}
    bool operator==(const bdAddrHandleHashmapWrapper& o) const { return getHash() == o.getHash(); }
    unsigned int getHash() const { return m_handle.notNull() ? m_handle->getHash() : 0; }
    static unsigned int getHash(const bdAddrHandleHashmapWrapper& w) { return w.getHash(); }
    bdAddrHandleRef m_handle;
  };

  bdConnectionStore(bdSocket* socket, bdReference<bdCommonAddr> localAddr, bdSecurityKeyMap* keyMap,
                    bdDHKey* keyPair, const bdArray<bdAddr>& introducers);
  ~bdConnectionStore() override;

  // Listeners are registered on each connection as it is created or
  // accepted; one added later does not reach existing connections.
  void registerListener(bdConnectionListener* listener);
  void unregisterListener(bdConnectionListener* listener);

  // The connection to addr, made unless one exists. Not yet connected: the
  // caller calls its connect().
  bdReference<bdConnection> create(bdReference<bdCommonAddr> addr, const bdSecurityID& id);
  // True when out names a connection that has something to dispatch.
  bool receiveFrom(bdReference<bdConnection>& out);
  // Sends at most one datagram of the connection; its length, or 0.
  unsigned int flush(bdReference<bdConnection> connection);
  bool flushAll();
  void remove(bdReference<bdConnection> connection);
  void disconnectAll();
  void closeAll();

  unsigned int getConnectionCount() const { return m_connectionMap.getSize(); }
  bdReference<bdCommonAddr> getLocalCommonAddr() const { return m_localCommonAddr; }

 private:
  using ConnectionMap =
      bdHashMap<bdAddrHandleHashmapWrapper, bdReference<bdConnection>, bdAddrHandleHashmapWrapper>;

  void registerListeners(bdConnection& connection) const;
  bool acceptIncoming(const bdAddrHandleRef& handle, unsigned char* data, unsigned int size,
                      bdReference<bdConnection>& out);
  bool findWaitingLoopback(bdReference<bdConnection>& out);
  // The stored connections in map order: listeners that a connection calls
  // may change the map while the store walks this copy.
  bdArray<bdReference<bdConnection>> snapshot() const;

  bdReference<bdCommonAddr> m_localCommonAddr;
  ConnectionMap m_connectionMap;
  bdFastArray<bdConnectionListener*> m_listeners;
};
