#include "bdNATTraversal/bdNATTravClient.h"

#include <cstring>

#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdNATTraversal/bdNATTravListener.h"
#include "bdNATTraversal/bdNATTraversalPacket.h"
#include "bdSocket/bdSocket.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"

namespace {
const char* const kChannel = "bdSocket/nat";

struct AddrText {
  explicit AddrText(const bdAddr& addr) { addr.toString(text, sizeof text); }
  char text[32];
};
}  // namespace

bdNATTravClient::bdNATTravClient() : m_limiter(nullptr), m_socket(nullptr), m_traversals(4, 0.75f) {
  std::memset(m_hmacKey, 0, sizeof m_hmacKey);
}

bdNATTravClient::bdNATTravClient(const bdArray<bdAddr>& introducers, bdSocket* socket,
                                 bdBandwidthLimiter* limiter, bdReference<bdCommonAddr> localAddr)
    : m_limiter(limiter),
      m_introducers(introducers),
      m_socket(socket),
      m_localAddr(localAddr),
      m_traversals(4, 0.75f) {
  sendKeepAlive();
  if (!bdRandom::getInstance()->getRandomBytes(m_hmacKey, sizeof m_hmacKey))
    bdLogError(kChannel, "Failed to create the HMAC key.");
}

bdNATTravClient::~bdNATTravClient() {
  for (auto it = m_traversals.getIterator(); it != nullptr; it = m_traversals.next(it)) {
    char info[256];
    bdCommonAddrInfo::getInfo(m_traversals.getValue(it).m_target, info, sizeof info);
    bdLogInfo(kChannel, "NAT traversal to %s failed.", info);
  }
  m_traversals.clear();
}

bool bdNATTravClient::connect(bdReference<bdCommonAddr> target, bdNATTravListener* listener,
                              bool throttled) {
  if (m_localAddr.isNull()) {
    bdLogError(kChannel, "Couldn't get title addr!");
    return false;
  }
  if (m_localAddr->getLocalAddrs().isEmpty()) {
    bdLogError(kChannel, "Common address should always have at least 1 local address.");
    return false;
  }
  if (target.isNull()) return false;
  const unsigned int key = target->getHash();
  for (auto it = m_traversals.getIterator(); it != nullptr; it = m_traversals.next(it)) {
    if (m_traversals.getKey(it) != key) continue;
    bdNATTravClientData& data = m_traversals.getValue(it);
    if (data.m_secondListener == nullptr) {
      data.m_secondListener = listener;
      return true;
    }
    const AddrText text(target->getPublicAddr());
    bdLogWarn(kChannel, "Third connect request to %s. Ignoring.", text.text);
    return false;
  }
  bdNATTravClientData data;
  data.m_local = m_localAddr;
  data.m_target = target;
  data.m_listener = listener;
  data.m_throttled = throttled;
  data.m_age.start();
  char info[256];
  bdCommonAddrInfo::getInfo(target, info, sizeof info);
  bdLogInfo(kChannel, "Starting NAT trav to %s", info);
  sendStage1(data);
  if (!m_traversals.put(key, data)) {
    bdLogError(kChannel, "Failed to put address in map.");
    return false;
  }
  return true;
}

void bdNATTravClient::cancel(bdReference<bdCommonAddr> target) {
  if (!target.isNull()) m_traversals.remove(target->getHash());
}

bool bdNATTravClient::computeHMAC(const bdNATTraversalPacket& packet,
                                  unsigned char (&hmac)[10]) const {
  unsigned char body[4 + 6 + 6];
  unsigned int at = 0;
  const std::uint32_t id = packet.getIdentifier();
  for (unsigned int i = 0; i < 4; ++i)
    body[at++] = static_cast<unsigned char>(id >> (8 * i));
  if (!packet.getFirstAddr().serialize(body, sizeof body, at, at) ||
      !packet.getSecondAddr().serialize(body, sizeof body, at, at))
    return false;
  bdHMacSHA1 mac(m_hmacKey, sizeof m_hmacKey);
  unsigned char full[bdHMacSHA1::HMAC_SIZE];
  unsigned int length = sizeof full;
  if (!mac.process(body, at) || !mac.getData(full, length) || length < 10) return false;
  std::memcpy(hmac, full, 10);
  return true;
}

