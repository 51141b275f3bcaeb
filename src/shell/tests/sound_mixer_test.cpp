// The software mixer and the backend on it: passes and loops, per-bus
// volume and stop, resampling to the device's rate, and files loaded from
// the sound folder.
#include "shell/sound_mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/binio.h"
#include "temp_dir.h"

namespace {

using shell::SoundPerformance;

std::shared_ptr<const shell::WaveData> Constant(int16_t value, size_t frames, uint32_t rate) {
  auto w = std::make_shared<shell::WaveData>();
  w->rate = rate;
  w->channels = 1;
  w->pcm.assign(frames, value);
  return w;
}

// Frames (left channel) that are not silent.
size_t Loud(const std::vector<int16_t>& stereo) {
  size_t n = 0;
  for (size_t i = 0; i < stereo.size(); i += 2)
    n += stereo[i] != 0;
  return n;
}

std::vector<int16_t> Pull(shell::SoundMixer& m, size_t frames) {
  std::vector<int16_t> out(frames * 2, 123);
  m.Mix(out.data(), frames);
  return out;
}

TEST(SoundMixer, PlaysEachWaveRepeatsPlusOneTimesOrForEver) {
  struct Case {
    uint32_t repeats;
    size_t loud;
  };
  for (const Case c :
       {Case{0, 100}, Case{1, 200}, Case{4, 500}, Case{shell::kSoundRepeatForever, 100000}}) {
    shell::SoundMixer m(8000);
    m.Start(SoundPerformance::kAmbiance, Constant(1000, 100, 8000), c.repeats);
    // Pulled in odd-sized pieces so passes end inside a buffer.
    std::vector<int16_t> all;
    for (int i = 0; i < 10; ++i) {
      auto part = Pull(m, 100 + (i % 3) * 7);
      all.insert(all.end(), part.begin(), part.end());
    }
    EXPECT_EQ(Loud(all), std::min<size_t>(c.loud, all.size() / 2)) << c.repeats;
    EXPECT_EQ(m.Voices(SoundPerformance::kAmbiance),
              c.repeats == shell::kSoundRepeatForever ? 1u : 0u);
  }
}

TEST(SoundMixer, VoicesSumPerBusVolumeAndStopOnlyTheirBus) {
  shell::SoundMixer m(8000);
  m.Start(SoundPerformance::kEffects, Constant(1000, 50, 8000), 0);
  m.Start(SoundPerformance::kMusic, Constant(2000, 50, 8000), shell::kSoundRepeatForever);
  auto out = Pull(m, 10);
  EXPECT_EQ(out[0], 3000);
  EXPECT_EQ(out[1], 3000);  // mono goes to both sides

  m.SetVolume(SoundPerformance::kMusic, -2000);  // -20 dB: a tenth
  out = Pull(m, 10);
  EXPECT_EQ(out[0], 1200);
  EXPECT_FLOAT_EQ(m.Gain(SoundPerformance::kEffects), 1.0f);

  m.Stop(SoundPerformance::kMusic);
  out = Pull(m, 10);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(m.Voices(SoundPerformance::kEffects), 1u);

  // Loud voices clip instead of wrapping round.
  m.Start(SoundPerformance::kOneShot, Constant(32000, 50, 8000), 0);
  out = Pull(m, 5);
  EXPECT_EQ(out[0], 32767);
  m.StopAll();
  out = Pull(m, 5);
  EXPECT_EQ(out, std::vector<int16_t>(10, 0));
}

TEST(SoundMixer, ResamplesToTheDeviceRateAndKeepsTheLength) {
  shell::SoundMixer m(44100);
  m.Start(SoundPerformance::kEffects, Constant(500, 22050, 22050), 0);  // one second
  EXPECT_EQ(Loud(Pull(m, 50000)), 44100u);
  shell::SoundMixer down(11025);
  down.Start(SoundPerformance::kEffects, Constant(500, 22050, 22050), 1);  // two seconds
  EXPECT_EQ(Loud(Pull(down, 30000)), 22050u);
}

TEST(SoundMixer, TooManyVoicesDropTheOldest) {
  shell::SoundMixer m(8000);
  for (size_t i = 0; i < shell::SoundMixer::kMaxVoices + 5; ++i) {
    m.Start(SoundPerformance::kEffects, Constant(1, 10, 8000), shell::kSoundRepeatForever);
  }
  EXPECT_EQ(m.Voices(SoundPerformance::kEffects), shell::SoundMixer::kMaxVoices);
  m.Start(SoundPerformance::kEffects, nullptr, 0);
  m.Start(SoundPerformance::kEffects, std::make_shared<shell::WaveData>(), 0);
  EXPECT_EQ(m.Voices(SoundPerformance::kEffects), shell::SoundMixer::kMaxVoices);
}

class CountingOutput : public shell::SoundOutput {
 public:
  CountingOutput(bool ok, int* stops) : ok_(ok), stops_(stops) {}
  bool Start(shell::SoundMixer&) override { return ok_; }
  void Stop() override { ++*stops_; }

