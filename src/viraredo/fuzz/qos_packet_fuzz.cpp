// Offers arbitrary datagrams to a listening host and to a prober with a probe
// under way. Lengths in replies must never let a copy leave the datagram, and
// whatever is answered must be a well-formed reply.
#include <cstddef>
#include <cstdint>

#include "bdQoS/bdQoSPackets.h"
#include "bdQoS/bdQoSProbe.h"
#include "bdSocket/bdSocket.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"
#include "fuzz_core.h"

namespace {
class CheckingSocket : public bdSocket {
 public:
  int sendTo(const bdAddr&, const void* data, unsigned int length) override {
    FUZZ_CHECK(length <= bdQoSReplyPacket::MAX_PACKET_SIZE);
    bdQoSReplyPacket reply;
    unsigned int end = 0;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    if (bytes[0] == bdQoSReplyPacket::TYPE) FUZZ_CHECK(reply.deserialize(bytes, length, 0, end));
    return static_cast<int>(length);
  }
};

class NullListener : public bdQoSProbeListener {
 public:
  void onQoSProbeSuccess(const bdQoSProbeInfo& info) override {
    FUZZ_CHECK(info.m_dataSize <= bdQoSReplyPacket::getMaxDataSize());
    FUZZ_CHECK(info.m_latency >= 0);
  }
  void onQoSProbeFailed(bdReference<bdCommonAddr>) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size > 65535) return 0;
  const bdAddr peer("10.0.0.2:3074");
  CheckingSocket socket;
  bdBandwidthLimiter limiter;
  limiter.refill(100000);
  NullListener listener;
  bdQoSProbe probe(&socket, nullptr, &limiter);
  bdSecurityID id;
  const unsigned char blob[] = {1, 2, 3};
  probe.listen(id, blob, sizeof blob);
  bdArray<bdAddr> locals;
  locals.pushBack(peer);
  bdReference<bdCommonAddr> target(new bdCommonAddr(locals, peer, BD_NAT_OPEN));
  probe.probe(target, id, bdSecurityKey(), &listener);
  probe.pump();
  probe.acceptPacket(&socket, peer, data, static_cast<unsigned int>(size));
  return 0;
}
