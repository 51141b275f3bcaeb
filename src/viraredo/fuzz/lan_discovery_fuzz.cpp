// Reads arbitrary datagrams as LAN discovery requests (the hosting side) and
// as replies (the searching side): reads stay inside the datagram, and a game
// info read whole writes back exactly the bits it was read from.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdLANDiscovery/bdDiscoveryClient.h"
#include "bdLANDiscovery/bdGameInfo.h"
#include "bdLANDiscovery/bdLANDiscoveryPacket.h"
#include "fuzz_core.h"

namespace {
unsigned int bitAt(const unsigned char* data, unsigned int n) {
  return (data[n / 8] >> (n % 8)) & 1u;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size > bdDiscoveryClient::MAX_DATAGRAM_SIZE) return 0;
  const unsigned int n = static_cast<unsigned int>(size);

  unsigned char nonce[bdLANDiscoveryPacket::NONCE_SIZE];
  std::uint32_t titleID = 0;
  if (bdLANDiscoveryPacket::readRequest(data, n, nonce, titleID))
    FUZZ_CHECK(n * 8 >= bdLANDiscoveryPacket::REQUEST_BITS);

  if (n > bdLANDiscoveryPacket::IGNORED_SIZE) {
    bdBitBuffer reply(data, n * 8, true);
    unsigned char type = 0;
    if (bdLANDiscoveryPacket::readType(reply, type) &&
        bdLANDiscoveryPacket::readNonce(reply, nonce)) {
      const unsigned int start = reply.getReadPosition();
      bdReference<bdGameInfo> info(new bdGameInfo());
      if (info->deserialize(nullptr, reply)) {
        const unsigned int end = reply.getReadPosition();
        FUZZ_CHECK(end <= n * 8);
        FUZZ_CHECK(info->getHostAddr().notNull());
        bdBitBuffer again(end - start, false);
        info->serialize(again);
        FUZZ_CHECK(again.getNumBitsWritten() - 1 == end - start);
        // Unread local address slots and the NAT byte may differ only where
        // the address reader normalises them; the fixed fields must not.
        for (unsigned int i = 0; i < 32 + 64 + 128; ++i)
          FUZZ_CHECK(bitAt(again.getData(), 1 + i) == bitAt(data, start + i));
      }
    }
  }

  // The searching side's whole path: nothing it reads may escape the datagram.
  bdDiscoveryClient client;
  client.handleDatagram(bdAddr("127.0.0.1:50000"), data, n);
  return 0;
}
