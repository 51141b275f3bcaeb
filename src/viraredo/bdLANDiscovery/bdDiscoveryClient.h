#pragma once
// Searches the local network for hosted games: broadcasts one request and
// hands every matching reply to the listeners until the search time is over.
#include <cstdint>

#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdLANDiscovery/bdDiscoveryListener.h"
#include "bdLANDiscovery/bdLANDiscoveryPacket.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSocket.h"

class bdDiscoveryClient {
 public:
  enum bdStatus { BD_IDLE = 0, BD_RUNNING = 1, BD_FAILED = 2 };
  static constexpr unsigned int MAX_DATAGRAM_SIZE = 1500;

  bdDiscoveryClient();
  ~bdDiscoveryClient();
  bdDiscoveryClient(const bdDiscoveryClient&) = delete;
  bdDiscoveryClient& operator=(const bdDiscoveryClient&) = delete;

  // This host's own common address, against which replies are read; unless
  // set, the network façade's (bdSingleton<bdNetImpl>).
  void setLocalCommonAddr(bdReference<bdCommonAddr> local) { m_localAddr = local; }
  // Sends a request for titleID to target (normally the broadcast address)
  // on the discovery port; port is for tests.
  bool discover(const unsigned int titleID, const float seconds, const bdInetAddr& target,
                unsigned short port = bdLANDiscoveryPacket::PORT);
  // Handles at most one datagram, then ends the search once its time is over.
  void update();
  bdStatus getStatus() const { return m_status; }
  void registerListener(bdDiscoveryListener* listener);
  void unregisterListener(bdDiscoveryListener* listener);

  // One received datagram (used by update; exposed for fuzzing).
  void handleDatagram(const bdAddr& from, const unsigned char* data, unsigned int size);

 private:
  bdReference<bdCommonAddr> localCommonAddr() const;

  float m_duration;
  bdStopwatch m_timer;
  bdSocket m_socket;
  unsigned char m_nonce[bdLANDiscoveryPacket::NONCE_SIZE];
  bdFastArray<bdDiscoveryListener*> m_listeners;
  bdStatus m_status;
  bool m_socketOpen;
  bdReference<bdCommonAddr> m_localAddr;
};
