#include "bdQoS/bdQoSProbe.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdNATTraversal/bdNATTravClient.h"
#include "bdSocket/bdSocket.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"

namespace {
const char* const kChannel = "bdSocket/qos";
const unsigned int kOverhead = bdBandwidthLimiter::DATAGRAM_OVERHEAD;
}  // namespace

bdQoSProbe::bdQoSProbe(bdSocket* socket, bdNATTravClient* natTrav, bdBandwidthLimiter* limiter)
    : m_bandwidth(16384),
      m_socket(socket),
      m_natTrav(natTrav),
      m_limiter(limiter),
      m_nextProbeId(0),
      m_listenerPrefix(0),
      m_listenerState(0),
      m_natPending(4, 0.75f),
      m_probes(4, 0.75f) {
  m_refill.start();
}

std::uint32_t bdQoSProbe::prefixOf(const bdSecurityID& id) {
  std::uint32_t prefix = 0;
  for (unsigned int i = 0; i < 4; ++i)
    prefix |= static_cast<std::uint32_t>(id.ab[i]) << (8 * i);
  return prefix;
}

bool bdQoSProbe::listen(const bdSecurityID& id, const unsigned char* data, unsigned int size) {
  if (!m_reply.setData(data, size)) return false;
  m_listenerPrefix = prefixOf(id);
  m_listenerState = 2;
  m_reply.setEnabledFlag(true);
  bdLogInfo(kChannel, "Enabled QoS listener.");
  return true;
}

bool bdQoSProbe::setListenerData(const unsigned char* data, unsigned int size) {
  return m_reply.setData(data, size);
}

void bdQoSProbe::disableListener() {
  m_listenerState = 1;
  m_reply.setEnabledFlag(false);
}

void bdQoSProbe::enableListener() {
  m_listenerState = 2;
  m_reply.setEnabledFlag(true);
}

void bdQoSProbe::stopListening() { m_listenerState = 0; }

void bdQoSProbe::addProbe(bdQoSProbeEntryWrapper& entry, const bdAddr& addr) {
  entry.m_addr = addr;
  entry.m_tries = 0;
  m_probes.put(m_nextProbeId++, entry);
}

bool bdQoSProbe::probe(bdReference<bdCommonAddr> addr, const bdSecurityID& id,
                       const bdSecurityKey& key, bdQoSProbeListener* listener) {
  bdQoSProbeEntryWrapper entry;
  entry.m_target = addr;
  entry.m_id = id;
  entry.m_key = key;
  entry.m_listener = listener;
  if (addr->getNATType() == BD_NAT_OPEN && addr->getPublicAddr().isValid()) {
    addProbe(entry, addr->getPublicAddr());
    return true;
  }
  const unsigned int key32 = addr->getHash();
  bdArray<bdQoSProbeEntryWrapper> waiting;
  if (m_natPending.get(key32, waiting)) {
    bdLogInfo(kChannel, "Got multiple probes for the same address.\n");
  }
  waiting.pushBack(entry);
  // The map keeps the first value put under a key, so the longer array replaces it.
  m_natPending.remove(key32);
  m_natPending.put(key32, waiting);
  if (m_natTrav != nullptr) m_natTrav->connect(addr, this, true);
  return true;
}

bool bdQoSProbe::probe(const bdQoSRemoteAddr& remote, bdQoSProbeListener* listener) {
  return probe(remote.m_addr, remote.m_id, remote.m_key, listener);
}

bool bdQoSProbe::probe(const bdArray<bdQoSRemoteAddr>& remotes, bdQoSProbeListener* listener) {
  for (unsigned int i = 0; i < remotes.getSize(); ++i) {
    if (!probe(remotes[i], listener)) return false;
  }
  return true;
}

bool bdQoSProbe::probe(const bdArray<bdReference<bdCommonAddr>>& addrs,
                       const bdArray<bdSecurityID>& ids, const bdArray<bdSecurityKey>& keys,
                       bdQoSProbeListener* listener) {
  // Arrays of unequal length are refused rather than read past their ends.
  if (ids.getSize() != addrs.getSize() || keys.getSize() != addrs.getSize()) return false;
  for (unsigned int i = 0; i < addrs.getSize(); ++i) {
    if (!probe(addrs[i], ids[i], keys[i], listener)) return false;
  }
  return true;
}

void bdQoSProbe::cancelProbes() {
  for (auto it = m_natPending.getIterator(); it != nullptr; it = m_natPending.next(it)) {
    const bdArray<bdQoSProbeEntryWrapper>& waiting = m_natPending.getValue(it);
    if (m_natTrav != nullptr && !waiting.isEmpty()) m_natTrav->cancel(waiting[0].m_target);
  }
  m_natPending.clear();
  m_probes.clear();
}

unsigned int bdQoSProbe::setBandwidth(unsigned int bitsPerSecond) {
  m_bandwidth = bitsPerSecond / 8;
  return m_bandwidth;
}

void bdQoSProbe::onNATAddrDiscovery(bdReference<bdCommonAddr> target, const bdAddr& found) {
  bdArray<bdQoSProbeEntryWrapper> waiting;
  if (target.isNull() || !m_natPending.get(target->getHash(), waiting)) {
    bdLogWarn(kChannel, "Received NAT Traversal success for unrecognized address.");
    return;
  }
  m_natPending.remove(target->getHash());
  for (unsigned int i = 0; i < waiting.getSize(); ++i)
    addProbe(waiting[i], found);
}

