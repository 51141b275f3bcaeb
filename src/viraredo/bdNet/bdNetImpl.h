#pragma once
// The one object through which the host starts, drives and stops the SDK's
// datagram networking. It owns the UDP socket, this host's key pair, the
// security key map, the local common address and the connection store.
// The program reaches it through bdSingleton<bdNetImpl>::getInstance(); it is
// an ordinary class, so tests may run several in one process.
//
// Each update of the host: while getStatus() is 1, pump(); while it is 2,
// pump(), sendAll(), then receiveAndDispatchAll(), which hands every received
// message to the registered dispatch interceptors. Everything runs on the
// caller's thread; only stop() waits (a one-second drain).
#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdGetHostByName/bdGetHostByName.h"
#include "bdNet/bdDispatchInterceptor.h"
#include "bdNet/bdNetStartParams.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"
#include "bdSocket/bdSocket.h"

class bdConnectionStore;
class bdDHKey;
class bdIPDiscoveryClient;
class bdNATTypeDiscoveryClient;
class bdUPnP;

class bdNetImpl {
 public:
  enum bdNetStatus {
    BD_NET_STOPPED = 0,
    BD_NET_STARTING = 1,
    BD_NET_STARTED = 2,
    BD_NET_DISCOVERY_FAILED = -2,
    BD_NET_SOCKET_FAILED = -3,
  };
  // Ports tried beyond the one asked for.
  static constexpr unsigned int PORT_SEARCH_RANGE = 100;
  static constexpr double STOP_DRAIN_SECONDS = 1.0;
  static constexpr unsigned int STOP_DRAIN_SLEEP_MS = 20;
  // Removing the router's mappings at stop waits no longer than the drain.
  static constexpr unsigned int UPNP_CLOSE_ROUNDS = 1000;

  bdNetImpl();
  virtual ~bdNetImpl();
  bdNetImpl(const bdNetImpl&) = delete;
  bdNetImpl& operator=(const bdNetImpl&) = delete;

  // False when already started (status not 0) or when no port is free.
  bool start(const bdNetStartParams& params);
  int getStatus() const { return m_status; }
  // Advances a start with discovery; nothing otherwise.
  void pump();
  void receiveAndDispatchAll();
  void sendAll();
  // Disconnects every connection, drains for a second, then releases
  // everything but the key pair and the local common address.
  void stop();

  void registerDispatchInterceptor(bdDispatchInterceptor* interceptor);
  void unregisterDispatchInterceptor(bdDispatchInterceptor* interceptor);

  bdConnectionStore* getConnectionStore() { return m_connectionStore; }
  bdSecurityKeyMap* getSecurityKeyMap() { return &m_securityKeyMap; }
  // Null before the started state.
  bdReference<bdCommonAddr> getLocalCommonAddr() const { return m_localCommonAddr; }
  const bdNetStartParams& getParams() const { return m_params; }

  // Where the next start's UPnP search goes (the SSDP multicast group unless
  // set) and which resolver its host-name lookups use (the platform's unless
  // set); for tests on loopback.
  void setSSDPAddress(const bdAddr& addr);
  void setHostResolver(bdGetHostByName::Resolver resolver) { m_hostResolver = resolver; }

 private:
  unsigned short findFreePort(unsigned short port) const;
  bool bindSocket();
  bdArray<bdAddr> localAddrs() const;
  void createConnectionStore(const bdArray<bdAddr>& introducers);
  void dispatch(bdReference<bdConnection> connection);
  void pumpUPnP();
  void giveUpUPnP();
  void pumpHostLookup();
  void startHostLookup(const char* name);
  // Lets go of the current lookup without waiting for its resolver.
  void retireHostLookup();
  // Frees retired lookups whose resolver has returned; all of them when wait.
  void reapHostLookups(bool wait);
  // Binds the main socket and starts discovery on the first server address;
  // false when the start failed (the status says why).
  bool startDiscovery();
  void createDiscoveryClients();
  void deleteDiscoveryClients();
  void finishDiscovery();
  void closeUPnP();

  bdNetStartParams m_params;
  bdReference<bdCommonAddr> m_localCommonAddr;
  bdDHKey* m_dhKey;
  bdSecurityKeyMap m_securityKeyMap;
  bdConnectionStore* m_connectionStore;
  bdFastArray<bdDispatchInterceptor*> m_dispatchInterceptors;
  int m_status;
  bdIPDiscoveryClient* m_ipDiscoveryClient;
  bdNATTypeDiscoveryClient* m_natTypeDiscoveryClient;
  bdGetHostByName* m_hostLookup;
  bdArray<bdAddr> m_serverAddrs;
  unsigned int m_serverAddrIndex;
  unsigned int m_serverNameIndex;
  bdUPnP* m_upnp;
  bool m_upnpDone;
  int m_upnpStatus;
  bdSocket m_portSocket;
  bdAddr m_ssdpAddr;
  bdGetHostByName::Resolver m_hostResolver;
  // Lookups that timed out while their resolver still runs: freed once it
  // returns, so the caller never waits for a hung resolver.
  bdFastArray<bdGetHostByName*> m_retiredLookups;
};
