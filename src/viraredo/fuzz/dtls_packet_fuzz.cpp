// Reads arbitrary bytes as every secured-association packet, and hands them
// to an association the way the router would. Nothing may read outside the
// bytes given; a packet that reads must write back the bytes it consumed.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bdAddressMap/bdAddressMap.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdDTLS/bdDTLSAssociation.h"
#include "bdDTLS/bdDTLSCookieAck.h"
#include "bdDTLS/bdDTLSCookieEcho.h"
#include "bdDTLS/bdDTLSData.h"
#include "bdDTLS/bdDTLSError.h"
#include "bdDTLS/bdDTLSInit.h"
#include "bdDTLS/bdDTLSInitAck.h"
#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"
#include "bdSocket/bdSocket.h"
#include "fuzz_core.h"

namespace {

const unsigned char kKey[24] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8,
                                9, 7, 9, 3, 2, 3, 8, 4, 6, 2, 6, 4};

class NullSocket : public bdSocket {
 public:
  int sendTo(const bdAddr&, const void*, unsigned int length) override {
    return static_cast<int>(length);
  }
};

template <typename Packet>
void roundTrip(const uint8_t* data, size_t size) {
  Packet packet;
  unsigned int end = 0;
  if (!packet.deserialize(data, static_cast<unsigned int>(size), 0, end)) {
    FUZZ_CHECK(end == 0);
    return;
  }
  FUZZ_CHECK(end <= size);
  std::vector<unsigned char> again(end);
  unsigned int written = 0;
  FUZZ_CHECK(packet.serialize(again.data(), end, 0, written) && written == end);
  // The error type is one byte on the wire; everything else is copied as read.
  FUZZ_CHECK(std::memcmp(again.data(), data, end) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size > 4096) return 0;
  roundTrip<bdDTLSHeader>(data, size);
  roundTrip<bdDTLSInit>(data, size);
  roundTrip<bdDTLSInitAck>(data, size);
  roundTrip<bdDTLSCookieEcho>(data, size);
  roundTrip<bdDTLSCookieAck>(data, size);
  roundTrip<bdDTLSError>(data, size);

  std::vector<unsigned char> out(1400);
  bdDTLSData packet;
  unsigned int end = 0;
  unsigned int length = 0;
  const unsigned int outSize = size > 0 ? data[0] * 6u : 0u;
  if (packet.deserialize(data, static_cast<unsigned int>(size), 0, end, bdSequenceNumber(0), kKey,
                         out.data(), outSize, length)) {
    FUZZ_CHECK(length + 8 <= outSize && end == size);
  } else {
    FUZZ_CHECK(length == 0 && end == 0);
  }

  static NullSocket socket;
  static bdSecurityKeyMap keys;
  static bdDHKey ecc;
  static bdAddressMapImpl addrMap;
  static bool ready = false;
  if (!ready) {
    ecc.create();
    bdSecurityID id;
    bdSecurityKey key;
    keys.put(id, key);
    ready = true;
  }
  bdDTLSAssociation association(&socket, &keys, &ecc, &addrMap, bdReference<bdCommonAddr>(),
                                bdAddr("127.0.0.2:3074"), bdAddrHandleRef());
  bdAddrHandleRef handle;
  const int n =
      association.receiveFrom(bdAddr("127.0.0.2:3074"), data, static_cast<unsigned int>(size),
                              handle, out.data(), static_cast<unsigned int>(out.size()));
  FUZZ_CHECK(n == -2 || (n >= 0 && static_cast<unsigned int>(n) <= out.size()));
  association.pump();
  return 0;
}
