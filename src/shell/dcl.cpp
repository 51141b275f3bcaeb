#include "shell/dcl.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstring>

#include "shell/dcl_tables.h"

namespace shell {
namespace {

using namespace dcl;

constexpr unsigned kWindowSize = 2 * kWindowHalf;
constexpr unsigned kImplodeCapacity = kMaxDictionary + kImplodeBlock + kImplodeMaxRepetition;

// ---------------------------------------------------------------------------
// Explode

// Fills every 8-bit key whose low bits equal a code with that code's index.
// The codes form a prefix code, so no key is claimed twice.
void BuildShortLookup(const uint8_t* bits, const uint8_t* codes, int count, uint8_t* lookup) {
  for (int s = 0; s < count; ++s) {
    for (unsigned key = codes[s]; key < 256; key += 1u << bits[s])
      lookup[key] = uint8_t(s);
  }
}

void BuildAsciiLookup(ExplodeWork* w) {
  std::memset(w->asciiLookup, 0, sizeof(w->asciiLookup));
  std::memset(w->asciiLong, 0, sizeof(w->asciiLong));
  unsigned longTables = 0;
  for (unsigned s = 0; s < 256; ++s) {
    const unsigned bits = ChBitsAsc[s];
    const unsigned code = ChCodeAsc[s];
    const uint16_t entry = uint16_t(s | (bits << 8));
    if (bits <= 8) {
      for (unsigned key = code; key < 256; key += 1u << bits)
        w->asciiLookup[key] = entry;
      continue;
    }
    uint16_t& first = w->asciiLookup[code & 0xFF];
    if (!(first & kLongCodeFlag)) {
      assert(longTables < kLongPrefixes);
      first = uint16_t(kLongCodeFlag | longTables++);
    }
    uint16_t* second = w->asciiLong[first & 0xFF];
    for (unsigned key = code >> 8; key < 32; key += 1u << (bits - 8))
      second[key] = entry;
  }
}

bool RefillInput(ExplodeWork* w) {
  if (w->inputDone) return false;
  unsigned size = kInputBufferSize;
  unsigned got = w->read(w->input, &size, w->param);
  got = std::min(got, kInputBufferSize);
  if (got == 0) {
    w->inputDone = 1;
    return false;
  }
  w->inPos = 0;
  w->inBytes = got;
  return true;
}

// Tries to hold at least `need` (at most 24) bits; false when the input ended
// first. Bits above bitCount stay zero, so a short peek decodes as if padded.
inline bool FillBits(ExplodeWork* w, unsigned need) {
  while (w->bitCount < need) {
    if (w->inPos == w->inBytes && !RefillInput(w)) return false;
    w->bitBuf |= uint32_t(w->input[w->inPos++]) << w->bitCount;
    w->bitCount += 8;
  }
  return true;
}

inline void DropBits(ExplodeWork* w, unsigned n) {
  w->bitBuf >>= n;
  w->bitCount -= n;
}

inline bool TakeBits(ExplodeWork* w, unsigned n, unsigned* value) {
  if (!FillBits(w, n)) return false;
  *value = w->bitBuf & ((1u << n) - 1);
  DropBits(w, n);
  return true;
}

bool ReadLiteral(ExplodeWork* w, unsigned* byte) {
  if (w->literalMode == kDclBinary) return TakeBits(w, 8, byte);
  FillBits(w, kMaxAsciiBits);
  uint16_t entry = w->asciiLookup[w->bitBuf & 0xFF];
  if (entry & kLongCodeFlag) entry = w->asciiLong[entry & 0xFF][(w->bitBuf >> 8) & 31];
  const unsigned bits = entry >> 8;
  if (bits == 0 || bits > w->bitCount) return false;
  *byte = entry & 0xFF;
  DropBits(w, bits);
  return true;
}

// The length value v: 517 ends the stream, else the repetition is v + 2 long.
bool ReadLengthValue(ExplodeWork* w, unsigned* value) {
  FillBits(w, 8);
  const unsigned index = w->lengthLookup[w->bitBuf & 0xFF];
  if (LenBits[index] > w->bitCount) return false;
  DropBits(w, LenBits[index]);
  unsigned extra = 0;
  if (ExLenBits[index] && !TakeBits(w, ExLenBits[index], &extra)) return false;
  *value = LenBase[index] + extra;
  return true;
}

// A 2-byte repetition carries 2 low distance bits, any other k.
bool ReadDistance(ExplodeWork* w, unsigned length, unsigned* distance) {
  FillBits(w, 8);
  const unsigned high = w->distLookup[w->bitBuf & 0xFF];
  if (DistBits[high] > w->bitCount) return false;
  DropBits(w, DistBits[high]);
  const unsigned lowBits = length == 2 ? 2 : w->dictBits;
  unsigned low = 0;
  if (!TakeBits(w, lowBits, &low)) return false;
  *distance = (high << lowBits) | low;
  return true;
}

void WriteOut(ExplodeWork* w, uint8_t* data, unsigned size) {
  if (size) w->write(data, &size, w->param);
}

// The upper half goes out and becomes the dictionary for what follows.
void FlushHalf(ExplodeWork* w) {
  WriteOut(w, w->window + kWindowHalf, kWindowHalf);
  std::memcpy(w->window, w->window + kWindowHalf, kWindowHalf);
  w->outPos = kWindowHalf;
}

void NoteProduced(ExplodeWork* w, unsigned n) {
  w->produced = std::min<uint32_t>(w->produced + n, kWindowHalf);
}

void PutByte(ExplodeWork* w, unsigned byte) {
  w->window[w->outPos++] = uint8_t(byte);
  NoteProduced(w, 1);
  if (w->outPos == kWindowSize) FlushHalf(w);
}

// Copies `length` bytes from `back` bytes behind the position; the source
// may overlap what the copy itself produces (a run).
void CopyRepetition(ExplodeWork* w, unsigned back, unsigned length) {
  while (length) {
    const unsigned n = std::min(length, kWindowSize - w->outPos);
    uint8_t* to = w->window + w->outPos;
    const uint8_t* from = to - back;
    if (back >= n) {
      std::memcpy(to, from, n);
    } else {
      for (unsigned i = 0; i < n; ++i)
        to[i] = from[i];
    }
    w->outPos += n;
    length -= n;
    NoteProduced(w, n);
    if (w->outPos == kWindowSize) FlushHalf(w);
  }
}

int DecodeTokens(ExplodeWork* w) {
  for (;;) {
    // Enough for the flag and a binary literal in one go; a shorter fill
    // only matters if the token really needs the missing bits.
    FillBits(w, 9);
    if (w->bitCount == 0) return kDclAbort;
    const bool isRepetition = w->bitBuf & 1;
    if (!isRepetition && w->literalMode == kDclBinary) {
      if (w->bitCount < 9) return kDclAbort;
      PutByte(w, (w->bitBuf >> 1) & 0xFF);
      DropBits(w, 9);
      continue;
    }
    DropBits(w, 1);
    if (!isRepetition) {
      unsigned byte = 0;
      if (!ReadLiteral(w, &byte)) return kDclAbort;
      PutByte(w, byte);
      continue;
    }
    unsigned value = 0;
    if (!ReadLengthValue(w, &value)) return kDclAbort;
    if (value == kEndOfStream) return kDclOk;
    const unsigned length = value + 2;
    unsigned distance = 0;
    if (!ReadDistance(w, length, &distance)) return kDclAbort;
    // The copy starts distance + 1 bytes back; nothing lies before the data.
    if (distance + 1 > w->produced) return kDclBadData;
    CopyRepetition(w, distance + 1, length);
  }
}

// ---------------------------------------------------------------------------
// Implode

void PutBits(ImplodeWork* w, uint32_t value, unsigned n) {
  w->bitBuf |= value << w->bitCount;
  w->bitCount += n;
  while (w->bitCount >= 8) {
    w->output[w->outBytes++] = uint8_t(w->bitBuf);
    w->bitBuf >>= 8;
    w->bitCount -= 8;
    if (w->outBytes == kOutputBufferSize) {
      unsigned size = kOutputBufferSize;
      w->write(w->output, &size, w->param);
      w->outBytes = 0;
    }
  }
}

void PutLiteral(ImplodeWork* w, uint8_t byte) {
  if (w->literalMode == kDclBinary) {
    PutBits(w, uint32_t(byte) << 1, 9);
  } else {
    PutBits(w, uint32_t(ChCodeAsc[byte]) << 1, ChBitsAsc[byte] + 1u);
  }
}

void PutLengthValue(ImplodeWork* w, unsigned value) {
  unsigned index = kLengthCodes - 1;
  while (LenBase[index] > value)
    --index;
  PutBits(w, 1u | (uint32_t(LenCode[index]) << 1), LenBits[index] + 1u);
  if (ExLenBits[index]) PutBits(w, value - LenBase[index], ExLenBits[index]);
}

void PutRepetition(ImplodeWork* w, unsigned length, unsigned distance) {
  PutLengthValue(w, length - 2);
  const unsigned lowBits = length == 2 ? 2 : w->dictBits;
  const unsigned high = distance >> lowBits;
  PutBits(w, DistCode[high], DistBits[high]);
  PutBits(w, distance & ((1u << lowBits) - 1), lowBits);
}

inline unsigned PairHash(const uint8_t* p) { return 4u * p[0] + 5u * p[1]; }

void InsertPosition(ImplodeWork* w, unsigned pos, unsigned fill) {
  if (pos + 1 >= fill) return;
  const unsigned h = PairHash(w->data + pos);
  w->prev[pos] = w->head[h];
  w->head[h] = uint16_t(pos + 1);
}

struct Match {
  unsigned length = 0;
  unsigned distance = 0;
};

// Longest earlier repetition of the bytes at pos among the positions that
// start with the same pair, within the dictionary. The chain runs from the
// nearest position back, so the first longest one is also the nearest.
Match FindLongest(const ImplodeWork* w, unsigned pos, unsigned fill) {
  Match best;
  if (pos + 2 > fill) return best;
  const uint8_t* here = w->data + pos;
  const unsigned maxLength = std::min(kImplodeMaxRepetition, fill - pos);
  for (unsigned link = w->head[PairHash(here)]; link; link = w->prev[link - 1]) {
    const unsigned cand = link - 1;
    if (pos - cand > w->dictSize) break;
    const uint8_t* there = w->data + cand;
    if (there[0] != here[0] || there[1] != here[1]) continue;
    if (best.length >= 2 && there[best.length] != here[best.length]) continue;
    unsigned length = 2;
    while (length < maxLength && there[length] == here[length])
      ++length;
    const unsigned distance = pos - cand - 1;
    if (length == 2 && distance >= 256) continue;
    if (length > best.length) {
      best.length = length;
      best.distance = distance;
      if (length == maxLength) break;
    }
  }
  return best;
}

// Keeps the last dictSize bytes before pos and moves the positions down.
void SlideWindow(ImplodeWork* w, unsigned* pos, unsigned* fill) {
  if (*pos <= w->dictSize) return;
  const unsigned shift = *pos - w->dictSize;
  std::memmove(w->data, w->data + shift, *fill - shift);
  std::memmove(w->prev, w->prev + shift, (*fill - shift) * sizeof(w->prev[0]));
  auto rebase = [shift](uint16_t& link) { link = link > shift ? uint16_t(link - shift) : 0; };
  for (uint16_t& link : w->head)
    rebase(link);
  for (unsigned i = 0; i < *fill - shift; ++i)
    rebase(w->prev[i]);
  *pos -= shift;
  *fill -= shift;
}

// One read of up to a block; false at the end of the input.
bool ReadBlock(ImplodeWork* w, unsigned* fill) {
  unsigned size = std::min(kImplodeBlock, kImplodeCapacity - *fill);
  unsigned got = w->read(w->data + *fill, &size, w->param);
  got = std::min(got, size);
  *fill += got;
  return got != 0;
}

void EncodeAll(ImplodeWork* w) {
  unsigned pos = 0;
  unsigned fill = 0;
  bool inputEnded = false;
  for (;;) {
    // Encode only with a full repetition's lookahead until the input ends.
    if (!inputEnded && fill - pos <= kImplodeMaxRepetition) {
      if (fill + kImplodeBlock > kImplodeCapacity) SlideWindow(w, &pos, &fill);
      inputEnded = !ReadBlock(w, &fill);
      continue;
    }
    if (pos >= fill) return;
    const unsigned limit = inputEnded ? fill : fill - kImplodeMaxRepetition;
    while (pos < limit) {
      const Match m = FindLongest(w, pos, fill);
      if (m.length >= 2) {
        PutRepetition(w, m.length, m.distance);
      } else {
        PutLiteral(w, w->data[pos]);
      }
      const unsigned step = std::max(m.length, 1u);
      for (unsigned i = 0; i < step; ++i)
        InsertPosition(w, pos + i, fill);
      pos += step;
    }
  }
}

}  // namespace

int Explode(DclReadFn read, DclWriteFn write, ExplodeWork* w, void* param) {
  std::memset(w, 0, offsetof(ExplodeWork, lengthLookup));
  w->read = read;
  w->write = write;
  w->param = param;
  unsigned size = kInputBufferSize;
  w->inBytes = std::min(read(w->input, &size, param), kInputBufferSize);
  if (w->inBytes <= 4) return kDclBadData;
  w->literalMode = w->input[0];
  w->dictBits = w->input[1];
  w->bitBuf = w->input[2];
  w->bitCount = 8;
  w->inPos = 3;
  if (w->dictBits < 4 || w->dictBits > 6) return kDclInvalidDictSize;
  if (w->literalMode > kDclAscii) return kDclInvalidMode;

  BuildShortLookup(LenBits, LenCode, kLengthCodes, w->lengthLookup);
  BuildShortLookup(DistBits, DistCode, kDistanceCodes, w->distLookup);
  if (w->literalMode == kDclAscii) BuildAsciiLookup(w);

  w->outPos = kWindowHalf;
  const int result = DecodeTokens(w);
  // Whatever was decoded goes out, also after an abort.
  WriteOut(w, w->window + kWindowHalf, w->outPos - kWindowHalf);
  return result;
}

int Implode(DclReadFn read, DclWriteFn write, ImplodeWork* w, void* param, unsigned literalMode,
            unsigned dictionarySize) {
  unsigned dictBits = 0;
  switch (dictionarySize) {
    case 1024:
      dictBits = 4;
      break;
    case 2048:
      dictBits = 5;
      break;
    case 4096:
      dictBits = 6;
      break;
    default:
      return kDclInvalidDictSize;
  }
  if (literalMode > kDclAscii) return kDclInvalidMode;
  w->read = read;
  w->write = write;
  w->param = param;
  w->literalMode = literalMode;
  w->dictBits = dictBits;
  w->dictSize = dictionarySize;
  w->bitBuf = 0;
  w->bitCount = 0;
  std::memset(w->head, 0, sizeof(w->head));
  w->output[0] = uint8_t(literalMode);
  w->output[1] = uint8_t(dictBits);
  w->outBytes = 2;

  EncodeAll(w);
  PutLengthValue(w, kEndOfStream);
  if (w->bitCount) w->output[w->outBytes++] = uint8_t(w->bitBuf);
  if (w->outBytes) {
    unsigned size = w->outBytes;
    write(w->output, &size, param);
  }
  return kDclOk;
}

}  // namespace shell
