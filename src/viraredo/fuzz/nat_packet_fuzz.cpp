// Offers arbitrary datagrams to a NAT traversal client with a search under
// way and reads them as discovery server replies: whatever they claim, reads
// stay inside the datagram and only a reply with this host's HMAC resolves.
#include <cstddef>
#include <cstdint>

#include "bdDiscovery/bdDiscoveryPackets.h"
#include "bdNATTraversal/bdNATTravClient.h"
#include "bdNATTraversal/bdNATTravListener.h"
#include "bdSocket/bdSocket.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"
#include "fuzz_core.h"

namespace {
class DiscardingSocket : public bdSocket {
 public:
  int sendTo(const bdAddr&, const void*, unsigned int length) override {
    FUZZ_CHECK(length <= bdAddr::MAX_DATAGRAM_SIZE);
    return static_cast<int>(length);
  }
};

class CountingListener : public bdNATTravListener {
 public:
  void onNATAddrDiscovery(bdReference<bdCommonAddr>, const bdAddr&) override { ++found; }
  void onNATAddrDiscoveryFailed(bdReference<bdCommonAddr>) override {}
  int found = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size > 65535) return 0;
  const unsigned int n = static_cast<unsigned int>(size);
  unsigned int end = 0;
  bdNATTypeDiscoveryPacketReply natReply;
  if (natReply.deserialize(data, n, 0, end)) FUZZ_CHECK(end == 15 || end == 20);
  bdIPDiscoveryPacketReply ipReply;
  if (ipReply.deserialize(data, n, 0, end)) FUZZ_CHECK(end == 9 || end == 12);

  DiscardingSocket socket;
  bdBandwidthLimiter limiter;
  bdArray<bdAddr> introducers;
  introducers.pushBack(bdAddr("127.0.0.2:3075"));
  bdArray<bdAddr> locals;
  locals.pushBack(bdAddr("10.0.0.1:3074"));
  bdReference<bdCommonAddr> self(new bdCommonAddr(locals, bdAddr("80.0.0.1:3074"), BD_NAT_OPEN));
  bdReference<bdCommonAddr> target(new bdCommonAddr(bdAddr("10.0.0.2:3074")));
  CountingListener listener;
  {
    bdNATTravClient client(introducers, &socket, &limiter, self);
    client.connect(target, &listener, false);
    client.acceptPacket(&socket, bdAddr("10.0.0.2:3074"), data, n);
    client.pump();
  }
  // The key is random per client: a forged reply cannot carry its HMAC.
  FUZZ_CHECK(listener.found == 0);
  return 0;
}
