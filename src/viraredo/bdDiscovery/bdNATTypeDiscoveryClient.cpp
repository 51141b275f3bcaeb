#include "bdDiscovery/bdNATTypeDiscoveryClient.h"

#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdDiscovery/bdDiscoveryPackets.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdSocket/bdSocket.h"

namespace {
const char* const kChannel = "bdSocket/nat";
}

bdNATTypeDiscoveryClient::bdNATTypeDiscoveryClient(const bdAddr& server)
    : bdNATTypeDiscoveryClient(server, nullptr) {
  bdSocket* socket = new bdSocket();
  bool bound = false;
  if (socket->create(false)) {
    for (unsigned int i = 0; i < MAX_BIND_ATTEMPTS && !bound; ++i) {
      unsigned short port = static_cast<unsigned short>(bdRandom::getInstance()->getRandomUInt());
      if (port < 1025) port = static_cast<unsigned short>(port + 1025);
      bound = socket->bind(port) == BD_NET_SUCCESS;
    }
  }
  if (!bound) {
    bdLogWarn(kChannel, "Failed to create socket");
    delete socket;
    return;
  }
  m_socket = socket;
}

bdNATTypeDiscoveryClient::bdNATTypeDiscoveryClient(const bdAddr& server, bdSocket* ownedSocket)
    : m_socket(ownedSocket),
      m_server(server),
      m_natType(BD_NAT_STRICT),
      m_succeeded(false),
      m_state(0),
      m_tries(0) {}

bdNATTypeDiscoveryClient::~bdNATTypeDiscoveryClient() {
  if (m_socket != nullptr) {
    m_socket->close();
    delete m_socket;
  }
}

bool bdNATTypeDiscoveryClient::sendRequest(unsigned int test) {
  if (m_socket == nullptr) return false;
  unsigned char buffer[8];
  unsigned int size = 0;
  if (!bdNATTypeDiscoveryPacket(bdNATTypeDiscoveryPacket::flagsForTest(test))
           .serialize(buffer, sizeof buffer, 0, size)) {
    bdLogError(kChannel, "Failed to serialize a packet.");
    return false;
  }
  return m_socket->sendTo(m_server, buffer, size) == static_cast<int>(size);
}

bool bdNATTypeDiscoveryClient::startDiscovery() {
  m_state = 1;
  m_timer.start();
  bdLogInfo(kChannel, "Running test 1");
  return sendRequest(1);
}

void bdNATTypeDiscoveryClient::pump() {
  bool reading = m_socket != nullptr;
  while (reading) {
    unsigned char buffer[bdAddr::MAX_DATAGRAM_SIZE];
    bdAddr from;
    const int got = m_socket->receiveFrom(from, buffer, sizeof buffer);
    if (got >= 0) {
      bdNATTypeDiscoveryPacketReply reply;
      unsigned int end = 0;
      if (reply.deserialize(buffer, static_cast<unsigned int>(got), 0, end) &&
          reply.getType() == bdNATTypeDiscoveryPacketReply::TYPE)
        handleResponse(from, reply);
    } else if (got == BD_NET_WOULD_BLOCK || got == BD_NET_BLOCKING_CALL_CANCELED) {
      reading = false;
    } else if (got != BD_NET_CONNECTION_RESET && got != BD_NET_MSG_SIZE) {
      bdLogWarn(kChannel, "net error.");
      reading = false;
    }
  }
  if (m_state >= 1 && m_state <= 3) sendForTest(m_state);
}

void bdNATTypeDiscoveryClient::sendForTest(unsigned int test) {
  if (m_timer.getElapsedTimeAsSeconds() <= RESEND_SECONDS) return;
  if (m_tries++ < MAX_TRIES) {
    m_timer.start();
    bdLogInfo(kChannel, "Running test %u", test);
    sendRequest(test);
    return;
  }
  if (test == 1) {
    bdLogInfo(kChannel, "Test 1 failed. Not online.");
    m_state = 4;
  } else if (test == 2) {
    bdLogInfo(kChannel, "Test 2 failed.");
    m_tries = 0;
    m_state = 3;
  } else {
    bdLogInfo(kChannel, "Test 3 failed. Strict NAT.");
    m_natType = BD_NAT_STRICT;
    m_succeeded = true;
    m_state = 4;
  }
}

void bdNATTypeDiscoveryClient::handleResponse(const bdAddr& from,
                                              const bdNATTypeDiscoveryPacketReply& reply) {
  switch (m_state) {
    case 1:
      m_secondaryAddr = reply.getSecondaryAddress();
      m_mappedAddr = reply.getMappedAddress();
      m_state = 2;
      m_tries = 0;
      bdLogInfo(kChannel, "Reply for test 1. Start test 2.");
      sendRequest(2);
      break;
    case 2:
      if (from.getAddress() == m_secondaryAddr.getAddress() &&
          from.getPort() != m_secondaryAddr.getPort()) {
        bdLogInfo(kChannel, "Reply for test 2. Open NAT (or no NAT).");
        m_natType = BD_NAT_OPEN;
        m_succeeded = true;
        m_state = 4;
      }
      break;
    case 3:
      if (reply.getMappedAddress() == m_mappedAddr) {
        bdLogInfo(kChannel, "Reply for test 3. Moderate NAT.");
        m_natType = BD_NAT_MODERATE;
      } else {
        bdLogInfo(kChannel, "Reply for test 3. Strict NAT.");
        m_natType = BD_NAT_STRICT;
      }
      m_succeeded = true;
      m_state = 4;
      break;
    default:
      break;
  }
}