bool bdNATTravClient::sendPacket(const bdNATTraversalPacket& packet, const bdAddr& to,
                                 bool throttled) {
  unsigned char buffer[bdAddr::MAX_DATAGRAM_SIZE];
  unsigned int size = 0;
  if (!packet.serialize(buffer, sizeof buffer, 0, size)) {
    bdLogError(kChannel, "Failed to serialize the packet.");
    return false;
  }
  if (throttled && m_limiter != nullptr)
    m_limiter->consume(bdNATTraversalPacket::getSize() + bdBandwidthLimiter::DATAGRAM_OVERHEAD);
  if (m_socket == nullptr || m_socket->sendTo(to, buffer, size) != static_cast<int>(size)) {
    bdLogWarn(kChannel, "Failed to send. Invalid socket?");
    return false;
  }
  return true;
}

void bdNATTravClient::sendStage1(bdNATTravClientData& data) {
  if (data.m_throttled && m_limiter != nullptr && !m_limiter->canSend(0)) return;
  data.m_resend.start();
  ++data.m_tries;
  bdArray<bdAddr> destinations(data.m_target->getLocalAddrs());
  if (data.m_target->getPublicAddr().isValid())
    destinations.pushBack(data.m_target->getPublicAddr());
  for (unsigned int i = 0; i < destinations.getSize(); ++i) {
    bdNATTraversalPacket packet(bdNATTraversalPacket::INTRO_DIRECT_REQUEST,
                                data.m_target->getHash(), data.m_local->getLocalAddr(0),
                                destinations[i]);
    unsigned char hmac[10];
    if (!computeHMAC(packet, hmac)) {
      bdLogWarn(kChannel, "Failed to do hmac.");
      continue;
    }
    packet.setHMAC(hmac, sizeof hmac);
    if (sendPacket(packet, destinations[i], data.m_throttled)) {
      const AddrText to(destinations[i]);
      bdLogInfo(kChannel, "sent INTRO REQ to %s", to.text);
    }
  }
}

void bdNATTravClient::sendStage2(bdNATTravClientData& data) {
  if (m_introducers.isEmpty()) {
    bdLogError(kChannel, "No introducers specified!");
    return;
  }
  if (data.m_throttled && m_limiter != nullptr && !m_limiter->canSend(0)) return;
  data.m_resend.start();
  ++data.m_tries;
  bdNATTraversalPacket packet(bdNATTraversalPacket::INTRO_NAT_REQUEST, data.m_target->getHash(),
                              data.m_local->getPublicAddr(), data.m_target->getPublicAddr());
  unsigned char hmac[10];
  if (!computeHMAC(packet, hmac)) {
    bdLogWarn(kChannel, "Failed to do hmac.");
    return;
  }
  packet.setHMAC(hmac, sizeof hmac);
  if (sendPacket(packet, m_introducers[0], data.m_throttled)) {
    const AddrText introducer(m_introducers[0]);
    const AddrText target(data.m_target->getPublicAddr());
    const AddrText own(data.m_local->getPublicAddr());
    bdLogInfo(kChannel, "sent INTRO NAT req to %s for %s from %s", introducer.text, target.text,
              own.text);
  }
}

void bdNATTravClient::sendKeepAlive() {
  m_keepAlive.start();
  bdLogInfo(kChannel, "Sending keep alive to introducer(s).");
  const bdNATTraversalPacket packet(bdNATTraversalPacket::INTRO_KEEP_ALIVE, 0, bdAddr(), bdAddr());
  for (unsigned int i = 0; i < m_introducers.getSize(); ++i)
    sendPacket(packet, m_introducers[i], false);
}

bool bdNATTravClient::acceptPacket(bdSocket*, const bdAddr& from, const void* data,
                                   unsigned int size) {
  bdNATTraversalPacket packet;
  unsigned int end = 0;
  if (data == nullptr ||
      !packet.deserialize(static_cast<const unsigned char*>(data), size, 0, end) ||
      packet.getType() < 10 || packet.getType() > 19)
    return false;
  receiveFrom(from, packet);
  return true;
}