void bdQoSProbe::onNATAddrDiscoveryFailed(bdReference<bdCommonAddr> target) {
  bdArray<bdQoSProbeEntryWrapper> waiting;
  if (target.isNull() || !m_natPending.get(target->getHash(), waiting)) {
    bdLogWarn(kChannel, "Received NAT Traversal failure for unrecognized address.");
    return;
  }
  m_natPending.remove(target->getHash());
  for (unsigned int i = 0; i < waiting.getSize(); ++i) {
    if (waiting[i].m_listener != nullptr) waiting[i].m_listener->onQoSProbeFailed(target);
  }
}

void bdQoSProbe::pump() {
  if (m_refill.getElapsedTimeAsSeconds() > REFILL_SECONDS) {
    m_limiter->refill(static_cast<unsigned int>(m_bandwidth * REFILL_SECONDS));
    m_refill.start();
  }
  bdArray<unsigned int> failed;
  if (m_probes.getSize() > 0 && m_limiter->canSend(0)) {
    for (auto it = m_probes.getIterator(); it != nullptr; it = m_probes.next(it)) {
      if (!m_limiter->canSend(0)) break;
      bdQoSProbeEntryWrapper& entry = m_probes.getValue(it);
      if (entry.m_tries != 0 && entry.m_resend.getElapsedTimeAsSeconds() <= RESEND_SECONDS)
        continue;
      if (entry.m_tries >= MAX_TRIES) {
        failed.pushBack(m_probes.getKey(it));
        continue;
      }
      bdQoSRequestPacket request(bdPlatformTiming::getHiResTimeStamp(), m_probes.getKey(it),
                                 prefixOf(entry.m_id));
      unsigned char buffer[bdQoSReplyPacket::MAX_PACKET_SIZE];
      unsigned int size = 0;
      if (!request.serialize(buffer, sizeof buffer, 0, size)) {
        bdLogError(kChannel, "Failed to put the probe packet into a buffer.");
        continue;
      }
      if (!m_limiter->canSend(size + kOverhead)) break;
      m_socket->sendTo(entry.m_addr, buffer, size);
      ++entry.m_tries;
      entry.m_resend.start();
      m_limiter->consume(size + kOverhead);
    }
  }
  for (unsigned int i = 0; i < failed.getSize(); ++i) {
    bdQoSProbeEntryWrapper entry;
    if (!m_probes.get(failed[i], entry)) continue;
    m_probes.remove(failed[i]);
    if (entry.m_listener != nullptr) entry.m_listener->onQoSProbeFailed(entry.m_target);
  }
}

bool bdQoSProbe::acceptPacket(bdSocket*, const bdAddr& from, const void* data, unsigned int size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  if (bytes == nullptr || size == 0) return false;
  if (bytes[0] < 0x28 || bytes[0] > 0x31) return false;
  unsigned int end = 0;
  if (bytes[0] == bdQoSRequestPacket::TYPE) {
    bdQoSRequestPacket request;
    if (!request.deserialize(bytes, size, 0, end) || end != size) return false;
    return handleRequest(request, from);
  }
  if (bytes[0] == bdQoSReplyPacket::TYPE) {
    bdQoSReplyPacket reply;
    if (!reply.deserialize(bytes, size, 0, end) || end != size) return false;
    return handleReply(reply, from);
  }
  bdLogWarn(kChannel, "Got packet with invalid type.");
  return false;
}

bool bdQoSProbe::handleRequest(const bdQoSRequestPacket& request, const bdAddr& from) {
  if (m_listenerState == 0) return true;
  if (request.getSecurityIdPrefix() != m_listenerPrefix) {
    bdLogWarn(kChannel, "Received a packet with invalid security ID. Dropping.");
    return true;
  }
  if (!m_limiter->canSend(kOverhead) || !m_limiter->canSend(m_reply.getSize() + kOverhead))
    return true;
  m_reply.setId(request.getId());
  m_reply.setTimestamp(request.getTimestamp());
  unsigned char buffer[bdQoSReplyPacket::MAX_PACKET_SIZE];
  unsigned int size = 0;
  if (!m_reply.serialize(buffer, sizeof buffer, 0, size)) {
    bdLogError(kChannel, "Failed to put the reply packet into a buffer.");
    return true;
  }
  m_socket->sendTo(from, buffer, size);
  m_limiter->consume(size + kOverhead);
  return true;
}

bool bdQoSProbe::handleReply(const bdQoSReplyPacket& reply, const bdAddr& from) {
  bdQoSProbeEntryWrapper entry;
  if (!m_probes.get(reply.getId(), entry)) {
    bdLogWarn(kChannel, "Received probe reply with invalid id.");
    return true;
  }
  if (from != entry.m_addr) {
    bdLogWarn(kChannel, "Received probe reply with spoofed id?");
    return true;
  }
  m_probes.remove(reply.getId());
  bdQoSProbeInfo info;
  info.m_addr = entry.m_target;
  const std::uint64_t now = bdPlatformTiming::getHiResTimeStamp();
  // A stamp ahead of our counter was not ours: no negative or wrapped latency.
  info.m_latency =
      reply.getTimestamp() > now
          ? 0.0f
          : static_cast<float>(bdPlatformTiming::getElapsedTime(reply.getTimestamp(), now));
  info.m_data = reply.getData();
  info.m_dataSize = reply.getDataSize();
  info.m_disabled = !reply.getEnabledFlag();
  if (entry.m_listener != nullptr) entry.m_listener->onQoSProbeSuccess(info);
  return true;
}
