#include "bdUnicastConnection/bdUnicastConnection.h"

#include <cmath>

#include "bdAddressMap/bdAddressMap.h"
#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdPacket/bdCookieEchoChunk.h"
#include "bdPacket/bdDataChunk.h"
#include "bdPacket/bdPacket.h"
#include "bdPacket/bdSAckChunk.h"
#include "bdWindow/bdReliableReceiveWindow.h"
#include "bdWindow/bdReliableSendWindow.h"

namespace {

const char* const kChannel = "bdConnection/connections";

std::uint32_t randomTag() {
  std::uint32_t tag = 0;
  // Zero is no tag: peers refuse it.
  while (tag == 0)
    tag = bdRandom::getInstance()->getRandomUInt();
  return tag;
}

template <typename T>
T* as(const bdReference<bdChunk>& chunk) {
  return static_cast<T*>(chunk.get());
}

}  // namespace

bdUnicastConnection::bdUnicastConnection(bdReference<bdCommonAddr> addr)
    : bdConnection(addr),
      m_sendWindow(nullptr),
      m_recvWindow(nullptr),
      m_state(BD_UC_CLOSED),
      m_localTag(0),
      m_peerTag(0),
      m_initSends(0),
      m_cookieSends(0),
      m_shutdownSends(0),
      m_srtt(0),
      m_rttVar(0) {
  reset();
}

bdUnicastConnection::bdUnicastConnection() : bdUnicastConnection(bdReference<bdCommonAddr>()) {}

bdUnicastConnection::~bdUnicastConnection() {
  delete m_sendWindow;
  delete m_recvWindow;
  m_initAck = nullptr;
  m_controlChunks.clear();
}

void bdUnicastConnection::reset() {
  delete m_sendWindow;
  m_sendWindow = nullptr;
  delete m_recvWindow;
  m_recvWindow = nullptr;
  m_controlChunks.clear();
  m_unreliableSendWindow.reset();
  m_unreliableRecvWindow.reset();
  m_lastSend.start();
  m_lastReceive.start();
  m_initSends = 0;
  m_cookieSends = 0;
  m_shutdownSends = 0;
  m_localTag = randomTag();
  m_peerTag = 0;
  m_srtt = 0;
  m_rttVar = 0;
}

void bdUnicastConnection::queue(bdReference<bdChunk> chunk, bool alone, std::uint32_t vtag) {
  m_controlChunks.enqueue(bdControlChunkStore{chunk, static_cast<std::uint8_t>(alone), vtag});
}

void bdUnicastConnection::takeAddress() {
  if (m_addrHandle.isNull()) return;
  bdReference<bdCommonAddr> ca;
  bdSecurityID id;
  if (bdAddressMapImpl::addrToCommonAddr(m_addrHandle, ca, id)) m_addr = ca;
}

bdConnection::Status bdUnicastConnection::getStatus() {
  switch (m_state) {
    case BD_UC_CLOSED:
      return BD_DISCONNECTED;
    case BD_UC_COOKIE_WAIT:
    case BD_UC_COOKIE_ECHOED:
      return BD_CONNECTING;
    case BD_UC_ESTABLISHED:
      return BD_CONNECTED;
    case BD_UC_SHUTDOWN_PENDING:
    case BD_UC_SHUTDOWN_SENT:
    case BD_UC_SHUTDOWN_RECEIVED:
    case BD_UC_SHUTDOWN_ACK_SENT:
      return BD_DISCONNECTING;
    default:
      bdLogWarn(kChannel, "Unknown state");
      return BD_DISCONNECTED;
  }
}

bool bdUnicastConnection::connect() {
  if (m_state == BD_UC_CLOSED) {
    bdConnection::connect();
    if (sendInit()) {
      m_state = BD_UC_COOKIE_WAIT;
      return true;
    }
  }
  bdLogWarn(kChannel, "failed to connect!");
  return false;
}

