#pragma once
// RIFF WAVE files as the sound layer plays them: uncompressed PCM, 8 or 16
// bits, mono or stereo. Every size in the file is checked against the bytes
// there are; a data chunk that claims more than the file holds is cut to the
// whole frames present.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace shell {

struct WaveData {
  uint32_t rate = 0;         // frames per second
  uint16_t channels = 0;     // 1 or 2
  std::vector<int16_t> pcm;  // interleaved 16-bit samples (8-bit files widened)

  size_t frames() const { return channels ? pcm.size() / channels : 0; }
};

enum class WaveError {
  kNone,
  kNotRiffWave,  // no "RIFF" ... "WAVE" header
  kNoFormat,     // no "fmt " chunk before the data, or a short one
  kUnsupported,  // not PCM, or bits, channels or rate outside what we play
  kNoData,       // no "data" chunk, or one without a whole frame
};

// Parses a whole file image; on failure `out` is left empty.
WaveError ParseWave(const uint8_t* bytes, size_t size, WaveData& out);

// Limits: a rate outside them is refused rather than played at a silly pitch.
constexpr uint32_t kWaveMinRate = 4000;
constexpr uint32_t kWaveMaxRate = 96000;
// The largest file the sound layer reads (a wave of several minutes).
constexpr uint64_t kWaveMaxFileBytes = 64ull << 20;

}  // namespace shell
