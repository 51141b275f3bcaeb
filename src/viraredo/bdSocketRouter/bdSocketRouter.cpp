#include "bdSocketRouter/bdSocketRouter.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdSocket/bdSocket.h"

namespace {

const char* const kChannel = "bdSocket/socket";

// The highest first byte of a secured association packet.
const unsigned char kLastAssociationType = 8;

struct HandleText {
  explicit HandleText(const bdAddrHandleRef& handle) {
    if (handle.notNull()) handle->toString(text, sizeof text);
  }
  char text[22] = "";
};

struct AddrText {
  explicit AddrText(const bdAddr& addr) { addr.toString(text, sizeof text); }
  char text[100] = "";
};

}  // namespace

bdSocketRouter::bdSocketRouter(bdSocket* socket, bdSecurityKeyMap* keyMap, bdDHKey* keyPair,
                               const bdArray<bdAddr>& introducers,
                               bdReference<bdCommonAddr> localAddr)
    : m_socket(socket),
      m_natTrav(introducers, socket, &m_limiter, localAddr),
      m_keyMap(keyMap),
      m_keyPair(keyPair),
      m_limiter(),
      m_addrMap(),
      m_localAddr(localAddr),
      m_dtlsAssociations(4, 0.75f),
      m_addrResolutions(4, 0.75f),
      m_qosProbe(socket, &m_natTrav, &m_limiter),
      m_interceptors() {
  m_interceptors.pushBack(&m_natTrav);
  m_interceptors.pushBack(&m_qosProbe);
  if (m_keyMap != nullptr) m_keyMap->registerListener(this);
}

bdSocketRouter::~bdSocketRouter() {
  // The key map outlives the router and would otherwise call a dead listener.
  if (m_keyMap != nullptr) m_keyMap->unregisterListener();
  for (auto it = m_dtlsAssociations.getIterator(); it != nullptr;
       it = m_dtlsAssociations.next(it)) {
    delete m_dtlsAssociations.getValue(it);
  }
  m_dtlsAssociations.clear();
  m_addrResolutions.clear();
  m_interceptors.clear();
  m_socket = nullptr;
}

bool bdSocketRouter::connect(bdAddrHandleRef handle) {
  if (handle.isNull() || handle->m_ca.isNull()) {
    bdLogWarn(kChannel, "Cannot connect an address handle without an address.");
    return false;
  }
  char info[1024];
  bdCommonAddrInfo::getInfo(handle->m_ca, info, sizeof info);
  bdLogInfo(kChannel, "\tConnecting to address.");
  bdLogInfo(kChannel, "%s", info);
  switch (handle->m_status) {
    case bdAddrHandle::BD_ADDR_NOT_RESOLVED:
      bdLogInfo(kChannel, "Address not resolved. Sending to NAT Trav.");
      break;
    case bdAddrHandle::BD_ADDR_ERROR:
      bdLogInfo(kChannel, "Address resolution failed. Trying again.");
      break;
    case bdAddrHandle::BD_ADDR_UNREGISTERED:
      bdLogInfo(kChannel, "Address has been unregistered. Starting again.");
      break;
    case bdAddrHandle::BD_ADDR_RESOLVED:
      bdLogInfo(kChannel, "Address already resolved. Nothing to do.");
      return true;
    default:
      return true;
  }
  const unsigned int key = handle->m_ca->getHash();
  // A search already under way reports to this router once; asking again
  // would make the router its second listener and a third ask would fail.
  if (m_addrResolutions.contains(key)) {
    m_addrResolutions.remove(key);
    m_addrResolutions.put(key, handle);
    return true;
  }
  m_addrResolutions.put(key, handle);
  if (!m_natTrav.connect(handle->m_ca, this, false)) {
    m_addrResolutions.remove(key);
    return false;
  }
  return true;
}

bdDTLSAssociation* bdSocketRouter::findAssociation(const bdAddr& addr) const {
  bdDTLSAssociation* association = nullptr;
  m_dtlsAssociations.get(addr, association);
  return association;
}

bdDTLSAssociation* bdSocketRouter::makeAssociation(const bdAddr& addr, bdAddrHandleRef handle) {
  return new bdDTLSAssociation(m_socket, m_keyMap, m_keyPair, &m_addrMap, m_localAddr, addr,
                               handle);
}

