#include "bdDiscovery/bdIPDiscoveryClient.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdDiscovery/bdDiscoveryPackets.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdSocket/bdSocket.h"

namespace {
const char* const kChannel = "bdSocket/nat";
}

bdIPDiscoveryClient::bdIPDiscoveryClient(bdSocket* socket, const bdAddr& server)
    : m_socket(socket), m_server(server), m_discovered(false), m_tries(0) {}

bool bdIPDiscoveryClient::sendRequest() {
  unsigned char buffer[4];
  unsigned int size = 0;
  if (!bdIPDiscoveryPacket().serialize(buffer, sizeof buffer, 0, size)) {
    bdLogError(kChannel, "Failed to serialize packet.");
    return false;
  }
  return m_socket->sendTo(m_server, buffer, size) == static_cast<int>(size);
}

bool bdIPDiscoveryClient::startDiscovery() {
  m_timer.start();
  return sendRequest();
}

void bdIPDiscoveryClient::pump() {
  if (m_discovered) return;
  bool reading = true;
  while (reading && !m_discovered) {
    unsigned char buffer[bdAddr::MAX_DATAGRAM_SIZE];
    bdAddr from;
    const int got = m_socket->receiveFrom(from, buffer, sizeof buffer);
    if (got >= 0) {
      bdIPDiscoveryPacketReply reply;
      unsigned int end = 0;
      if (from == m_server && reply.deserialize(buffer, static_cast<unsigned int>(got), 0, end)) {
        m_publicAddr = reply.getPublicAddress();
        m_discovered = true;
        char text[32];
        m_publicAddr.toString(text, sizeof text);
        bdLogInfo(kChannel, "Public IP discovered: %s", text);
      }
    } else if (got == BD_NET_WOULD_BLOCK || got == BD_NET_BLOCKING_CALL_CANCELED) {
      reading = false;
    } else if (got != BD_NET_CONNECTION_RESET && got != BD_NET_MSG_SIZE) {
      bdLogWarn(kChannel, "net error.");
      reading = false;
    }
  }
  if (!m_discovered && m_timer.getElapsedTimeAsSeconds() > RESEND_SECONDS) {
    // Counted only while below the limit, so the 8-bit count cannot wrap round
    // to a fresh run of retries however long the client is pumped.
    if (m_tries < MAX_TRIES) {
      ++m_tries;
      bdLogInfo(kChannel, "IP Discovery failed. Retrying. (%u/%u)",
                static_cast<unsigned int>(m_tries), MAX_TRIES);
      sendRequest();
      m_timer.start();
    }
  }
}

bdAddr bdIPDiscoveryClient::getPublicAddress() const {
  if (!m_discovered)
    bdLogError(kChannel,
               "bdIPDiscoveryClient::getPublicAddress() called, but address resolution was not "
               "successful (or not yet finished).");
  return m_publicAddr;
}
