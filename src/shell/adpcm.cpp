#include "shell/adpcm.h"

#include <algorithm>

namespace shell {
namespace {

const int kIndexAdjust[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

const int kStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

struct AdpcmState {
  int predictor = 0;
  int index = 0;

  // Applies one code as the decoder does; the encoder rebuilds with it too.
  int Apply(unsigned code) {
    const int step = kStepTable[index];
    int diff = step >> 3;
    if (code & 4) diff += step;
    if (code & 2) diff += step >> 1;
    if (code & 1) diff += step >> 2;
    predictor += (code & 8) ? -diff : diff;
    predictor = std::clamp(predictor, -32768, 32767);
    index = std::clamp(index + kIndexAdjust[code & 15], 0, 88);
    return predictor;
  }

  unsigned Encode(int sample) {
    int step = kStepTable[index];
    int delta = sample - predictor;
    unsigned code = 0;
    if (delta < 0) {
      code = 8;
      delta = -delta;
    }
    for (unsigned bit = 4; bit; bit >>= 1) {
      if (delta >= step) {
        code |= bit;
        delta -= step;
      }
      step >>= 1;
    }
    Apply(code);
    return code;
  }
};

void PutSample(std::vector<uint8_t>& out, int sample, size_t limit) {
  for (int shift = 0; shift < 16 && out.size() < limit; shift += 8) {
    out.push_back(uint8_t(unsigned(sample) >> shift));
  }
}

}  // namespace

std::vector<uint8_t> AdpcmDecodeEntry(const uint8_t* stored, size_t storedSize,
                                      uint32_t unpackedSize) {
  std::vector<uint8_t> out;
  if (storedSize <= kAdpcmTrailerSize) return out;
  const size_t audio = storedSize - kAdpcmTrailerSize;
  out.reserve(std::min<size_t>(unpackedSize, audio * 4));
  AdpcmState state;
  for (size_t i = 0; i < audio && out.size() < unpackedSize; ++i) {
    PutSample(out, state.Apply(stored[i] >> 4), unpackedSize);
    PutSample(out, state.Apply(stored[i] & 15), unpackedSize);
  }
  return out;
}

std::vector<uint8_t> AdpcmEncodeBuffer(const uint8_t* samples, size_t byteCount) {
  const size_t count = byteCount / 2;
  std::vector<uint8_t> out((count + 1) / 2);
  AdpcmState state;
  for (size_t i = 0; i < count; ++i) {
    const int16_t sample = int16_t(samples[2 * i] | (samples[2 * i + 1] << 8));
    const unsigned code = state.Encode(sample);
    out[i / 2] |= uint8_t(i % 2 ? code : code << 4);
  }
  return out;
}

}  // namespace shell
