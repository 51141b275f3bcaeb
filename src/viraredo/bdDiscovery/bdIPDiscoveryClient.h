#pragma once
// Learns this host's public address as a discovery server sees it, on the
// caller's socket.
#include <cstdint>

#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdSocket/bdAddr.h"

class bdSocket;

class bdIPDiscoveryClient {
 public:
  static constexpr unsigned int MAX_TRIES = 5;
  static constexpr double RESEND_SECONDS = 0.5;

  bdIPDiscoveryClient(bdSocket* socket, const bdAddr& server);

  bool startDiscovery();
  void pump();
  bool isRunning() const { return !m_discovered && m_tries < MAX_TRIES; }
  bool isDone() const { return m_discovered; }
  bdAddr getPublicAddress() const;

 private:
  bool sendRequest();

  bdSocket* m_socket;
  bdAddr m_server;
  bdAddr m_publicAddr;
  bool m_discovered;
  std::uint8_t m_tries;
  bdStopwatch m_timer;
};
