#include "bdNet/bdNetImpl.h"

#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdDiscovery/bdIPDiscoveryClient.h"
#include "bdDiscovery/bdNATTypeDiscoveryClient.h"
#include "bdSocket/bdPlatformSocket.h"

namespace {

const char* const kChannel = "bdNet/net";

// The port a socket is bound to; 0 when it cannot be read.
unsigned short boundPort(const bdSocket& socket) {
  bdInetAddr address;
  unsigned short port = 0;
  if (!bdPlatformSocket::getSocketName(socket.getHandle(), address, port)) return 0;
  return port;
}

}  // namespace

bdNetImpl::bdNetImpl()
    : m_params(),
      m_localCommonAddr(),
      m_dhKey(nullptr),
      m_securityKeyMap(),
      m_connectionStore(nullptr),
      m_dispatchInterceptors(),
      m_status(BD_NET_STOPPED),
      m_ipDiscoveryClient(nullptr),
      m_natTypeDiscoveryClient(nullptr),
      m_hostLookup(nullptr),
      m_serverAddrs(),
      m_serverAddrIndex(0),
      m_serverNameIndex(0),
      m_upnp(nullptr),
      m_upnpDone(false),
      m_upnpStatus(0),
      m_portSocket() {}

bdNetImpl::~bdNetImpl() {
  if (m_status != BD_NET_STOPPED || m_connectionStore != nullptr || m_params.m_socket != nullptr) {
    stop();
  }
  delete m_dhKey;
  m_dhKey = nullptr;
  m_localCommonAddr = nullptr;
}

unsigned short bdNetImpl::findFreePort(unsigned short port) const {
  for (unsigned int i = 0; i <= PORT_SEARCH_RANGE; ++i) {
    const unsigned int candidate = static_cast<unsigned int>(port) + i;
    // The search stops at the top of the port range rather than wrap to 0.
    if (candidate > 0xFFFF || (port != 0 && candidate == 0)) break;
    bdSocket probe;
    if (!probe.create(true)) continue;
    if (probe.bind(static_cast<unsigned short>(candidate)) != BD_NET_SUCCESS) continue;
    // Port 0 asks the system for any free port: report the one it gave.
    const unsigned short found =
        candidate == 0 ? boundPort(probe) : static_cast<unsigned short>(candidate);
    probe.close();
    return found;
  }
  return 0;
}

bool bdNetImpl::start(const bdNetStartParams& params) {
  if (m_status != BD_NET_STOPPED) {
    bdLogWarn(kChannel, "bdNetImpl::start, bdNet subsystem already started");
    return false;
  }
  m_params = params;
  const unsigned short requested = m_params.m_port;
  const unsigned short port = findFreePort(requested);
  if (port == 0) {
    bdLogWarn(kChannel, "Failed to find a free port");
    m_status = BD_NET_SOCKET_FAILED;
    return false;
  }
  // Held until the main socket binds, so nothing else takes the port.
  m_portSocket.create(true);
  m_portSocket.bind(port);
  m_params.m_port = port;
  bdLogInfo(kChannel, "Requested port %u, using port %u", static_cast<unsigned int>(requested),
            static_cast<unsigned int>(port));
  if (m_params.m_socket == nullptr) {
    m_params.m_socket = new bdSocket();
    m_params.m_socket->create(true);
  }
  if (m_dhKey == nullptr) {
    m_dhKey = new bdDHKey();
    m_dhKey->create();
  }
  if (!m_params.m_useDiscovery) {
    m_status = BD_NET_STARTED;
    if (!bindSocket()) return true;
    if (m_params.m_localAddresses.isEmpty()) {
      bdLogError(kChannel, "No local address specified when starting bdNet. See bdNetStartParams.");
    }
    m_localCommonAddr = new bdCommonAddr(localAddrs(), bdAddr(), BD_NAT_OPEN);
    createConnectionStore(bdArray<bdAddr>());
    return true;
  }
  m_status = BD_NET_STARTING;
  m_serverAddrIndex = 0;
  m_serverNameIndex = 0;
  return true;
}

bool bdNetImpl::bindSocket() {
  m_portSocket.close();
  if (m_params.m_socket->bind(m_params.m_port) != BD_NET_SUCCESS) {
    bdLogWarn(kChannel, "Failed to bind");
    m_status = BD_NET_SOCKET_FAILED;
    return false;
  }
  return true;
}