bool bdUnicastConnection::send(const bdReference<bdMessage> message, const bool reliable) {
  if (m_state != BD_UC_ESTABLISHED) bdLogWarn(kChannel, "connection not established.");
  const unsigned int size = message.isNull() ? 0 : message->getSize();
  if (size > BD_MAX_MESSAGE_SIZE) {
    bdLogWarn(kChannel, "message size (%u) > BD_MAX_MESSAGE_SIZE.", size);
    bdLogWarn(kChannel, "Message not sent.");
    return false;
  }
  if (m_state != BD_UC_ESTABLISHED || message.isNull()) {
    bdLogWarn(kChannel, "Message not sent.");
    return false;
  }
  bdReference<bdDataChunk> chunk(
      new bdDataChunk(message, reliable ? 0 : bdDataChunk::BD_DC_UNRELIABLE));
  if (!reliable) return m_unreliableSendWindow.add(chunk);
  if (m_sendWindow == nullptr) m_sendWindow = new bdReliableSendWindow();
  if (!m_sendWindow->add(chunk)) {
    bdLogWarn(kChannel, "Message not sent.");
    return false;
  }
  return true;
}

bool bdUnicastConnection::getMessageToDispatch(bdReference<bdMessage>& message) {
  bdReference<bdDataChunk> chunk;
  if (m_recvWindow != nullptr) chunk = m_recvWindow->getNextToRead();
  if (chunk.isNull()) chunk = m_unreliableRecvWindow.getNextToRead();
  if (chunk.isNull()) return false;
  message = chunk->getMessage();
  return true;
}

void bdUnicastConnection::disconnect() {
  switch (m_state) {
    case BD_UC_COOKIE_WAIT:
    case BD_UC_COOKIE_ECHOED:
      close();
      break;
    case BD_UC_ESTABLISHED:
      m_state = BD_UC_SHUTDOWN_PENDING;
      m_shutdownGuard.start();
      callDisconnectListeners();
      break;
    default:
      break;
  }
}

void bdUnicastConnection::close() {
  switch (m_state) {
    case BD_UC_CLOSED:
      return;
    case BD_UC_COOKIE_WAIT:
    case BD_UC_COOKIE_ECHOED:
      m_state = BD_UC_CLOSED;
      callConnectListeners(false);
      return;
    case BD_UC_ESTABLISHED:
      m_state = BD_UC_CLOSED;
      callDisconnectListeners();
      return;
    default:
      m_state = BD_UC_CLOSED;
      return;
  }
}

bool bdUnicastConnection::sendInit() {
  if (m_state != BD_UC_CLOSED && m_state != BD_UC_COOKIE_WAIT) {
    bdAssertMsg("invalid state to send init from.");
    return false;
  }
  if (m_initSends >= MAX_SENDS) return false;
  ++m_initSends;
  queue(bdReference<bdChunk>(new bdInitChunk(m_localTag)));
  m_initTimer.start();
  bdLogInfo(kChannel, "uc::sending init: m_localTag: %d", static_cast<int>(m_localTag));
  return true;
}

bool bdUnicastConnection::sendInitAck(const bdInitChunk& init) {
  if (m_state < BD_UC_CLOSED || m_state > BD_UC_SHUTDOWN_ACK_SENT) {
    bdLogWarn(kChannel, "bdUnicastConnection::sendInitAck(): Failed to send init ack.");
    return false;
  }
  bdCookie cookie;
  switch (m_state) {
    case BD_UC_CLOSED:
    case BD_UC_SHUTDOWN_ACK_SENT:
      m_peerTag = init.getInitTag();
      cookie = bdCookie(m_localTag, init.getInitTag(), 0, 0);
      break;
    case BD_UC_COOKIE_WAIT:
      cookie = bdCookie(m_localTag, init.getInitTag(), 0, 0);
      break;
    case BD_UC_COOKIE_ECHOED:
      cookie = bdCookie(m_localTag, init.getInitTag(), m_localTag, m_peerTag);
      break;
    default:
      cookie = bdCookie(randomTag(), init.getInitTag(), m_localTag, m_peerTag);
      break;
  }
  queue(bdReference<bdChunk>(new bdInitAckChunk(cookie.getLocalTag(), cookie)), true,
        init.getInitTag());
  bdLogInfo(kChannel, "uc::sending init ack: m_localTag/localTag/m_peerTag: %d/%d/%d",
            static_cast<int>(m_localTag), static_cast<int>(cookie.getLocalTag()),
            static_cast<int>(m_peerTag));
  return true;
}

