#include "bdNet/bdNetImpl.h"

#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdDiscovery/bdIPDiscoveryClient.h"
#include "bdDiscovery/bdNATTypeDiscoveryClient.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdUPnP/bdUPnP.h"

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
      m_portSocket(),
      m_ssdpAddr(),
      m_hostResolver(nullptr),
      m_retiredLookups() {}

bdNetImpl::~bdNetImpl() {
  if (m_status != BD_NET_STOPPED || m_connectionStore != nullptr || m_params.m_socket != nullptr ||
      m_upnp != nullptr || m_hostLookup != nullptr) {
    stop();
  }
  // A resolver still running uses its lookup: only here is it waited for.
  reapHostLookups(true);
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
  m_serverAddrs.clear();
  if (!m_params.m_stunServers.isEmpty()) startHostLookup(m_params.m_stunServers[0].getBuffer());
  m_upnp = new bdUPnP();
  m_upnpDone = false;
  if (m_ssdpAddr.isValid()) m_upnp->setSSDPAddress(m_ssdpAddr);
  m_upnp->setDiscoveryTime(m_params.m_upnpDiscoveryTime);
  m_upnp->startDiscovery();
  m_upnpStatus = m_upnp->getStatus();
  return true;
}

void bdNetImpl::setSSDPAddress(const bdAddr& addr) { m_ssdpAddr = addr; }

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
  reapHostLookups(false);
  const bool namesResolved = m_serverNameIndex == m_params.m_stunServers.getSize();
  pumpUPnP();
  pumpHostLookup();
  if (m_hostLookup == nullptr && m_ipDiscoveryClient == nullptr &&
      m_natTypeDiscoveryClient == nullptr && (m_upnp == nullptr || m_upnpDone)) {
    if (!startDiscovery()) return;
  }
  bool ipFinished = false;
  bool natFinished = false;
  if (m_ipDiscoveryClient != nullptr) {
    m_ipDiscoveryClient->pump();
    ipFinished = !m_ipDiscoveryClient->isRunning();
  }
  if (m_natTypeDiscoveryClient != nullptr) {
    m_natTypeDiscoveryClient->pump();
    natFinished = !m_natTypeDiscoveryClient->isRunning();
  }
  if (namesResolved && ipFinished && natFinished) finishDiscovery();
}

void bdNetImpl::pumpUPnP() {
  if (m_upnp == nullptr || m_upnpDone) return;
  m_upnp->pump();
  switch (m_upnp->getStatus()) {
    case bdUPnP::BD_UPNP_READY:
      if (m_upnpStatus == bdUPnP::BD_UPNP_DISCOVERING) {
        m_upnp->queryMapping(m_params.m_port, &m_params.m_localAddresses);
      } else if (m_upnpStatus == bdUPnP::BD_UPNP_QUERYING) {
        // The router needs an address to forward to; without one the
        // mapping can never be made.
        if (m_params.m_localAddresses.isEmpty()) {
          giveUpUPnP();
          return;
        }
        m_upnp->openPort(m_params.m_port, m_params.m_localAddresses[0]);
      }
      m_upnpStatus = m_upnp->getStatus();
      break;
    case bdUPnP::BD_UPNP_COLLISION:
      // The top port has no next one: the count would wrap to "any port".
      if (m_params.m_port == 0xFFFF) {
        giveUpUPnP();
        return;
      }
      ++m_params.m_port;
      bdLogInfo(kChannel, "UPnP Mapping collision found. New port Selected: %d",
                static_cast<int>(m_params.m_port));
      m_upnp->queryMapping(m_params.m_port, &m_params.m_localAddresses);
      m_upnpStatus = m_upnp->getStatus();
      break;
    case bdUPnP::BD_UPNP_MAPPED:
      m_upnpDone = true;
      break;
    case bdUPnP::BD_UPNP_FAILED:
      giveUpUPnP();
      break;
    case bdUPnP::BD_UPNP_NO_DEVICES:
      m_upnpStatus = bdUPnP::BD_UPNP_NO_DEVICES;
      bdLogInfo(kChannel, "no UPnP NATs found");
      delete m_upnp;
      m_upnp = nullptr;
      break;
    default:
      break;
  }
}

void bdNetImpl::giveUpUPnP() {
  m_upnpStatus = bdUPnP::BD_UPNP_FAILED;
  bdLogWarn(kChannel, "UPnP Traversal failed");
  delete m_upnp;
  m_upnp = nullptr;
}

void bdNetImpl::pumpHostLookup() {
  while (m_hostLookup != nullptr) {
    const bdGetHostByName::bdStatus status = m_hostLookup->getStatus();
    if (status == bdGetHostByName::BD_LOOKUP_PENDING) return;
    if (status == bdGetHostByName::BD_LOOKUP_SUCCEEDED) {
      for (unsigned int i = 0; i < m_hostLookup->getNumAddresses(); ++i)
        m_serverAddrs.pushBack(bdAddr(m_hostLookup->getAddress(i), m_params.m_stunServerPort));
    }
    ++m_serverNameIndex;
    retireHostLookup();
    if (m_serverNameIndex < m_params.m_stunServers.getSize())
      startHostLookup(m_params.m_stunServers[m_serverNameIndex].getBuffer());
  }
}

void bdNetImpl::startHostLookup(const char* name) {
  m_hostLookup = new bdGetHostByName(m_hostResolver);
  // A lookup that cannot start reads as failed and is skipped by the pump.
  m_hostLookup->start(name, m_params.m_hostLookupTimeout);
}

