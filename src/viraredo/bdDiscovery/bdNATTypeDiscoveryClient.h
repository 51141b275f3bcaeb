#pragma once
// Classifies the NAT in front of this host as open, moderate or strict with up
// to three tests against a discovery server, on a socket of its own.
#include <cstdint>

#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdCommonAddr.h"

class bdSocket;
class bdNATTypeDiscoveryPacketReply;

class bdNATTypeDiscoveryClient {
 public:
  static constexpr unsigned int MAX_TRIES = 5;
  static constexpr double RESEND_SECONDS = 0.5;
  // Random ports tried before the client gives up on a socket.
  static constexpr unsigned int MAX_BIND_ATTEMPTS = 64;

  // Creates and binds its own socket on a random port above 1024.
  explicit bdNATTypeDiscoveryClient(const bdAddr& server);
  // Takes ownership of a socket already bound (tests pass a fake).
  bdNATTypeDiscoveryClient(const bdAddr& server, bdSocket* ownedSocket);
  ~bdNATTypeDiscoveryClient();
  bdNATTypeDiscoveryClient(const bdNATTypeDiscoveryClient&) = delete;
  bdNATTypeDiscoveryClient& operator=(const bdNATTypeDiscoveryClient&) = delete;

  bool startDiscovery();
  void pump();
  bool isRunning() const { return m_state != 4; }
  bool succeeded() const { return m_succeeded; }
  bdNATType getNATType() const { return m_natType; }

 private:
  bool sendRequest(unsigned int test);
  void sendForTest(unsigned int test);
  void handleResponse(const bdAddr& from, const bdNATTypeDiscoveryPacketReply& reply);

  bdSocket* m_socket;
  bdAddr m_server;
  bdAddr m_mappedAddr;
  bdAddr m_secondaryAddr;
  bdNATType m_natType;
  bool m_succeeded;
  unsigned int m_state;  // 0 idle, 1..3 running that test, 4 done
  std::uint8_t m_tries;
  bdStopwatch m_timer;
};
