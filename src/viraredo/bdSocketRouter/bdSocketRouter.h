#pragma once
// Everything that talks to peers shares one UDP socket through the router:
// datagrams whose first byte is 8 or less belong to the secured association
// of their sender's address, the rest are offered to the interceptors (NAT
// traversal first, then QoS probing). Upper layers name peers by address
// handle only: connect resolves the handle through NAT traversal and opens
// the association; sendTo and receiveFrom carry application payloads.
#include "bdAddressMap/bdAddressMap.h"
#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdCore/bdContainers/bdHashingClass.h"
#include "bdDTLS/bdDTLSAssociation.h"
#include "bdNATTraversal/bdNATTravClient.h"
#include "bdNATTraversal/bdNATTravListener.h"
#include "bdQoS/bdQoSProbe.h"
#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"
#include "bdSocketRouter/bdPacketInterceptor.h"

class bdDHKey;
class bdSocket;

class bdSocketRouter : public bdNATTravListener, public bdSecurityKeyMapListener {
 public:
  // How many failed reads in a row end one receiveFrom with the last code.
  static constexpr unsigned int MAX_FAILED_READS = 64;

  // None of the pointers is owned. localAddr is this host's common address,
  // which NAT traversal and the associations send to peers.
  bdSocketRouter(bdSocket* socket, bdSecurityKeyMap* keyMap, bdDHKey* keyPair,
                 const bdArray<bdAddr>& introducers, bdReference<bdCommonAddr> localAddr);
  ~bdSocketRouter() override;
  bdSocketRouter(const bdSocketRouter&) = delete;
  bdSocketRouter& operator=(const bdSocketRouter&) = delete;

  // Starts resolving the handle's common address unless it is resolved.
  bool connect(bdAddrHandleRef handle);
  // The association's send result, or -1 when there is none for the handle.
  virtual int sendTo(const bdAddrHandleRef& handle, const void* data, unsigned int size);
  // The length of the next application payload, written to data, with
  // handle naming its sender; else a negative socket code (never 0).
  virtual int receiveFrom(bdAddrHandleRef& handle, unsigned char* data, unsigned int size);
  bdSocketStatus getStatus(const bdAddrHandleRef& handle);
  void pump();

  void onNATAddrDiscovery(bdReference<bdCommonAddr> target, const bdAddr& found) override;
  void onNATAddrDiscoveryFailed(bdReference<bdCommonAddr> target) override;
  void onSecurityKeyRemove(const bdSecurityID& id) override;

  bdAddressMapImpl& getAddressMap() { return m_addrMap; }
  bdQoSProbe* getQoSProbe() { return &m_qosProbe; }
  bdNATTravClient* getNATTravClient() { return &m_natTrav; }
  unsigned int getAssociationCount() const { return m_dtlsAssociations.getSize(); }
  unsigned int getPendingResolutionCount() const { return m_addrResolutions.getSize(); }

 private:
  class bdAddrHash {
   public:
    static unsigned int getHash(const bdAddr& addr) { return addr.getHash(); }
  };

  bdDTLSAssociation* makeAssociation(const bdAddr& addr, bdAddrHandleRef handle);
  bdDTLSAssociation* findAssociation(const bdAddr& addr) const;
  int receiveAssociationPacket(const bdAddr& from, const unsigned char* datagram,
                               unsigned int length, bdAddrHandleRef& handle, unsigned char* data,
                               unsigned int size);
  void removeAssociation(const bdAddr& addr);

  bdSocket* m_socket;
  bdNATTravClient m_natTrav;
  bdSecurityKeyMap* m_keyMap;
  bdDHKey* m_keyPair;
  bdBandwidthLimiter m_limiter;
  bdAddressMapImpl m_addrMap;
  bdReference<bdCommonAddr> m_localAddr;
  bdHashMap<bdAddr, bdDTLSAssociation*, bdAddrHash> m_dtlsAssociations;
  // Handles whose NAT traversal is under way, by their common address's hash
  // (the key NAT traversal itself keeps them by).
  bdHashMap<unsigned int, bdAddrHandleRef, bdHashingClass> m_addrResolutions;
  bdQoSProbe m_qosProbe;
  bdFastArray<bdPacketInterceptor*> m_interceptors;
};
