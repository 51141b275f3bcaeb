#pragma once
// Measures round trips to hosts before a game is joined, and answers such
// probes for the host of a game with its data blob. Requests and replies are
// unsecured; a 4-byte prefix of the host's security id keeps strangers from
// the blob.
#include <cstdint>

#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdCore/bdContainers/bdHashingClass.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdNATTraversal/bdNATTravListener.h"
#include "bdQoS/bdQoSPackets.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"
#include "bdSocketRouter/bdPacketInterceptor.h"

class bdSocket;
class bdNATTravClient;
class bdBandwidthLimiter;

struct bdQoSProbeInfo {
  bdReference<bdCommonAddr> m_addr;
  float m_latency;  // seconds
  // Valid only during the listener's call.
  const unsigned char* m_data;
  unsigned int m_dataSize;
  bool m_disabled;
};

class bdQoSProbeListener {
 public:
  virtual ~bdQoSProbeListener() = default;
  virtual void onQoSProbeSuccess(const bdQoSProbeInfo& info) = 0;
  virtual void onQoSProbeFailed(bdReference<bdCommonAddr> addr) = 0;
};

struct bdQoSRemoteAddr {
  bdReference<bdCommonAddr> m_addr;
  bdSecurityID m_id;
  bdSecurityKey m_key;
};

class bdQoSProbe : public bdNATTravListener, public bdPacketInterceptor {
 public:
  static constexpr unsigned int MAX_TRIES = 4;
  static constexpr double RESEND_SECONDS = 0.9;
  static constexpr double REFILL_SECONDS = 0.2;

  bdQoSProbe(bdSocket* socket, bdNATTravClient* natTrav, bdBandwidthLimiter* limiter);
  ~bdQoSProbe() override = default;

  bool listen(const bdSecurityID& id, const unsigned char* data, unsigned int size);
  bool setListenerData(const unsigned char* data, unsigned int size);
  void disableListener();
  void enableListener();
  void stopListening();

  bool probe(bdReference<bdCommonAddr> addr, const bdSecurityID& id, const bdSecurityKey& key,
             bdQoSProbeListener* listener);
  bool probe(const bdQoSRemoteAddr& remote, bdQoSProbeListener* listener);
  bool probe(const bdArray<bdQoSRemoteAddr>& remotes, bdQoSProbeListener* listener);
  bool probe(const bdArray<bdReference<bdCommonAddr>>& addrs, const bdArray<bdSecurityID>& ids,
             const bdArray<bdSecurityKey>& keys, bdQoSProbeListener* listener);
  void cancelProbes();

  unsigned int setBandwidth(unsigned int bitsPerSecond);

  bool acceptPacket(bdSocket* socket, const bdAddr& from, const void* data,
                    unsigned int size) override;
  void pump();

  void onNATAddrDiscovery(bdReference<bdCommonAddr> target, const bdAddr& found) override;
  void onNATAddrDiscoveryFailed(bdReference<bdCommonAddr> target) override;

  unsigned int getPendingProbeCount() const { return m_probes.getSize(); }

 private:
  struct bdQoSProbeEntryWrapper {
    bdReference<bdCommonAddr> m_target;
    bdSecurityID m_id;
    bdSecurityKey m_key;
    bdAddr m_addr;
    bdQoSProbeListener* m_listener = nullptr;
    unsigned int m_tries = 0;
    bdStopwatch m_resend;
  };

  bool handleRequest(const bdQoSRequestPacket& request, const bdAddr& from);
  bool handleReply(const bdQoSReplyPacket& reply, const bdAddr& from);
  void addProbe(bdQoSProbeEntryWrapper& entry, const bdAddr& addr);
  static std::uint32_t prefixOf(const bdSecurityID& id);

  unsigned int m_bandwidth;  // bytes per second
  bdSocket* m_socket;
  bdNATTravClient* m_natTrav;
  bdBandwidthLimiter* m_limiter;
  unsigned int m_nextProbeId;
  bdStopwatch m_refill;
  std::uint32_t m_listenerPrefix;
  bdQoSReplyPacket m_reply;
  unsigned int m_listenerState;  // 0 off, 1 on and disabled, 2 on and enabled
  // Keyed by the target address's hash: one search per address.
  bdHashMap<unsigned int, bdArray<bdQoSProbeEntryWrapper>, bdHashingClass> m_natPending;
  bdHashMap<unsigned int, bdQoSProbeEntryWrapper, bdHashingClass> m_probes;
};
