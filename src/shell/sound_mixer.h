#pragma once
// A software sound engine for systems whose own engine plays nothing: the
// four performances become four buses of one mixer, each with its own volume
// and stop, and a device (SoundOutput) pulls the mixed stereo frames. The
// mixer may be pulled from a device thread while the main thread plays.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sync.h"
#include "shell/sound.h"
#include "shell/wave_file.h"

namespace shell {

class SoundMixer {
 public:
  // Voices beyond this many drop the oldest one.
  static constexpr size_t kMaxVoices = 32;

  explicit SoundMixer(uint32_t outputRate);
  uint32_t outputRate() const { return rate_; }

  // Starts the wave on the performance, played repeats + 1 times (for ever
  // with kSoundRepeatForever); what already plays keeps playing.
  void Start(SoundPerformance perf, std::shared_ptr<const WaveData> wave, uint32_t repeats);
  void Stop(SoundPerformance perf);
  void StopAll();
  void SetVolume(SoundPerformance perf, int32_t hundredthsDb);
  float Gain(SoundPerformance perf) const;
  size_t Voices(SoundPerformance perf) const;

  // Writes the next `frames` stereo frames (2 samples each) into out;
  // silence where nothing plays.
  void Mix(int16_t* out, size_t frames);

 private:
  struct Voice {
    std::shared_ptr<const WaveData> wave;
    SoundPerformance perf;
    uint64_t pos;         // source frame, 32.32 fixed point
    uint64_t step;        // source frames per output frame, 32.32
    uint32_t passesLeft;  // passes after the current one
    bool forever;
  };

  mutable platform::CriticalSection lock_;
  uint32_t rate_;
  std::vector<Voice> voices_;
  float gain_[kSoundPerformances];
};

// The device that plays a mixer's output.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Starts pulling from the mixer; false when there is no device.
  virtual bool Start(SoundMixer& mixer) = 0;
  virtual void Stop() = 0;
};

// A SoundBackend on the mixer: waves are read from the search folder and
// kept in the two slots. Without a device everything works and nothing is
// heard.
class MixerSoundBackend : public SoundBackend {
 public:
  MixerSoundBackend(std::unique_ptr<SoundOutput> output, uint32_t outputRate);
  ~MixerSoundBackend() override;

  bool Open(const std::string& folder) override;
  void Close() override;
  bool Load(SoundSlot slot, const std::wstring& name) override;
  void Play(SoundSlot slot, SoundPerformance perf, uint32_t repeats) override;
  void Stop(SoundPerformance perf) override;
  void SetVolume(SoundPerformance perf, int32_t hundredthsDb) override;

  SoundMixer& mixer() { return mixer_; }
  bool hasDevice() const { return outputStarted_; }

 private:
  std::unique_ptr<SoundOutput> output_;
  SoundMixer mixer_;
  std::string folder_;
  bool outputStarted_ = false;
  std::shared_ptr<const WaveData> slots_[2];
};

}  // namespace shell