bdArray<bdAddr> bdNetImpl::localAddrs() const {
  bdArray<bdAddr> addrs;
  for (unsigned int i = 0; i < m_params.m_localAddresses.getSize(); ++i)
    addrs.pushBack(bdAddr(m_params.m_localAddresses[i], m_params.m_port));
  return addrs;
}

void bdNetImpl::createConnectionStore(const bdArray<bdAddr>& introducers) {
  m_connectionStore = new bdConnectionStore(m_params.m_socket, m_localCommonAddr, &m_securityKeyMap,
                                            m_dhKey, introducers);
}

void bdNetImpl::pump() {
  if (!m_params.m_useDiscovery || m_status != BD_NET_STARTING) return;
  for (unsigned int i = 0; i < m_params.m_stunServers.getSize(); ++i) {
    bdLogWarn(kChannel, "Failed to lookup address %s", m_params.m_stunServers[i].getBuffer());
  }
  m_status = BD_NET_DISCOVERY_FAILED;
}

void bdNetImpl::receiveAndDispatchAll() {
  if (m_status != BD_NET_STARTED) {
    bdLogError(kChannel, "bdNetImpl::receiveAndDispatchAll: not ready to work");
  }
  if (m_connectionStore == nullptr) return;
  bdArray<bdReference<bdConnection>> ready;
  bdReference<bdConnection> connection;
  while (m_connectionStore->receiveFrom(connection)) {
    bool known = false;
    for (unsigned int i = 0; i < ready.getSize() && !known; ++i)
      known = ready[i].get() == connection.get();
    if (!known) ready.pushBack(connection);
  }
  for (unsigned int i = 0; i < ready.getSize(); ++i)
    dispatch(ready[i]);
}

void bdNetImpl::dispatch(bdReference<bdConnection> connection) {
  bdDispatchItem item;
  item.m_connection = connection;
  while (connection->getMessageToDispatch(item.m_message)) {
    // A copy: an interceptor may unregister itself while it is called.
    const bdFastArray<bdDispatchInterceptor*> interceptors(m_dispatchInterceptors);
    for (unsigned int i = 0; i < interceptors.getSize(); ++i) {
      if (interceptors[i]->accept(item)) break;
    }
    item.m_message = nullptr;
  }
}

void bdNetImpl::sendAll() {
  if (m_status != BD_NET_STARTED) bdLogError(kChannel, "bdNetImpl::sendAll: not ready to send");
  if (m_connectionStore != nullptr) m_connectionStore->flushAll();
}

void bdNetImpl::stop() {
  if (m_connectionStore != nullptr) {
    m_connectionStore->disconnectAll();
    // Bounded by rounds as well as by time, so a stopped clock cannot hold
    // the caller here.
    const unsigned int rounds =
        static_cast<unsigned int>(STOP_DRAIN_SECONDS * 1000.0 / STOP_DRAIN_SLEEP_MS);
    bdStopwatch drain;
    drain.start();
    for (unsigned int i = 0; i < rounds && drain.getElapsedTimeAsSeconds() < STOP_DRAIN_SECONDS;
         ++i) {
      receiveAndDispatchAll();
      sendAll();
      bdPlatformTiming::sleep(STOP_DRAIN_SLEEP_MS);
    }
    m_connectionStore->closeAll();
    delete m_connectionStore;
    m_connectionStore = nullptr;
  }
  if (m_params.m_socket != nullptr) {
    m_params.m_socket->close();
    delete m_params.m_socket;
    m_params.m_socket = nullptr;
  }
  m_portSocket.close();
  delete m_ipDiscoveryClient;
  m_ipDiscoveryClient = nullptr;
  delete m_natTypeDiscoveryClient;
  m_natTypeDiscoveryClient = nullptr;
  m_status = BD_NET_STOPPED;
  m_serverAddrIndex = 0;
  m_serverNameIndex = 0;
  m_params.m_localAddresses.clear();
  m_params.m_stunServers.clear();
  m_securityKeyMap.clear();
  m_serverAddrs.clear();
}

void bdNetImpl::registerDispatchInterceptor(bdDispatchInterceptor* interceptor) {
  m_dispatchInterceptors.pushBack(interceptor);
}

void bdNetImpl::unregisterDispatchInterceptor(bdDispatchInterceptor* interceptor) {
  m_dispatchInterceptors.removeAll(interceptor);
}