bool bdUnicastConnection::sendCookieEcho(bdReference<bdInitAckChunk> initAck) {
  if (initAck.isNull() || m_cookieSends >= MAX_SENDS) return false;
  ++m_cookieSends;
  m_initAck = initAck;
  queue(bdReference<bdChunk>(new bdCookieEchoChunk(initAck->getCookieBytes())));
  m_cookieTimer.start();
  bdLogInfo(kChannel, "uc::sending cookie echo: m_localTag/m_peerTag: %d/%d",
            static_cast<int>(m_localTag), static_cast<int>(m_peerTag));
  return true;
}

bool bdUnicastConnection::sendCookieAck() {
  queue(bdReference<bdChunk>(new bdCookieAckChunk()));
  bdLogInfo(kChannel, "uc::sending cookie ack: m_localTag/m_peerTag: %d/%d",
            static_cast<int>(m_localTag), static_cast<int>(m_peerTag));
  return true;
}

bool bdUnicastConnection::sendShutdown() {
  if (m_shutdownSends >= MAX_SENDS) return false;
  ++m_shutdownSends;
  queue(bdReference<bdChunk>(new bdShutdownChunk()));
  m_shutdownTimer.start();
  bdLogInfo(kChannel, "uc::sending shutdown (%u/%u)", static_cast<unsigned int>(m_shutdownSends),
            MAX_SENDS);
  return true;
}

bool bdUnicastConnection::sendShutdownAck() {
  if (m_shutdownSends >= MAX_SENDS) return false;
  ++m_shutdownSends;
  queue(bdReference<bdChunk>(new bdShutdownAckChunk()));
  m_shutdownTimer.start();
  bdLogInfo(kChannel, "uc::sending shutdown ack (%u/%u)",
            static_cast<unsigned int>(m_shutdownSends), MAX_SENDS);
  return true;
}

bool bdUnicastConnection::sendShutdownComplete() {
  queue(bdReference<bdChunk>(new bdShutdownCompleteChunk()));
  bdLogInfo(kChannel, "uc::sending shutdown complete");
  return true;
}

bool bdUnicastConnection::sendHeartbeatAck() {
  queue(bdReference<bdChunk>(new bdHeartbeatAckChunk()));
  return true;
}

bool bdUnicastConnection::receive(unsigned char* data, const unsigned int size) {
  if (m_shutdownGuard.getElapsedTimeAsSeconds() > SHUTDOWN_GUARD_SECONDS) {
    close();
    return false;
  }
  bool result = false;
  bdPacket packet;
  if (!packet.deserialize(data, size)) {
    bdLogWarn(kChannel, "bdUnicastConnection::receive(): Invalid packet received.");
  } else {
    const std::uint32_t vtag = packet.getVerificationTag();
    bdReference<bdChunk> chunk;
    bool first = true;
    while (packet.getNextChunk(chunk)) {
      const bdChunkTypes type = chunk->getType();
      const bool handshake = type == BD_CT_INIT || type == BD_CT_INIT_ACK ||
                             type == BD_CT_COOKIE_ECHO || type == BD_CT_COOKIE_ACK;
      if (first && handshake) {
        first = false;
        bool consumed = false;
        result = handleChunk(chunk, vtag, consumed);
        if (consumed) continue;
      }
      first = false;
      // Everything else must carry our tag: chunks of an old or foreign association are dropped.
      if (vtag != m_localTag) break;
      bool ignored = false;
      result = handleChunk(chunk, vtag, ignored);
      if (result) m_lastReceive.start();
    }
  }
  if (m_state == BD_UC_SHUTDOWN_SENT && m_controlChunks.isEmpty() && !sendShutdown()) close();
  return result;
}

