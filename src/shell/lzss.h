#pragma once
// LZSS with a 4096-byte window (zero at the start, writing from position 1).
// A flag byte precedes each eight tokens, its bits taken lowest first: 1 a
// literal byte, 0 a copy of two bytes b0 b1 (window position
// b1 | (b0 & 0xF0) << 4, length (b0 & 0x0F) + 2). Position 0 with a length
// nibble of 0 ends the stream.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace shell {

// Decodes into output, never writing more than capacity bytes; outCount
// receives the bytes produced. False when the output would pass capacity or
// the input ends inside a token; running out of input between tokens ends
// the stream like the end marker.
bool LzssDecodeInto(const uint8_t* input, size_t inputSize, uint8_t* output, size_t capacity,
                    size_t* outCount);

// Decodes into a new block of at most `size` bytes; nullopt when the stream
// does not fit in it or is cut inside a token.
std::optional<std::vector<uint8_t>> LzssDecodeAlloc(const uint8_t* input, size_t inputSize,
                                                    size_t size);

}  // namespace shell
