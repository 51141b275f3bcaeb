#pragma once
// Advertises a hosted game on the local network: answers every discovery
// request for its title with the game's info.
#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdLANDiscovery/bdDiscoveryListener.h"
#include "bdLANDiscovery/bdGameInfo.h"
#include "bdLANDiscovery/bdLANDiscoveryPacket.h"
#include "bdSocket/bdSocket.h"

class bdDiscoveryServer {
 public:
  enum bdStatus { BD_NOT_INITIALIZED = 0, BD_RUNNING = 1, BD_FAILED = 2 };

  bdDiscoveryServer();
  ~bdDiscoveryServer();
  bdDiscoveryServer(const bdDiscoveryServer&) = delete;
  bdDiscoveryServer& operator=(const bdDiscoveryServer&) = delete;

  // Binds to (bindAddress, port); port is the discovery port but for tests,
  // where 0 picks a free one (see getPort).
  bool start(bdReference<bdGameInfo> gameInfo, const bdInetAddr& bindAddress,
             unsigned short port = bdLANDiscoveryPacket::PORT);
  // Answers at most one waiting request.
  void update();
  void close();
  void stop();
  bdStatus getStatus() const { return m_status; }
  // The bound port once started.
  unsigned short getPort() const { return m_port; }
  void registerListener(bdDiscoveryListener* listener);
  void unregisterListener(bdDiscoveryListener* listener);

 private:
  bdReference<bdGameInfo> m_gameInfo;
  bdSocket m_socket;
  bdFastArray<bdDiscoveryListener*> m_listeners;
  bdStatus m_status;
  bool m_socketOpen;
  unsigned short m_port;
};
