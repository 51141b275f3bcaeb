#pragma once
// Fixed code tables of the PKWARE Data Compression Library stream format.
// Codes are stored as they appear in the stream: bit 0 is the first bit read.
#include <cstdint>

namespace shell {
namespace dcl {

constexpr int kLengthCodes = 16;
constexpr int kDistanceCodes = 64;
constexpr int kMaxAsciiBits = 13;

// Length value 517 (LenBase[15] + 255) marks the end of the stream; any
// other value v is a repetition of v + 2 bytes.
constexpr uint32_t kEndOfStream = 517;
constexpr uint32_t kMaxRepetition = 518;

extern const uint8_t LenBits[kLengthCodes];
extern const uint8_t LenCode[kLengthCodes];
extern const uint8_t ExLenBits[kLengthCodes];
extern const uint16_t LenBase[kLengthCodes];
extern const uint8_t DistBits[kDistanceCodes];
extern const uint8_t DistCode[kDistanceCodes];
// The fixed literal code of ASCII mode, 4 to 13 bits per byte value.
extern const uint8_t ChBitsAsc[256];
extern const uint16_t ChCodeAsc[256];

}  // namespace dcl
}  // namespace shell
