// Deserialises addresses, common addresses and security ids from arbitrary
// bytes; whatever is accepted must serialise and deserialise to the same value.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"
#include "fuzz_core.h"

namespace {

void addrRoundTrip(const uint8_t* data, unsigned int size) {
  bdAddr addr;
  unsigned int end = 0;
  if (!addr.deserialize(data, size, 0, end)) {
    FUZZ_CHECK(size < 6 && end == 0);
    return;
  }
  unsigned char out[6];
  unsigned int written = 0;
  FUZZ_CHECK(addr.serialize(out, sizeof out, 0, written) && written == 6);
  FUZZ_CHECK(std::memcmp(out, data, 6) == 0);
  char text[32];
  addr.toString(text, sizeof text);
  if (addr.isValid()) FUZZ_CHECK(bdAddr(text) == addr);
}

bool sameCommon(const bdCommonAddr& a, const bdCommonAddr& b) {
  if (a.getLocalAddrs().getSize() != b.getLocalAddrs().getSize()) return false;
  for (unsigned int i = 0; i < a.getLocalAddrs().getSize(); ++i) {
    if (a.getLocalAddr(i) != b.getLocalAddr(i)) return false;
  }
  return a.getPublicAddr() == b.getPublicAddr() && a.getNATType() == b.getNATType() &&
         a.getHash() == b.getHash();
}

void commonRoundTrip(const uint8_t* data, unsigned int size) {
  bdCommonAddr common;
  if (!common.deserialize(nullptr, data, size)) {
    FUZZ_CHECK(size < bdCommonAddr::SERIALIZED_SIZE);
    return;
  }
  FUZZ_CHECK(common.getLocalAddrs().getSize() <= bdCommonAddr::MAX_LOCAL_ADDRS);
  unsigned char out[bdCommonAddr::SERIALIZED_SIZE];
  FUZZ_CHECK(common.serialize(out, sizeof out));
  bdCommonAddr again;
  FUZZ_CHECK(again.deserialize(nullptr, out, sizeof out));
  FUZZ_CHECK(sameCommon(common, again));

  bdBitBuffer bits(0, false);
  common.serialize(bits);
  bdBitBuffer received(bits.getData(), bits.getNumBitsWritten(), true);
  bdCommonAddr fromBits;
  FUZZ_CHECK(fromBits.deserialize(nullptr, received));
  FUZZ_CHECK(sameCommon(common, fromBits));
}

void securityRoundTrip(const uint8_t* data, unsigned int size) {
  bdBitBuffer in(data, size * 8, true);
  bdSecurityID id;
  if (!id.deserialize(in)) return;
  bdBitBuffer out(0, in.isTyped());
  id.serialize(out);
  bdBitBuffer received(out.getData(), out.getNumBitsWritten(), true);
  bdSecurityID back;
  FUZZ_CHECK(back.deserialize(received) && back == id);
  char text[bdSecurityID::TEXT_SIZE];
  FUZZ_CHECK(id.toString(text, sizeof text) && std::strlen(text) == 17);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size > 4096) return 0;
  const unsigned int n = static_cast<unsigned int>(size);
  addrRoundTrip(data, n);
  commonRoundTrip(data, n);
  securityRoundTrip(data, n);
  return 0;
}
