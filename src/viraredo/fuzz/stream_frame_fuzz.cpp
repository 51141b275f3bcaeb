// Decodes arbitrary bytes as the lobby stream's frames, as a connection's
// receive ring would hold them. Every frame must stay inside the bytes given;
// every message decoded must encode again (plain and encrypted) to a frame
// that decodes to the same type and payload.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bdStreamConnection/bdStreamFrame.h"
#include "fuzz_core.h"

namespace {

const unsigned char kKey[24] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8,
                                9, 7, 9, 3, 2, 3, 8, 4, 6, 2, 6, 4};

void roundTrip(unsigned char type, const unsigned char* payload, unsigned int size, bool encrypt) {
  std::vector<unsigned char> frame(size + 32);
  const unsigned int n =
      bdStreamFrame::encode(frame.data(), static_cast<unsigned int>(frame.size()), type, payload,
                            size, encrypt, kKey, size * 7u);
  FUZZ_CHECK(n == bdStreamFrame::frameSize(size, encrypt));
  if (n == 0) return;
  bdStreamFrame::Decoded back;
  FUZZ_CHECK(bdStreamFrame::decode(frame.data(), n, bdStreamFrame::MAX_LENGTH, kKey, back) ==
             bdStreamFrame::MESSAGE);
  FUZZ_CHECK(back.consumed == n && back.type == type && back.payloadSize >= size);
  FUZZ_CHECK(encrypt || back.payloadSize == size);
  FUZZ_CHECK(std::memcmp(back.payload, payload, size) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size < 1 || size > 70000) return 0;
  // The first byte picks the reader's limit, as a smaller receive ring would.
  const unsigned int maxLength = data[0] & 1 ? bdStreamFrame::MAX_LENGTH : 8090;
  std::vector<unsigned char> ring(data + 1, data + size);
  unsigned int at = 0;
  for (int frames = 0; frames < 10000; ++frames) {
    const unsigned int left = static_cast<unsigned int>(ring.size()) - at;
    bdStreamFrame::Decoded f;
    const bdStreamFrame::Result r =
        bdStreamFrame::decode(ring.data() + at, left, maxLength, kKey, f);
    if (r == bdStreamFrame::NEED_MORE || r == bdStreamFrame::BAD_FRAME ||
        r == bdStreamFrame::BAD_MAGIC) {
      break;
    }
    FUZZ_CHECK(f.consumed >= 2 && f.consumed <= left);
    if (r == bdStreamFrame::MESSAGE) {
      FUZZ_CHECK(f.payload >= ring.data() + at &&
                 f.payload + f.payloadSize <= ring.data() + at + f.consumed);
      FUZZ_CHECK(f.consumed - 2 <= maxLength);
      const std::vector<unsigned char> payload(f.payload, f.payload + f.payloadSize);
      roundTrip(f.type, payload.data(), f.payloadSize, false);
      roundTrip(f.type, payload.data(), f.payloadSize, true);
    }
    at += f.consumed;
  }
  return 0;
}
