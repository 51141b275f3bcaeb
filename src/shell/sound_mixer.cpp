#include "shell/sound_mixer.h"

#include <cmath>
#include <mutex>

#include "platform/path.h"

namespace shell {
namespace {

int Index(SoundPerformance p) { return static_cast<int>(p); }

int16_t Clip(int32_t v) {
  return static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}

// ASCII only: the program's sound names are plain; anything else does not
// load rather than being guessed at.
bool NarrowName(const std::wstring& wide, std::string& out) {
  out.clear();
  for (wchar_t c : wide) {
    if (c <= 0 || c >= 0x80) return false;
    out += static_cast<char>(c);
  }
  return !out.empty();
}

}  // namespace

SoundMixer::SoundMixer(uint32_t outputRate) : rate_(outputRate ? outputRate : 22050) {
  for (float& g : gain_)
    g = 1.0f;
}

void SoundMixer::Start(SoundPerformance perf, std::shared_ptr<const WaveData> wave,
                       uint32_t repeats) {
  if (!wave || wave->frames() == 0 || wave->channels == 0) return;
  Voice v;
  v.perf = perf;
  v.pos = 0;
  v.step = (static_cast<uint64_t>(wave->rate) << 32) / rate_;
  v.forever = repeats == kSoundRepeatForever;
  v.passesLeft = v.forever ? 0 : repeats;
  v.wave = std::move(wave);
  std::lock_guard<platform::CriticalSection> hold(lock_);
  if (voices_.size() >= kMaxVoices) voices_.erase(voices_.begin());
  voices_.push_back(std::move(v));
}

void SoundMixer::Stop(SoundPerformance perf) {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  for (size_t i = voices_.size(); i-- > 0;) {
    if (voices_[i].perf == perf) voices_.erase(voices_.begin() + static_cast<ptrdiff_t>(i));
  }
}

void SoundMixer::StopAll() {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  voices_.clear();
}

void SoundMixer::SetVolume(SoundPerformance perf, int32_t hundredthsDb) {
  const float gain =
      hundredthsDb >= 0 ? 1.0f : static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
  std::lock_guard<platform::CriticalSection> hold(lock_);
  gain_[Index(perf)] = gain;
}

float SoundMixer::Gain(SoundPerformance perf) const {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  return gain_[Index(perf)];
}

size_t SoundMixer::Voices(SoundPerformance perf) const {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  size_t n = 0;
  for (const Voice& v : voices_)
    n += v.perf == perf;
  return n;
}

void SoundMixer::Mix(int16_t* out, size_t frames) {
  std::vector<int32_t> acc(frames * 2, 0);
  std::lock_guard<platform::CriticalSection> hold(lock_);
  for (Voice& v : voices_) {
    const WaveData& w = *v.wave;
    const uint64_t length = static_cast<uint64_t>(w.frames()) << 32;
    const float g = gain_[Index(v.perf)];
    bool over = false;
    for (size_t f = 0; f < frames && !over; ++f) {
      while (v.pos >= length) {
        if (!v.forever && v.passesLeft == 0) {
          over = true;
          break;
        }
        if (!v.forever) --v.passesLeft;
        v.pos -= length;
      }
      if (over) break;
      // Linear interpolation between neighbouring source frames.
      const size_t i = static_cast<size_t>(v.pos >> 32);
      const size_t j = i + 1 < w.frames() ? i + 1 : i;
      const float t = static_cast<float>(v.pos & 0xFFFFFFFFu) / 4294967296.0f;
      for (int c = 0; c < 2; ++c) {
        const int ch = w.channels == 2 ? c : 0;
        const float a = w.pcm[i * w.channels + ch];
        const float b = w.pcm[j * w.channels + ch];
        acc[2 * f + c] += static_cast<int32_t>((a + (b - a) * t) * g);
      }
      v.pos += v.step;
    }
  }
  // A voice is over once its last pass has been read.
  for (size_t i = voices_.size(); i-- > 0;) {
    const Voice& v = voices_[i];
    if (!v.forever && v.passesLeft == 0 &&
        v.pos >= (static_cast<uint64_t>(v.wave->frames()) << 32)) {
      voices_.erase(voices_.begin() + static_cast<ptrdiff_t>(i));
    }
  }
  for (size_t k = 0; k < frames * 2; ++k)
    out[k] = Clip(acc[k]);
}

MixerSoundBackend::MixerSoundBackend(std::unique_ptr<SoundOutput> output, uint32_t outputRate)
    : output_(std::move(output)), mixer_(outputRate) {}

MixerSoundBackend::~MixerSoundBackend() { Close(); }

bool MixerSoundBackend::Open(const std::string& folder) {
  folder_ = folder;
  outputStarted_ = output_ && output_->Start(mixer_);
  return true;  // without a device the sound is silent, never an error
}

void MixerSoundBackend::Close() {
  mixer_.StopAll();
  if (outputStarted_) output_->Stop();
  outputStarted_ = false;
  slots_[0].reset();
  slots_[1].reset();
}

bool MixerSoundBackend::Load(SoundSlot slot, const std::wstring& name) {
  std::shared_ptr<const WaveData>& held = slots_[static_cast<int>(slot)];
  held.reset();
  std::string narrow;
  if (!NarrowName(name, narrow)) return false;
  const std::string path = folder_.empty() ? narrow : platform::JoinPath(folder_, narrow);
  std::vector<uint8_t> bytes;
  if (platform::ReadFileBounded(path.c_str(), kWaveMaxFileBytes, bytes) !=
      platform::ReadStatus::kOk) {
    return false;
  }
  auto wave = std::make_shared<WaveData>();
  if (ParseWave(bytes.data(), bytes.size(), *wave) != WaveError::kNone) return false;
  held = std::move(wave);
  return true;
}

void MixerSoundBackend::Play(SoundSlot slot, SoundPerformance perf, uint32_t repeats) {
  mixer_.Start(perf, slots_[static_cast<int>(slot)], repeats);
}

void MixerSoundBackend::Stop(SoundPerformance perf) { mixer_.Stop(perf); }

void MixerSoundBackend::SetVolume(SoundPerformance perf, int32_t hundredthsDb) {
  mixer_.SetVolume(perf, hundredthsDb);
}

}  // namespace shell
