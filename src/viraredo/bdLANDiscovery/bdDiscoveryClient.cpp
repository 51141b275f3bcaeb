#include "bdLANDiscovery/bdDiscoveryClient.h"

#include <cstring>

#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLANDiscovery/bdGameInfoFactory.h"
#include "bdNet/bdNetImpl.h"

namespace {
const char* const kChannel = "bdNet/discovery";
}  // namespace

bdDiscoveryClient::bdDiscoveryClient()
    : m_duration(0.0f), m_nonce(), m_status(BD_IDLE), m_socketOpen(false) {}

bdDiscoveryClient::~bdDiscoveryClient() {
  if (m_socketOpen) m_socket.close();
  m_listeners.clear();
}

bool bdDiscoveryClient::discover(const unsigned int titleID, const float seconds,
                                 const bdInetAddr& target, unsigned short port) {
  if (m_status == BD_RUNNING) {
    bdLogWarn(kChannel, "bdDiscoveryClient::discover, LAN discovery already running");
    return false;
  }
  if (m_socketOpen) m_socket.close();
  m_socketOpen = m_socket.create(true);
  if (!m_socketOpen) {
    bdLogError(kChannel, "bdDiscoveryClient::discover, Could not create socket");
    return false;
  }
  if (!bdRandom::getInstance()->getRandomBytes(m_nonce, sizeof m_nonce)) {
    // A predictable nonce would let stale replies through; do not search.
    m_socket.close();
    m_socketOpen = false;
    m_status = BD_FAILED;
    return false;
  }
  m_duration = seconds;
  bdBitBuffer request(bdLANDiscoveryPacket::REQUEST_BITS, false);
  bdLANDiscoveryPacket::writeRequest(request, m_nonce, titleID);
  const unsigned int size = bdLANDiscoveryPacket::byteSize(request);
  if (m_socket.sendTo(bdAddr(target, port), request.getData(), size) != static_cast<int>(size)) {
    bdLogError(kChannel, "bdDiscoveryClient::discover, Socket sendTo failed");
    m_socket.close();
    m_socketOpen = false;
    m_status = BD_FAILED;
    return false;
  }
  m_timer.start();
  bdLogInfo(kChannel, "Starting: will run for %f seconds.", static_cast<double>(seconds));
  m_status = BD_RUNNING;
  return true;
}

void bdDiscoveryClient::update() {
  if (m_status != BD_RUNNING) {
    bdLogWarn(kChannel, "bdDiscoveryClient::update, Called while client was not running");
    return;
  }
  unsigned char buffer[MAX_DATAGRAM_SIZE];
  bdAddr from;
  const int received = m_socket.receiveFrom(from, buffer, sizeof buffer);
  if (received > 0) handleDatagram(from, buffer, static_cast<unsigned int>(received));

  if (m_timer.getElapsedTimeAsSeconds() > m_duration) {
    // Listeners may unregister while they are told, so a copy is walked.
    const bdFastArray<bdDiscoveryListener*> listeners(m_listeners);
    for (unsigned int i = 0; i < listeners.getSize(); ++i)
      listeners[i]->onDiscoveryEnd();
    m_status = BD_IDLE;
    m_socket.close();
    m_socketOpen = false;
  }
}

void bdDiscoveryClient::handleDatagram(const bdAddr& from, const unsigned char* data,
                                       unsigned int size) {
  if (data == nullptr || size <= bdLANDiscoveryPacket::IGNORED_SIZE || size > MAX_DATAGRAM_SIZE)
    return;
  bdBitBuffer reply(data, size * 8, true);
  unsigned char type = 0;
  if (!bdLANDiscoveryPacket::readType(reply, type)) {
    bdLogError(kChannel, "Malformed message received");
    return;
  }
  if (type != bdLANDiscoveryPacket::REPLY_TYPE) {
    bdLogWarn(kChannel, "Received message is not a discovery reply");
    return;
  }
  char fromText[32];
  from.toString(fromText, sizeof fromText);
  bdLogInfo(kChannel, "Reply received from %s ", fromText);
  unsigned char nonce[bdLANDiscoveryPacket::NONCE_SIZE];
  if (!bdLANDiscoveryPacket::readNonce(reply, nonce)) {
    bdLogError(kChannel, "Malformed message received");
    return;
  }
  if (std::memcmp(nonce, m_nonce, sizeof nonce) != 0) {
    bdLogInfo(kChannel, "Reply is not relevant to client , ignoring");
    return;
  }
  bdReference<bdGameInfo> info(bdGameInfoFactory::getInstance()->create());
  // A game info that cannot be read whole names no reachable host: listeners
  // are never handed one.
  if (info.isNull() || !info->deserialize(localCommonAddr(), reply)) {
    bdLogError(kChannel, "Malformed message received");
    return;
  }
  bdLogInfo(kChannel, "Reply is relevant to client , firing listeners");
  const bdFastArray<bdDiscoveryListener*> listeners(m_listeners);
  for (unsigned int i = 0; i < listeners.getSize(); ++i)
    listeners[i]->onDiscoveryReply(info);
}

bdReference<bdCommonAddr> bdDiscoveryClient::localCommonAddr() const {
  if (m_localAddr.notNull()) return m_localAddr;
  // Read afresh for each reply: the façade may have started since the search did.
  if (!bdSingleton<bdNetImpl>::exists()) return bdReference<bdCommonAddr>();
  return bdSingleton<bdNetImpl>::getInstance()->getLocalCommonAddr();
}

void bdDiscoveryClient::registerListener(bdDiscoveryListener* listener) {
  m_listeners.pushBack(listener);
}

void bdDiscoveryClient::unregisterListener(bdDiscoveryListener* listener) {
  m_listeners.removeAll(listener);
}
