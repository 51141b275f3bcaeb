// Reads arbitrary bytes as a SACK and hands it to a send window with chunks
// in flight. Gap blocks and acknowledgements from the wire must never reach
// a slot outside what was sent, whatever they claim.
#include <cstddef>
#include <cstdint>

#include "bdPacket/bdPacket.h"
#include "bdPacket/bdSAckChunk.h"
#include "bdWindow/bdReliableSendWindow.h"
#include "fuzz_core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size < 1) return 0;
  // The first byte sets how many chunks are outstanding and how many were sent.
  bdReliableSendWindow window;
  const unsigned int queued = data[0] % 129;
  for (unsigned int i = 0; i < queued; ++i) {
    bdReference<bdMessage> m(new bdMessage(1, data, 1, false));
    window.add(bdReference<bdDataChunk>(new bdDataChunk(m, 0)));
  }
  bdPacket packet(1, 1328);
  window.getDataToSend(packet);

  const uint8_t* at = data + 1;
  size_t left = size - 1;
  while (left > 0) {
    bdReference<bdSAckChunk> sack(new bdSAckChunk());
    unsigned int used = 0;
    if (!sack->deserialize(at, static_cast<unsigned int>(left), used)) break;
    FUZZ_CHECK(used >= bdSAckChunk::BASE_SIZE && used <= left);
    float rtt = 0;
    window.handleAck(sack, rtt);
    FUZZ_CHECK(rtt >= 0);
    bdPacket more(1, 1328);
    window.getDataToSend(more);
    at += used;
    left -= used;
  }
  return 0;
}