int bdSocketRouter::sendTo(const bdAddrHandleRef& handle, const void* data, unsigned int size) {
  bdDTLSAssociation* association = handle.notNull() ? findAssociation(handle->m_realAddr) : nullptr;
  if (association != nullptr) return association->sendTo(handle->m_realAddr, data, size);
  bdLogError(kChannel, "Not established! Call connect() first.");
  char brief[256] = "";
  if (handle.notNull()) bdCommonAddrInfo::getBriefInfo(handle->m_ca, brief, sizeof brief);
  bdLogInfo(kChannel, "%s", brief);
  return -1;
}

int bdSocketRouter::receiveFrom(bdAddrHandleRef& handle, unsigned char* data, unsigned int size) {
  // The datagram is read into a buffer of its own: the association writes
  // the decrypted payload into the caller's.
  unsigned char datagram[bdAddr::MAX_DATAGRAM_SIZE];
  unsigned int failures = 0;
  for (;;) {
    bdAddr from;
    const int n = m_socket->receiveFrom(from, datagram, sizeof datagram);
    if (n == 0) continue;
    if (n < 0) {
      if (n == BD_NET_WOULD_BLOCK || n == BD_NET_MSG_SIZE) return n;
      if (n == BD_NET_CONNECTION_RESET) {
        bdLogInfo(kChannel, "Connection reset packet received. Ignoring.");
      } else {
        bdLogInfo(kChannel, "Unknown error code: %d.", n);
      }
      // A socket that fails the same way on every read would hold the
      // caller here for ever.
      if (++failures >= MAX_FAILED_READS) return n;
      continue;
    }
    failures = 0;
    const unsigned int length = static_cast<unsigned int>(n);
    if (datagram[0] > kLastAssociationType) {
      for (unsigned int i = 0; i < m_interceptors.getSize(); ++i) {
        if (m_interceptors[i]->acceptPacket(m_socket, from, datagram, length)) break;
      }
      continue;
    }
    const int r = receiveAssociationPacket(from, datagram, length, handle, data, size);
    if (r >= 0) return r;
  }
}

int bdSocketRouter::receiveAssociationPacket(const bdAddr& from, const unsigned char* datagram,
                                             unsigned int length, bdAddrHandleRef& handle,
                                             unsigned char* data, unsigned int size) {
  bdDTLSAssociation* association = findAssociation(from);
  if (association != nullptr) {
    return association->receiveFrom(from, datagram, length, handle, data, size);
  }
  // A stranger: only a packet that completes a handshake leaves state behind
  // (the INIT-ACK's cookie carries the rest).
  association = makeAssociation(from, bdAddrHandleRef());
  const int r = association->receiveFrom(from, datagram, length, handle, data, size);
  if (association->getStatus() == BD_SOCKET_CONNECTED) {
    const AddrText text(from);
    bdLogInfo(kChannel, "New incoming DTLS connection from %s.", text.text);
    if (m_dtlsAssociations.put(from, association)) return r;
  }
  delete association;
  return r;
}

bdSocketStatus bdSocketRouter::getStatus(const bdAddrHandleRef& handle) {
  if (handle.isNull()) return BD_SOCKET_IDLE;
  switch (handle->m_status) {
    case bdAddrHandle::BD_ADDR_NOT_RESOLVED:
      return BD_SOCKET_PENDING;
    case bdAddrHandle::BD_ADDR_RESOLVED: {
      bdDTLSAssociation* association = findAssociation(handle->m_realAddr);
      if (association != nullptr) return association->getStatus();
      const HandleText text(handle);
      bdLogError(kChannel, "Invalid state! %s", text.text);
      return BD_SOCKET_LOST;
    }
    case bdAddrHandle::BD_ADDR_ERROR: {
      const HandleText text(handle);
      bdLogInfo(kChannel, "Address handle error. Socket lost. %s", text.text);
      return BD_SOCKET_LOST;
    }
    case bdAddrHandle::BD_ADDR_UNREGISTERED: {
      const HandleText text(handle);
      bdLogInfo(kChannel, "Address handle unresolved. Socket lost. %s", text.text);
      return BD_SOCKET_LOST;
    }
    default:
      return BD_SOCKET_IDLE;
  }
}