bool bdUnicastConnection::handleChunk(bdReference<bdChunk> chunk, std::uint32_t vtag,
                                      bool& handled) {
  handled = true;
  switch (chunk->getType()) {
    case BD_CT_INIT:
      return handleInit(*as<bdInitChunk>(chunk));
    case BD_CT_INIT_ACK:
      return handleInitAck(bdReference<bdInitAckChunk>(as<bdInitAckChunk>(chunk)), vtag);
    case BD_CT_COOKIE_ECHO:
      return handleCookieEcho(*as<bdCookieEchoChunk>(chunk));
    case BD_CT_COOKIE_ACK:
      return handleCookieAck(vtag);
    case BD_CT_DATA:
      return handleData(bdReference<bdDataChunk>(as<bdDataChunk>(chunk)));
    case BD_CT_SACK:
      return handleSAck(bdReference<bdSAckChunk>(as<bdSAckChunk>(chunk)));
    case BD_CT_HEARTBEAT:
      m_lastReceive.start();
      return sendHeartbeatAck();
    case BD_CT_HEARTBEAT_ACK:
      m_lastReceive.start();
      return true;
    case BD_CT_SHUTDOWN:
      return handleShutdown();
    case BD_CT_SHUTDOWN_ACK:
      return handleShutdownAck();
    case BD_CT_SHUTDOWN_COMPLETE:
      return handleShutdownComplete();
    default:
      handled = false;
      return false;
  }
}

bool bdUnicastConnection::handleInit(const bdInitChunk& init) {
  takeAddress();
  if (init.getInitTag() == 0) {
    bdLogWarn(kChannel, "handleInit: invalid init tag (%u)", init.getInitTag());
    return false;
  }
  bdLogInfo(kChannel, "uc::handling init: m_localTag: %d", static_cast<int>(m_localTag));
  return sendInitAck(init);
}

bool bdUnicastConnection::handleInitAck(bdReference<bdInitAckChunk> ack, std::uint32_t vtag) {
  if (m_state != BD_UC_COOKIE_WAIT) return false;
  if (vtag != m_localTag) {
    bdLogWarn(kChannel, "Invalid verification tag on init ack.");
    return false;
  }
  if (ack->getInitTag() == 0) {
    bdLogWarn(kChannel, "handleInitAck: invalid init tag (%u)", 0u);
    return false;
  }
  m_peerTag = ack->getInitTag();
  bdLogInfo(kChannel, "uc::handling init ack: m_localTag/m_peerTag: %d/%d",
            static_cast<int>(m_localTag), static_cast<int>(m_peerTag));
  sendCookieEcho(ack);
  m_initTimer.reset();
  m_state = BD_UC_COOKIE_ECHOED;
  return true;
}

bool bdUnicastConnection::handleCookieEcho(const bdCookieEchoChunk& echo) {
  const bdCookie& cookie = echo.getCookie();
  const std::uint32_t cl = cookie.getLocalTag();
  const std::uint32_t cp = cookie.getPeerTag();
  if (m_state == BD_UC_CLOSED) {
    takeAddress();
    m_localTag = cl;
    m_peerTag = cp;
    bdLogInfo(kChannel, "uc::handling cookie echo: m_localTag/m_peerTag: %d/%d",
              static_cast<int>(m_localTag), static_cast<int>(m_peerTag));
    if (sendCookieAck()) {
      m_state = BD_UC_ESTABLISHED;
      callConnectListeners(true);
    }
    return true;
  }
  if (m_localTag != cl && m_peerTag != cp && m_localTag == cookie.getLocalTieTag() &&
      m_peerTag == cookie.getPeerTieTag()) {
    reset();
    if (sendCookieAck()) {
      bdLogInfo(kChannel, "uc::handling cookie echo: m_localTag/m_peerTag: %d/%d",
                static_cast<int>(cl), static_cast<int>(cp));
      takeAddress();
      m_localTag = cl;
      m_peerTag = cp;
      m_state = BD_UC_ESTABLISHED;
      callReconnectListeners();
    }
    return true;
  }
  if (m_localTag == cl) {
    if (m_state != BD_UC_ESTABLISHED) {
      m_state = BD_UC_ESTABLISHED;
      m_cookieTimer.reset();
      m_initTimer.reset();
      callConnectListeners(true);
    }
    m_peerTag = cp;
    return sendCookieAck();
  }
  return false;
}

