#include "Modules/Core/Src/Digest/Md5Digest.h"

#include <tomcrypt.h>

namespace OX_Toolbox {

void Md5Digest::compute(const void* data, std::size_t length, unsigned char out[kDigestSize]) {
  hash_state state;
  md5_init(&state);
  const auto* bytes = static_cast<const unsigned char*>(data);
  // The library takes unsigned long lengths, which are 32-bit on Windows.
  constexpr std::size_t kChunk = 1u << 30;
  while (length > 0) {
    const std::size_t n = length < kChunk ? length : kChunk;
    md5_process(&state, bytes, static_cast<unsigned long>(n));
    bytes += n;
    length -= n;
  }
  md5_done(&state, out);
}

void XorWithKey32(const unsigned char key[kDigestSize], void* data, std::size_t length) {
  auto* bytes = static_cast<unsigned char*>(data);
  for (std::size_t i = 0; i < length; ++i)
    bytes[i] ^= key[(i % 32) / 2];
}

RecordFileCodec DefaultRecordFileCodec() {
  static Md5Digest digest;
  static XorScrambler scrambler;
  return {&digest, &scrambler};
}

}  // namespace OX_Toolbox
