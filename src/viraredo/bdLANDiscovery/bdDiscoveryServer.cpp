#include "bdLANDiscovery/bdDiscoveryServer.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdSocket/bdPlatformSocket.h"

namespace {
const char* const kChannel = "bdNet/discovery server";
constexpr unsigned int kReplyBits = 1 + 8 + 64 + 32 + 64 + 128 + 200;
}  // namespace

bdDiscoveryServer::bdDiscoveryServer()
    : m_status(BD_NOT_INITIALIZED), m_socketOpen(false), m_port(0) {}

bdDiscoveryServer::~bdDiscoveryServer() { stop(); }

bool bdDiscoveryServer::start(bdReference<bdGameInfo> gameInfo, const bdInetAddr& bindAddress,
                              unsigned short port) {
  // A restart gives up the old socket instead of leaking it.
  close();
  m_socketOpen = m_socket.create(true);
  if (!m_socketOpen || m_socket.bind(bdAddr(bindAddress, port)) != BD_NET_SUCCESS) {
    close();
    m_status = BD_FAILED;
    return false;
  }
  bdInetAddr bound;
  m_port = port;
  if (!bdPlatformSocket::getSocketName(m_socket.getHandle(), bound, m_port)) m_port = port;
  m_gameInfo = gameInfo;
  m_status = BD_RUNNING;
  return true;
}

void bdDiscoveryServer::update() {
  if (m_status != BD_RUNNING) {
    bdLogWarn(kChannel, "Not initialized.");
    return;
  }
  unsigned char buffer[bdAddr::MAX_DATAGRAM_SIZE];
  bdAddr from;
  const int received = m_socket.receiveFrom(from, buffer, sizeof buffer);
  if (received <= 0) return;
  unsigned char nonce[bdLANDiscoveryPacket::NONCE_SIZE];
  std::uint32_t titleID = 0;
  if (!bdLANDiscoveryPacket::readRequest(buffer, static_cast<unsigned int>(received), nonce,
                                         titleID))
    return;
  if (m_gameInfo.isNull() || titleID != m_gameInfo->getTitleID()) return;
  bdBitBuffer reply(kReplyBits, false);
  bdLANDiscoveryPacket::writeReplyHead(reply, nonce);
  m_gameInfo->serialize(reply);
  const unsigned int size = bdLANDiscoveryPacket::byteSize(reply);
  if (m_socket.sendTo(from, reply.getData(), size) != static_cast<int>(size)) return;
  char fromText[32];
  from.toString(fromText, sizeof fromText);
  bdLogInfo(kChannel, "Sent discovery reply to: %s", fromText);
  const bdFastArray<bdDiscoveryListener*> listeners(m_listeners);
  for (unsigned int i = 0; i < listeners.getSize(); ++i)
    listeners[i]->onDiscoveryRequest();
}

void bdDiscoveryServer::close() {
  if (m_socketOpen) m_socket.close();
  m_socketOpen = false;
  m_status = BD_NOT_INITIALIZED;
}

void bdDiscoveryServer::stop() {
  close();
  m_listeners.clear();
  m_gameInfo = nullptr;
}

void bdDiscoveryServer::registerListener(bdDiscoveryListener* listener) {
  m_listeners.pushBack(listener);
}

void bdDiscoveryServer::unregisterListener(bdDiscoveryListener* listener) {
  m_listeners.removeAll(listener);
}