void bdNetImpl::retireHostLookup() {
  if (m_hostLookup == nullptr) return;
  if (m_hostLookup->isResolving()) {
    m_retiredLookups.pushBack(m_hostLookup);
  } else {
    delete m_hostLookup;
  }
  m_hostLookup = nullptr;
}

void bdNetImpl::reapHostLookups(bool wait) {
  for (unsigned int i = 0; i < m_retiredLookups.getSize();) {
    bdGetHostByName* lookup = m_retiredLookups[i];
    if (wait || !lookup->isResolving()) {
      m_retiredLookups.removeAll(lookup);
      delete lookup;
    } else {
      ++i;
    }
  }
  if (wait) m_retiredLookups.reset();
}

bool bdNetImpl::startDiscovery() {
  if (!bindSocket()) return false;
  if (m_serverAddrs.isEmpty()) {
    for (unsigned int i = 0; i < m_params.m_stunServers.getSize(); ++i)
      bdLogWarn(kChannel, "Failed to lookup address %s", m_params.m_stunServers[i].getBuffer());
    m_status = BD_NET_DISCOVERY_FAILED;
    return false;
  }
  createDiscoveryClients();
  return true;
}

void bdNetImpl::createDiscoveryClients() {
  deleteDiscoveryClients();
  const bdAddr& server = m_serverAddrs[m_serverAddrIndex];
  m_ipDiscoveryClient = new bdIPDiscoveryClient(m_params.m_socket, server);
  m_natTypeDiscoveryClient = new bdNATTypeDiscoveryClient(server);
  m_ipDiscoveryClient->startDiscovery();
  m_natTypeDiscoveryClient->startDiscovery();
}

void bdNetImpl::deleteDiscoveryClients() {
  delete m_ipDiscoveryClient;
  m_ipDiscoveryClient = nullptr;
  delete m_natTypeDiscoveryClient;
  m_natTypeDiscoveryClient = nullptr;
}

void bdNetImpl::finishDiscovery() {
  if (m_ipDiscoveryClient->isDone() && m_natTypeDiscoveryClient->succeeded()) {
    if (m_params.m_localAddresses.isEmpty()) {
      bdLogError(kChannel, "No local address specified when starting bdNet. See bdNetStartParams.");
    }
    const bdAddr publicAddr = m_ipDiscoveryClient->getPublicAddress();
    bdNATType natType = m_natTypeDiscoveryClient->getNATType();
    if (m_upnp != nullptr && m_upnp->isPortMapped(publicAddr.getPort())) {
      natType = BD_NAT_OPEN;
      bdLogInfo(kChannel, "UPnP mapping confirmed, changing NAT type to open.");
    }
    m_localCommonAddr = new bdCommonAddr(localAddrs(), publicAddr, natType);
    deleteDiscoveryClients();
    // The server that answered is the introducer tried first.
    bdArray<bdAddr> introducers(m_serverAddrs);
    if (m_serverAddrIndex != 0) {
      introducers[0] = m_serverAddrs[m_serverAddrIndex];
      introducers[m_serverAddrIndex] = m_serverAddrs[0];
    }
    createConnectionStore(introducers);
    m_status = BD_NET_STARTED;
  } else if (m_serverAddrIndex + 1 < m_serverAddrs.getSize()) {
    bdLogInfo(kChannel, "Trying next IP address for IP and NAT discovery.");
    ++m_serverAddrIndex;
    createDiscoveryClients();
  } else {
    for (unsigned int i = 0; i < m_params.m_stunServers.getSize(); ++i) {
      bdLogWarn(kChannel, "Failed to do IP and NAT discovery using %s",
                m_params.m_stunServers[i].getBuffer());
    }
    m_status = BD_NET_DISCOVERY_FAILED;
  }
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
  if (m_upnp != nullptr && m_upnp->getMappedPortCount() > 0) {
    m_upnp->startClosing();
    m_upnp->pump();
  }
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
  closeUPnP();
  retireHostLookup();
  reapHostLookups(false);
  if (m_params.m_socket != nullptr) {
    m_params.m_socket->close();
    delete m_params.m_socket;
    m_params.m_socket = nullptr;
  }
  m_portSocket.close();
  deleteDiscoveryClients();
  m_status = BD_NET_STOPPED;
  m_serverAddrIndex = 0;
  m_serverNameIndex = 0;
  m_params.m_localAddresses.clear();
  m_params.m_stunServers.clear();
  m_securityKeyMap.clear();
  m_serverAddrs.clear();
}

void bdNetImpl::closeUPnP() {
  if (m_upnp == nullptr) return;
  // The router's own time-out is ten seconds, and never comes on a stopped
  // clock: removing the mappings gets as long as the drain, no more.
  bdStopwatch closing;
  closing.start();
  for (unsigned int i = 0; i < UPNP_CLOSE_ROUNDS && m_upnp->getStatus() == bdUPnP::BD_CLOSING &&
                           closing.getElapsedTimeAsSeconds() < STOP_DRAIN_SECONDS;
       ++i) {
    m_upnp->pump();
    if (m_upnp->getStatus() == bdUPnP::BD_CLOSING) bdPlatformTiming::sleep(1);
  }
  delete m_upnp;
  m_upnp = nullptr;
  m_upnpDone = false;
}

void bdNetImpl::registerDispatchInterceptor(bdDispatchInterceptor* interceptor) {
  m_dispatchInterceptors.pushBack(interceptor);
}

void bdNetImpl::unregisterDispatchInterceptor(bdDispatchInterceptor* interceptor) {
  m_dispatchInterceptors.removeAll(interceptor);
}
