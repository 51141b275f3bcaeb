#pragma once
// Mono IMA ADPCM with 4-bit codes, the first code of each byte in the high
// nibble. Samples are signed 16-bit little-endian. Predictor and step index
// start at 0 and run on over the whole buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace shell {

// The trailing bytes of an "ADPC" entry that hold no audio.
constexpr size_t kAdpcmTrailerSize = 16;

// Decodes an "ADPC" entry's stored bytes (all but the last 16). Each byte
// gives two samples; output stops at unpackedSize, so the result holds
// min(unpackedSize, 4 * (storedSize - 16)) bytes.
std::vector<uint8_t> AdpcmDecodeEntry(const uint8_t* stored, size_t storedSize,
                                      uint32_t unpackedSize);

// Encodes byteCount bytes of samples (a stray odd byte is ignored). An odd
// last sample gives a byte with only its high nibble, which is counted.
std::vector<uint8_t> AdpcmEncodeBuffer(const uint8_t* samples, size_t byteCount);

}  // namespace shell