void bdSocketRouter::pump() {
  m_natTrav.pump();
  m_qosProbe.pump();
  bdArray<bdAddr> closed;
  for (auto it = m_dtlsAssociations.getIterator(); it != nullptr;
       it = m_dtlsAssociations.next(it)) {
    bdDTLSAssociation* association = m_dtlsAssociations.getValue(it);
    association->pump();
    switch (association->getStatus()) {
      case BD_SOCKET_IDLE:
        bdLogWarn(kChannel, "Invalid state!");
        break;
      case BD_SOCKET_LOST: {
        const AddrText text(m_dtlsAssociations.getKey(it));
        bdLogInfo(kChannel, "DTLS closed. Removing to %s.", text.text);
        bdAddrHandleRef handle = association->getAddrHandle();
        if (handle.notNull()) handle->m_status = bdAddrHandle::BD_ADDR_UNREGISTERED;
        closed.pushBack(m_dtlsAssociations.getKey(it));
        break;
      }
      default:
        break;
    }
  }
  for (unsigned int i = 0; i < closed.getSize(); ++i)
    removeAssociation(closed[i]);
}

void bdSocketRouter::removeAssociation(const bdAddr& addr) {
  bdDTLSAssociation* association = findAssociation(addr);
  if (association == nullptr) {
    bdAssertMsg("Couldn't find dlts connection in map.");
    return;
  }
  delete association;
  m_dtlsAssociations.remove(addr);
  const AddrText text(addr);
  bdLogInfo(kChannel, "removed dtls connection to %s", text.text);
}

void bdSocketRouter::onNATAddrDiscovery(bdReference<bdCommonAddr> target, const bdAddr& found) {
  bdAddrHandleRef handle;
  if (target.isNull() || !m_addrResolutions.get(target->getHash(), handle)) {
    char info[1024] = "";
    bdCommonAddrInfo::getInfo(target, info, sizeof info);
    bdLogError(kChannel, "address lookup failed.");
    bdLogError(kChannel, "%s", info);
    return;
  }
  m_addrResolutions.remove(target->getHash());
  handle->m_realAddr = found;
  handle->m_status = bdAddrHandle::BD_ADDR_RESOLVED;
  if (findAssociation(found) != nullptr) {
    bdLogWarn(kChannel, "already connected.");
    return;
  }
  const AddrText text(found);
  bdLogInfo(kChannel, "Address lookup succeeded. Creating DTLS conn to %s.", text.text);
  bdDTLSAssociation* association = makeAssociation(found, handle);
  association->connect();
  if (!m_dtlsAssociations.put(found, association)) delete association;
}

void bdSocketRouter::onNATAddrDiscoveryFailed(bdReference<bdCommonAddr> target) {
  char info[1024] = "";
  bdCommonAddrInfo::getInfo(target, info, sizeof info);
  bdLogInfo(kChannel, "Address lookup failed");
  bdLogInfo(kChannel, "%s", info);
  bdAddrHandleRef handle;
  if (target.notNull() && m_addrResolutions.get(target->getHash(), handle) &&
      handle->m_status == bdAddrHandle::BD_ADDR_NOT_RESOLVED) {
    handle->m_status = bdAddrHandle::BD_ADDR_ERROR;
  }
  if (target.isNull() || !m_addrResolutions.remove(target->getHash())) {
    bdLogError(kChannel, "address lookup failed.");
  }
}

void bdSocketRouter::onSecurityKeyRemove(const bdSecurityID& id) {
  bdArray<bdAddr> dropped;
  for (auto it = m_dtlsAssociations.getIterator(); it != nullptr;
       it = m_dtlsAssociations.next(it)) {
    bdDTLSAssociation* association = m_dtlsAssociations.getValue(it);
    if (std::memcmp(association->getSecID().ab, id.ab, bdSecurityID::SIZE) != 0) continue;
    bdAddrHandleRef handle = association->getAddrHandle();
    if (handle.notNull()) handle->m_status = bdAddrHandle::BD_ADDR_UNREGISTERED;
    dropped.pushBack(m_dtlsAssociations.getKey(it));
  }
  for (unsigned int i = 0; i < dropped.getSize(); ++i) {
    delete findAssociation(dropped[i]);
    m_dtlsAssociations.remove(dropped[i]);
  }
}