bool bdUnicastConnection::handleCookieAck(std::uint32_t vtag) {
  if (vtag != m_localTag) {
    bdLogWarn(kChannel, "Invalid verification tag on cookie ack. (%u)", vtag);
    return false;
  }
  if (m_state != BD_UC_COOKIE_ECHOED) {
    bdLogWarn(kChannel, "Cookie ack received in invalid state.");
    return false;
  }
  bdLogInfo(kChannel, "uc::handling cookie ack: m_localTag/m_peerTag: %d/%d",
            static_cast<int>(m_localTag), static_cast<int>(m_peerTag));
  m_state = BD_UC_ESTABLISHED;
  callConnectListeners(true);
  m_cookieTimer.reset();
  return true;
}

bool bdUnicastConnection::handleData(bdReference<bdDataChunk> chunk) {
  if (chunk->isUnreliable()) return m_unreliableRecvWindow.add(chunk);
  if (m_recvWindow == nullptr) m_recvWindow = new bdReliableReceiveWindow();
  if (!m_recvWindow->add(chunk)) {
    bdLogWarn(kChannel, "receive window full.");
    return false;
  }
  return true;
}

bool bdUnicastConnection::handleSAck(bdReference<bdSAckChunk> sack) {
  if (m_sendWindow == nullptr) {
    bdLogWarn(kChannel, "invalid stream id.");
    return false;
  }
  float r = 0;
  if (!m_sendWindow->handleAck(sack, r)) {
    bdLogWarn(kChannel, "Unable to handle ack. disconnecting connection.");
    disconnect();
    return false;
  }
  if (r > 0) {
    if (m_srtt == 0 && m_rttVar == 0) {
      m_srtt = r;
      m_rttVar = r * 0.5f;
    } else {
      m_rttVar = 0.75f * m_rttVar + 0.25f * std::fabs(m_srtt - r);
      m_srtt = 0.875f * m_srtt + 0.125f * r;
    }
    if (m_rttVar == 0) m_rttVar = 100.0f;
    float rto = m_srtt + 2 * m_rttVar;
    if (rto < 0.02f) rto = 0.02f;
    if (rto > 2.0f) rto = 2.0f;
    m_sendWindow->setRTO(rto);
  }
  return true;
}

bool bdUnicastConnection::handleShutdown() {
  if (m_state == BD_UC_ESTABLISHED || m_state == BD_UC_SHUTDOWN_SENT) {
    if (m_state == BD_UC_ESTABLISHED) {
      bdLogInfo(kChannel, "uc::handling shutdown (a)");
      m_state = BD_UC_SHUTDOWN_RECEIVED;
    } else {
      bdLogInfo(kChannel, "uc::handling shutdown (b)");
      m_state = BD_UC_SHUTDOWN_RECEIVED;
      if (!sendShutdownAck()) return true;
    }
    bdLogInfo(kChannel, "uc::handling shutdown. Calling disconnect listeners.");
    callDisconnectListeners();
    m_shutdownGuard.start();
  } else {
    bdLogWarn(kChannel, "uc::handling shutdown (c) - unexpected (%u)!",
              static_cast<unsigned int>(m_state));
  }
  return true;
}

bool bdUnicastConnection::handleShutdownAck() {
  if (m_state == BD_UC_SHUTDOWN_SENT || m_state == BD_UC_SHUTDOWN_ACK_SENT) {
    bdLogInfo(kChannel, m_state == BD_UC_SHUTDOWN_SENT ? "uc::handling shutdown ack (a)"
                                                       : "uc::handling shutdown ack (b)");
    sendShutdownComplete();
    close();
    m_shutdownTimer.reset();
    return true;
  }
  bdLogInfo(kChannel, "uc::handling shutdown ack (c) - unexpected (%u).",
            static_cast<unsigned int>(m_state));
  return false;
}

