#include "shell/lzss.h"

namespace shell {
namespace {

constexpr unsigned kWindowSize = 4096;
constexpr unsigned kWindowMask = kWindowSize - 1;

}  // namespace

bool LzssDecodeInto(const uint8_t* input, size_t inputSize, uint8_t* output, size_t capacity,
                    size_t* outCount) {
  uint8_t window[kWindowSize] = {};
  unsigned writePos = 1;
  size_t in = 0;
  size_t out = 0;
  unsigned flags = 0;  // remaining flag bits, with a marker bit above them
  bool ok = true;
  while (in < inputSize) {
    if (flags <= 1) flags = 0x100u | input[in++];
    const bool literal = flags & 1;
    flags >>= 1;
    if (literal) {
      if (in >= inputSize) break;  // a flag byte with nothing behind it
      if (out == capacity) {
        ok = false;
        break;
      }
      output[out++] = window[writePos] = input[in++];
      writePos = (writePos + 1) & kWindowMask;
      continue;
    }
    if (inputSize - in < 2) {
      ok = in == inputSize;  // a flag byte alone is a clean end; half a copy is not
      break;
    }
    const unsigned b0 = input[in++];
    const unsigned b1 = input[in++];
    unsigned from = b1 | ((b0 & 0xF0) << 4);
    const unsigned length = (b0 & 0x0F) + 2;
    if (from == 0 && length == 2) break;
    if (capacity - out < length) {
      ok = false;
      break;
    }
    for (unsigned i = 0; i < length; ++i) {
      const uint8_t byte = window[from];
      from = (from + 1) & kWindowMask;
      output[out++] = window[writePos] = byte;
      writePos = (writePos + 1) & kWindowMask;
    }
  }
  *outCount = out;
  return ok;
}

std::optional<std::vector<uint8_t>> LzssDecodeAlloc(const uint8_t* input, size_t inputSize,
                                                    size_t size) {
  std::vector<uint8_t> out(size);
  size_t count = 0;
  if (!LzssDecodeInto(input, inputSize, out.data(), size, &count)) return std::nullopt;
  out.resize(count);
  return out;
}

}  // namespace shell
