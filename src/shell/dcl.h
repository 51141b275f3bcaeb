#pragma once
// PKWARE Data Compression Library streams: Explode decodes, Implode encodes.
// Both run through two callbacks and a work area that the caller owns, so
// neither allocates nor touches files.
//
// Stream: byte 0 literal mode (0 binary, 1 ASCII), byte 1 dictionary
// exponent k (4, 5, 6 for 1024, 2048, 4096 bytes), then tokens, bits taken
// from each byte's lowest bit up, until the end token.
#include <cstddef>
#include <cstdint>

namespace shell {

enum DclResult : int {
  kDclOk = 0,
  kDclInvalidDictSize = 1,
  kDclInvalidMode = 2,
  kDclBadData = 3,  // first read too short, or a distance reaching before the data
  kDclAbort = 4,    // input ended before the end token
};

enum DclLiteralMode : unsigned {
  kDclBinary = 0,
  kDclAscii = 1,
};

// Fills up to *size bytes of buffer and returns the count; 0 at the end.
using DclReadFn = unsigned (*)(uint8_t* buffer, unsigned* size, void* param);
// Takes *size bytes.
using DclWriteFn = void (*)(uint8_t* buffer, unsigned* size, void* param);

// Sizes of the work areas the format's users allocate; ours fit inside them.
constexpr size_t kExplodeWorkAreaSize = 12596;
constexpr size_t kImplodeWorkAreaSize = 36312;

namespace dcl {

constexpr unsigned kInputBufferSize = 2048;
constexpr unsigned kOutputBufferSize = 2048;
constexpr unsigned kWindowHalf = 4096;
constexpr unsigned kMaxDictionary = 4096;
constexpr unsigned kImplodeBlock = 4096;
constexpr unsigned kImplodeMaxRepetition = 516;
// 4 * b0 + 5 * b1 over two bytes.
constexpr unsigned kPairHashes = 4 * 255 + 5 * 255 + 1;

// Decoding tables are keyed by the next 8 stream bits. The length and
// distance tables give the code index (its length is in LenBits/DistBits);
// the ASCII table gives the byte (low 8 bits) and code length (bits 8..11).
// Codes longer than 8 bits go through a second table of 32 entries keyed by
// bits 8..12, chosen by their first 8 bits.
constexpr uint16_t kLongCodeFlag = 0x8000;
constexpr unsigned kLongPrefixes = 16;

}  // namespace dcl

struct ExplodeWork {
  DclReadFn read;
  DclWriteFn write;
  void* param;
  uint32_t literalMode;
  uint32_t dictBits;
  uint32_t inPos;      // next unread byte of `input`
  uint32_t inBytes;    // bytes held in `input`
  uint32_t inputDone;  // the read callback returned 0
  uint32_t bitBuf;     // unread bits, lowest first
  uint32_t bitCount;
  uint32_t outPos;    // write position in `window`, from kWindowHalf
  uint32_t produced;  // bytes decoded so far (capped once past the window)
  uint8_t lengthLookup[256];
  uint8_t distLookup[256];
  uint16_t asciiLookup[256];
  uint16_t asciiLong[dcl::kLongPrefixes][32];
  uint8_t input[dcl::kInputBufferSize];
  // Decoded output; the 4096 bytes before outPos are the dictionary. When
  // outPos reaches 8192 the upper half is written out and moved down.
  uint8_t window[2 * dcl::kWindowHalf];
};

struct ImplodeWork {
  DclReadFn read;
  DclWriteFn write;
  void* param;
  uint32_t literalMode;
  uint32_t dictBits;
  uint32_t dictSize;
  uint32_t bitBuf;  // pending bits not yet in `output`
  uint32_t bitCount;
  uint32_t outBytes;  // full bytes in `output`
  // Positions below are 1 + index into `data`; 0 means none.
  uint16_t head[dcl::kPairHashes];
  uint16_t prev[dcl::kMaxDictionary + dcl::kImplodeBlock + dcl::kImplodeMaxRepetition];
  uint8_t data[dcl::kMaxDictionary + dcl::kImplodeBlock + dcl::kImplodeMaxRepetition];
  uint8_t output[dcl::kOutputBufferSize + 8];
};

static_assert(sizeof(ExplodeWork) <= kExplodeWorkAreaSize, "explode work area too large");
static_assert(sizeof(ImplodeWork) <= kImplodeWorkAreaSize, "implode work area too large");

int Explode(DclReadFn read, DclWriteFn write, ExplodeWork* work, void* param);

// dictionarySize: 1024, 2048 or 4096.
int Implode(DclReadFn read, DclWriteFn write, ImplodeWork* work, void* param, unsigned literalMode,
            unsigned dictionarySize);

}  // namespace shell