bool bdUnicastConnection::handleShutdownComplete() {
  if (m_state == BD_UC_SHUTDOWN_ACK_SENT) {
    bdLogInfo(kChannel, "uc::handling shutdown complete (a)");
    m_shutdownTimer.reset();
    close();
    return true;
  }
  bdLogWarn(kChannel, "uc::handling shutdown complete (b) - unexpected!");
  return false;
}

unsigned int bdUnicastConnection::writePacket(bdPacket& packet, unsigned char* buffer,
                                              unsigned int size) {
  const unsigned int n = packet.serialize(buffer, size);
  if (n > size) bdLogError(kChannel, "buffer overflow!");
  if (n > 0) m_lastSend.start();
  return n;
}

unsigned int bdUnicastConnection::getDataToSend(unsigned char* const buffer,
                                                const unsigned int size) {
  if (m_shutdownGuard.getElapsedTimeAsSeconds() > SHUTDOWN_GUARD_SECONDS) {
    close();
    return 0;
  }
  if (m_controlChunks.isEmpty()) {
    bool ok = true;
    if (m_initTimer.getElapsedTimeAsSeconds() > RESEND_SECONDS) {
      ok = sendInit();
    } else if (m_cookieTimer.getElapsedTimeAsSeconds() > RESEND_SECONDS) {
      ok = sendCookieEcho(m_initAck);
    } else if (m_shutdownTimer.getElapsedTimeAsSeconds() > RESEND_SECONDS) {
      if (m_state == BD_UC_SHUTDOWN_SENT) {
        ok = sendShutdown();
      } else if (m_state == BD_UC_SHUTDOWN_RECEIVED || m_state == BD_UC_SHUTDOWN_ACK_SENT) {
        ok = sendShutdownAck();
      }
    }
    if (!ok) {
      m_initTimer.reset();
      m_cookieTimer.reset();
      m_shutdownTimer.reset();
      close();
    }
  }
  bdPacket packet(m_peerTag, size);
  while (!m_controlChunks.isEmpty()) {
    bdControlChunkStore entry = m_controlChunks.peek();
    if (entry.m_sendAlone) {
      m_controlChunks.dequeue();
      bdReference<bdChunk> back;
      while (packet.getNextChunk(back))
        queue(back);
      bdPacket alone(entry.m_vtag, size);
      alone.addChunk(entry.m_chunk);
      return writePacket(alone, buffer, size);
    }
    if (!packet.addChunk(entry.m_chunk)) break;
    m_controlChunks.dequeue();
  }
  if (m_state >= BD_UC_ESTABLISHED && m_state <= BD_UC_SHUTDOWN_RECEIVED) {
    if (m_lastReceive.getElapsedTimeAsSeconds() > TIMEOUT_SECONDS) {
      bdLogWarn(kChannel, "bdUnicastConnection: Connection timed out.");
      close();
    } else {
      if (m_recvWindow != nullptr) m_recvWindow->getDataToSend(packet);
      if (m_sendWindow != nullptr) m_sendWindow->getDataToSend(packet);
      m_unreliableSendWindow.getDataToSend(packet);
    }
  }
  const bool allAcked = m_sendWindow == nullptr || m_sendWindow->isAllAcked();
  if (packet.isEmpty() && allAcked && m_controlChunks.isEmpty()) {
    if (m_state == BD_UC_SHUTDOWN_PENDING) {
      if (sendShutdown()) {
        m_state = BD_UC_SHUTDOWN_SENT;
      } else {
        close();
      }
    } else if (m_state == BD_UC_SHUTDOWN_RECEIVED) {
      if (sendShutdownAck()) {
        m_state = BD_UC_SHUTDOWN_ACK_SENT;
      } else {
        close();
      }
    }
  }
  if (m_state == BD_UC_ESTABLISHED && packet.isEmpty() &&
      m_lastSend.getElapsedTimeAsSeconds() > HEARTBEAT_SECONDS) {
    bdLogInfo(kChannel, "Sending Heartbeat. Last send %.2fs ago.",
              m_lastSend.getElapsedTimeAsSeconds());
    packet.addChunk(bdReference<bdChunk>(new bdHeartbeatChunk()));
  }
  if (packet.isEmpty()) return 0;
  return writePacket(packet, buffer, size);
}