void bdNATTravClient::receiveFrom(const bdAddr& from, bdNATTraversalPacket& packet) {
  switch (packet.getType()) {
    case bdNATTraversalPacket::INTRO_NAT_REQUEST:
      bdLogWarn(kChannel, "Received server packet in client code.");
      break;
    case bdNATTraversalPacket::INTRO_FORWARDED: {
      packet.setType(bdNATTraversalPacket::INTRO_REPLY);
      if (sendPacket(packet, packet.getFirstAddr(), false)) {
        const AddrText to(packet.getFirstAddr());
        bdLogInfo(kChannel, "sent INTRO REPLY to %s", to.text);
      }
      break;
    }
    case bdNATTraversalPacket::INTRO_DIRECT_REQUEST: {
      if (m_localAddr.isNull()) {
        bdLogWarn(kChannel, "Couldn't get title addr!");
        break;
      }
      const AddrText text(from);
      if (packet.getIdentifier() != m_localAddr->getHash()) {
        bdLogInfo(kChannel, "ignored request from %s", text.text);
        break;
      }
      packet.setType(bdNATTraversalPacket::INTRO_REPLY);
      if (sendPacket(packet, from, false)) bdLogInfo(kChannel, "sent INTRO REPLY to %s", text.text);
      break;
    }
    case bdNATTraversalPacket::INTRO_REPLY: {
      bdLogInfo(kChannel, "Received NAT Trav reply.");
      unsigned char hmac[10];
      if (!computeHMAC(packet, hmac) || std::memcmp(hmac, packet.getHMAC(), sizeof hmac) != 0) {
        bdLogWarn(kChannel, "Packet was tampered with, discarding.");
        break;
      }
      const AddrText second(packet.getSecondAddr());
      const AddrText found(from);
      bdLogInfo(kChannel, "discovered addr for %s: %s", second.text, found.text);
      bdNATTravClientData data;
      if (!m_traversals.get(packet.getIdentifier(), data)) {
        bdLogInfo(kChannel,
                  "Failed to find identifier in callback table. This is ok if we have already "
                  "received a reply for this search.");
        break;
      }
      m_traversals.remove(packet.getIdentifier());
      if (data.m_listener != nullptr) data.m_listener->onNATAddrDiscovery(data.m_target, from);
      if (data.m_secondListener != nullptr)
        data.m_secondListener->onNATAddrDiscovery(data.m_target, from);
      break;
    }
    default:
      break;
  }
}

void bdNATTravClient::fail(const bdNATTravClientData& data) {
  if (data.m_listener != nullptr) data.m_listener->onNATAddrDiscoveryFailed(data.m_target);
  if (data.m_secondListener != nullptr)
    data.m_secondListener->onNATAddrDiscoveryFailed(data.m_target);
}

void bdNATTravClient::pump() {
  if (m_keepAlive.getElapsedTimeAsSeconds() > KEEP_ALIVE_SECONDS) sendKeepAlive();
  bdArray<unsigned int> failed;
  for (auto it = m_traversals.getIterator(); it != nullptr; it = m_traversals.next(it)) {
    bdNATTravClientData& data = m_traversals.getValue(it);
    if (data.m_throttled && data.m_age.getElapsedTimeAsSeconds() > THROTTLED_MAX_AGE_SECONDS) {
      const AddrText text(data.m_target->getPublicAddr());
      bdLogWarn(kChannel,
                "Request to %s has been pending for too long. Allocated bandwidth inconsistent "
                "with request rate.",
                text.text);
      failed.pushBack(m_traversals.getKey(it));
      continue;
    }
    if (data.m_resend.getElapsedTimeInSeconds() <= RESEND_SECONDS) continue;
    switch (data.m_stage) {
      case 1:
        if (data.m_tries < MAX_TRIES) {
          bdLogInfo(kChannel, "Request timed out. Retrying. (stage 1)");
          sendStage1(data);
        } else if (!data.m_target->getPublicAddr().isValid() || m_introducers.isEmpty()) {
          bdLogInfo(kChannel,
                    "Address lookup failed. (Stage 1 failed. No public address so finished.)");
          failed.pushBack(m_traversals.getKey(it));
        } else {
          bdLogInfo(kChannel, "Stage 1 failed. Starting stage 2.");
          data.m_tries = 0;
          data.m_stage = 2;
          sendStage2(data);
        }
        break;
      case 2:
        if (data.m_tries++ > MAX_TRIES) {
          bdLogInfo(kChannel, "Stage 2 failed. Starting stage 3.");
          data.m_tries = 0;
          data.m_stage = 3;
          sendStage1(data);
        } else {
          bdLogInfo(kChannel, "Request timed out. Retrying. (stage 2)");
          sendStage2(data);
        }
        break;
      case 3:
        if (data.m_tries < MAX_TRIES) {
          bdLogInfo(kChannel, "Request timed out. Retrying. (stage 3)");
          sendStage1(data);
        } else {
          bdLogInfo(kChannel, "NAT traversal failed. (Stage 3 failed)");
          failed.pushBack(m_traversals.getKey(it));
        }
        break;
      default:
        bdLogError(kChannel, "Invalid state.");
        break;
    }
  }
  // Taken out of the map before the listeners hear, so a listener that starts
  // a new search for the same target is not dropped with the old one.
  for (unsigned int i = 0; i < failed.getSize(); ++i) {
    bdNATTravClientData data;
    if (!m_traversals.get(failed[i], data)) continue;
    m_traversals.remove(failed[i]);
    fail(data);
  }
}
