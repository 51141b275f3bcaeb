#pragma once
// What the network façade starts with; copied by start.
#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdString.h"
#include "bdSocket/bdInetAddr.h"

class bdSocket;

class bdNetStartParams {
 public:
  static constexpr unsigned short DEFAULT_PORT = 3074;

  bdNetStartParams();
  bdNetStartParams(const bdNetStartParams& other) = default;
  bdNetStartParams& operator=(const bdNetStartParams& other) = default;

  // True: start asynchronously with host lookup, UPnP and public address
  // and NAT type discovery. False: start at once, NAT type open.
  bool m_useDiscovery;
  // The local UDP port asked for; start stores the one it used. 0 takes
  // any free port.
  unsigned short m_port;
  // Used instead of a socket of the façade's own; the façade owns it from
  // start on and deletes it at stop.
  bdSocket* m_socket;
  bdArray<bdString> m_stunServers;
  unsigned short m_stunServerPort;
  // This machine's own IPv4 addresses; must not be empty.
  bdArray<bdInetAddr> m_localAddresses;
  float m_hostLookupTimeout;
  // Seconds UPnP discovery listens for routers; 0 switches UPnP off.
  unsigned int m_upnpDiscoveryTime;
};
