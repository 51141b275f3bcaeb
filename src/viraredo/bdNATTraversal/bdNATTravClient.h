#pragma once
// Finds one address at which a remote peer answers, opening NAT mappings on
// the way: direct requests to each of its addresses (stage 1), a request
// forwarded by an introducer (stage 2), then direct requests again (stage 3).
// Each request carries an HMAC under a key only this host knows, which the
// reply must echo.
#include <cstdint>

#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdCore/bdContainers/bdHashingClass.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdCore/bdUtilities/bdTimer.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocketRouter/bdPacketInterceptor.h"

class bdNATTravListener;
class bdNATTraversalPacket;
class bdBandwidthLimiter;
class bdSocket;

class bdNATTravClient : public bdPacketInterceptor {
 public:
  static constexpr unsigned int HMAC_KEY_SIZE = 28;
  static constexpr float RESEND_SECONDS = 0.9f;
  static constexpr double KEEP_ALIVE_SECONDS = 15.0;
  static constexpr double THROTTLED_MAX_AGE_SECONDS = 20.0;
  static constexpr unsigned int MAX_TRIES = 4;

  // localAddr is this host's common address; without it nothing can be sent.
  bdNATTravClient(const bdArray<bdAddr>& introducers, bdSocket* socket, bdBandwidthLimiter* limiter,
                  bdReference<bdCommonAddr> localAddr);
  ~bdNATTravClient() override;
  bdNATTravClient(const bdNATTravClient&) = delete;
  bdNATTravClient& operator=(const bdNATTravClient&) = delete;

  // Throttled searches draw on the router's shared bandwidth allowance. A
  // second caller for the same target is told the outcome as well; a third
  // is refused.
  virtual bool connect(bdReference<bdCommonAddr> target, bdNATTravListener* listener,
                       bool throttled);
  // Drops a search without telling its listeners.
  virtual void cancel(bdReference<bdCommonAddr> target);

  bool acceptPacket(bdSocket* socket, const bdAddr& from, const void* data,
                    unsigned int size) override;
  void pump();

  unsigned int getPendingCount() const { return m_traversals.getSize(); }

 protected:
  // For test doubles that never send.
  bdNATTravClient();

 private:
  struct bdNATTravClientData {
    unsigned int m_stage = 1;
    bdReference<bdCommonAddr> m_local;
    bdReference<bdCommonAddr> m_target;
    bdNATTravListener* m_listener = nullptr;
    bdNATTravListener* m_secondListener = nullptr;
    unsigned int m_tries = 0;
    bdTimer m_resend;
    bool m_throttled = false;
    bdStopwatch m_age;
  };

  void sendStage1(bdNATTravClientData& data);
  void sendStage2(bdNATTravClientData& data);
  void sendKeepAlive();
  void receiveFrom(const bdAddr& from, bdNATTraversalPacket& packet);
  bool computeHMAC(const bdNATTraversalPacket& packet, unsigned char (&hmac)[10]) const;
  bool sendPacket(const bdNATTraversalPacket& packet, const bdAddr& to, bool throttled);
  static void fail(const bdNATTravClientData& data);

  bdBandwidthLimiter* m_limiter;
  bdArray<bdAddr> m_introducers;
  bdSocket* m_socket;
  bdReference<bdCommonAddr> m_localAddr;
  bdHashMap<unsigned int, bdNATTravClientData, bdHashingClass> m_traversals;
  bdStopwatch m_keepAlive;
  unsigned char m_hmacKey[HMAC_KEY_SIZE];
};