 private:
  bool ok_;
  int* stops_;
};

std::string WaveBytes(int16_t value, uint32_t frames) {
  std::vector<uint8_t> out;
  ByteWriter w(out);
  w.Bytes("RIFF", 4);
  w.U32(36 + frames * 2);
  w.Bytes("WAVEfmt ", 8);
  w.U32(16);
  w.U16(1);
  w.U16(1);
  w.U32(8000);
  w.U32(16000);
  w.U16(2);
  w.U16(16);
  w.Bytes("data", 4);
  w.U32(frames * 2);
  for (uint32_t i = 0; i < frames; ++i)
    w.I16(value);
  return std::string(out.begin(), out.end());
}

TEST(MixerSoundBackend, LoadsFromTheFolderIntoSlotsAndPlaysThroughTheLayer) {
  testsupport::TempDir dir;
  ASSERT_TRUE(testsupport::WriteBytes(dir / "click.wav", WaveBytes(700, 80)));
  ASSERT_TRUE(testsupport::WriteBytes(dir / "loop.wav", WaveBytes(300, 40)));
  ASSERT_TRUE(testsupport::WriteBytes(dir / "bad.wav", "RIFFxxxxWAVEjunk"));
  int stops = 0;
  auto owned = std::make_unique<shell::MixerSoundBackend>(
      std::make_unique<CountingOutput>(true, &stops), 8000);
  shell::MixerSoundBackend* backend = owned.get();
  ASSERT_TRUE(shell::InitSound(std::move(owned), dir.path()));
  EXPECT_TRUE(backend->hasDevice());

  shell::PlaySoundFileOnce(L"click.wav");
  shell::PlayAmbianceFile(L"loop.wav", -1);
  shell::PlayMusicFile(L"bad.wav", -1);      // does not parse: nothing starts
  shell::PlayMusicFile(L"nothere.wav", -1);  // missing: nothing starts
  shell::PlaySoundFile(L"cl\u00e9.wav", 0);  // not a name we can open
  std::vector<int16_t> out(200 * 2);
  backend->mixer().Mix(out.data(), 200);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[2 * 100], 300);  // the click is over, the loop goes on
  EXPECT_EQ(out[2 * 199], 300);
  EXPECT_EQ(backend->mixer().Voices(SoundPerformance::kMusic), 0u);

  shell::StopAmbiance();
  backend->mixer().Mix(out.data(), 10);
  EXPECT_EQ(out[0], 0);
  shell::ShutdownSound();
  EXPECT_EQ(stops, 1);
}

TEST(MixerSoundBackend, WithoutADeviceEverythingWorksSilently) {
  int stops = 0;
  shell::MixerSoundBackend backend(std::make_unique<CountingOutput>(false, &stops), 8000);
  EXPECT_TRUE(backend.Open("nowhere"));
  EXPECT_FALSE(backend.hasDevice());
  EXPECT_FALSE(backend.Load(shell::SoundSlot::kEffect, L"x.wav"));
  backend.Play(shell::SoundSlot::kEffect, SoundPerformance::kEffects, 0);
  backend.Close();
  EXPECT_EQ(stops, 0);
}

}  // namespace
