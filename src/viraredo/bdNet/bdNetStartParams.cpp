#include "bdNet/bdNetStartParams.h"

bdNetStartParams::bdNetStartParams()
    : m_useDiscovery(false),
      m_port(DEFAULT_PORT),
      m_socket(nullptr),
      m_stunServers(),
      m_stunServerPort(DEFAULT_PORT),
      m_localAddresses(),
      m_hostLookupTimeout(10.0f),
      m_upnpDiscoveryTime(3) {
  // One discovery server per region: Europe, United States, Japan, Australia.
  m_stunServers.pushBack("discovery-eu.viraredo.net");
  m_stunServers.pushBack("discovery-us.viraredo.net");
  m_stunServers.pushBack("discovery-jp.viraredo.net");
  m_stunServers.pushBack("discovery-au.viraredo.net");
}
