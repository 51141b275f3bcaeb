#include "shell/wave_file.h"

#include <cstring>

#include "platform/binio.h"

namespace shell {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

bool Tag(ByteReader& r, char out[4]) { return r.Bytes(out, 4); }

struct Format {
  uint16_t tag = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  bool subPcm = false;
};

bool ReadFormat(const uint8_t* p, size_t n, Format& f) {
  ByteReader r(p, n);
  f.tag = r.U16();
  f.channels = r.U16();
  f.rate = r.U32();
  r.Skip(6);  // byte rate and block align follow from the rest
  f.bits = r.U16();
  if (!r.ok()) return false;
  if (f.tag == kFormatExtensible) {
    // cbSize, valid bits, channel mask, then the sub-format GUID whose first
    // two bytes are the real format tag.
    r.Skip(8);
    f.subPcm = r.U16() == kFormatPcm;
    if (!r.ok()) return false;
  }
  return true;
}

}  // namespace

WaveError ParseWave(const uint8_t* bytes, size_t size, WaveData& out) {
  out = WaveData();
  ByteReader r(bytes, size);
  char riff[4], wave[4];
  if (!Tag(r, riff)) return WaveError::kNotRiffWave;
  r.U32();  // the RIFF size is not trusted: the chunks are walked in the bytes there are
  if (!Tag(r, wave) || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(wave, "WAVE", 4) != 0) {
    return WaveError::kNotRiffWave;
  }
  Format f;
  bool haveFormat = false;
  while (r.remaining() >= 8) {
    char id[4];
    Tag(r, id);
    const uint32_t chunk = r.U32();
    const size_t avail = r.remaining();
    const uint8_t* body = bytes + r.position();
    if (std::memcmp(id, "fmt ", 4) == 0) {
      if (chunk > avail || chunk < 16 || !ReadFormat(body, chunk, f)) return WaveError::kNoFormat;
      haveFormat = true;
    } else if (std::memcmp(id, "data", 4) == 0) {
      if (!haveFormat) return WaveError::kNoFormat;
      const bool pcm = f.tag == kFormatPcm || (f.tag == kFormatExtensible && f.subPcm);
      if (!pcm || (f.bits != 8 && f.bits != 16) || f.channels < 1 || f.channels > 2 ||
          f.rate < kWaveMinRate || f.rate > kWaveMaxRate) {
        return WaveError::kUnsupported;
      }
      const size_t frameBytes = static_cast<size_t>(f.channels) * (f.bits / 8);
      const size_t frames = (chunk < avail ? chunk : avail) / frameBytes;
      if (frames == 0) return WaveError::kNoData;
      out.rate = f.rate;
      out.channels = f.channels;
      out.pcm.resize(frames * f.channels);
      for (size_t i = 0; i < out.pcm.size(); ++i) {
        if (f.bits == 8) {
          out.pcm[i] = static_cast<int16_t>((static_cast<int>(body[i]) - 128) * 256);
        } else {
          out.pcm[i] = static_cast<int16_t>(body[2 * i] | (body[2 * i + 1] << 8));
        }
      }
      return WaveError::kNone;
    }
    // Chunks are padded to even sizes.
    const uint64_t step = static_cast<uint64_t>(chunk) + (chunk & 1u);
    if (step > avail) break;
    r.Skip(static_cast<size_t>(step));
  }
  return haveFormat ? WaveError::kNoData : WaveError::kNoFormat;
}

}  // namespace shell
