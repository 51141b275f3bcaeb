// Runs the byte packer's readers over arbitrary input, and checks that every
// value read is written and read back the same and that the byte buffer
// returns what was written.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdCore/bdUtilities/bdBytePacker.h"
#include "fuzz_core.h"

namespace {

template <typename T>
void roundTrip(const T& value) {
  unsigned char bytes[sizeof(T)];
  unsigned int end = 0;
  FUZZ_CHECK(bdBytePacker::appendBasicType(bytes, sizeof bytes, 0, end, value));
  T back{};
  FUZZ_CHECK(bdBytePacker::removeBasicType(bytes, sizeof bytes, 0, end, back));
  FUZZ_CHECK(std::memcmp(&back, &value, sizeof(T)) == 0);
}

void packerWalk(const uint8_t* data, unsigned int size) {
  unsigned int offset = 0;
  unsigned int op = 0;
  while (offset < size && op < 4096) {
    unsigned int next = offset;
    bool ok = false;
    switch (data[op++ % size] % 5) {
      case 0: {
        std::uint16_t v = 0;
        ok = bdBytePacker::removeEncodedUInt16(data, size, offset, next, v);
        if (ok && v < 32768) {
          unsigned char out[2];
          unsigned int end = 0;
          FUZZ_CHECK(bdBytePacker::appendEncodedUInt16(out, 2, 0, end, v));
          std::uint16_t back = 0;
          unsigned int readEnd = 0;
          FUZZ_CHECK(bdBytePacker::removeEncodedUInt16(out, end, 0, readEnd, back) && back == v);
        }
        break;
      }
      case 1: {
        std::uint32_t v = 0;
        ok = bdBytePacker::removeBasicType(data, size, offset, next, v);
        if (ok) roundTrip(v);
        break;
      }
      case 2: {
        double v = 0;
        ok = bdBytePacker::removeBasicType(data, size, offset, next, v);
        if (ok) roundTrip(v);
        break;
      }
      case 3: {
        unsigned char chunk[16];
        const unsigned int n = data[offset] % 17;
        ok = bdBytePacker::removeBuffer(data, size, offset, next, chunk, n);
        if (ok) FUZZ_CHECK(std::memcmp(chunk, data + offset, n) == 0);
        break;
      }
      default:
        ok = bdBytePacker::skipBytes(size, offset, next, data[offset] % 7);
        break;
    }
    if (!ok) {
      FUZZ_CHECK(next == offset);  // a refused read leaves the offset alone
      break;
    }
    FUZZ_CHECK(next > offset || data[offset] % 7 == 0 || data[offset] % 17 == 0);
    FUZZ_CHECK(next <= size);
    if (next == offset) ++next;
    offset = next;
  }
}

void bufferWalk(const uint8_t* data, unsigned int size) {
  bdReference<bdByteBuffer> buffer(new bdByteBuffer(size));
  FUZZ_CHECK(buffer.notNull());
  FUZZ_CHECK(buffer->write(data, size));
  FUZZ_CHECK(!buffer->write(data, 1));
  std::vector<unsigned char> back(size + 1);
  unsigned int at = 0;
  while (at < size) {
    const unsigned int n = 1 + data[at] % 9;
    if (!buffer->read(back.data() + at, n)) {
      FUZZ_CHECK(n > size - at);
      FUZZ_CHECK(buffer->read(back.data() + at, size - at));
      at = size;
      break;
    }
    at += n;
  }
  FUZZ_CHECK(std::memcmp(back.data(), data, size) == 0);
  FUZZ_CHECK(!buffer->read(back.data(), 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size == 0 || size > 65536) return 0;
  packerWalk(data, static_cast<unsigned int>(size));
  bufferWalk(data, static_cast<unsigned int>(size));
  return 0;
}
