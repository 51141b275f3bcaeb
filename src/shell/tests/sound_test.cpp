// The sound layer's decisions over a recording backend: which slot and
// performance a play uses, the repeat counts, volumes, stops, the seasonal
// draw and the stream-file clean-up.
#include "shell/sound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/crand.h"
#include "platform/path.h"
#include "temp_dir.h"

namespace {

using shell::SoundPerformance;
using shell::SoundSlot;

struct Log {
  std::vector<std::string> calls;
  std::string openedFolder;
  bool failLoads = false;
};

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class RecordingBackend : public shell::SoundBackend {
 public:
  RecordingBackend(Log* log, bool opens) : log_(log), opens_(opens) {}
  bool Open(const std::string& folder) override {
    log_->openedFolder = folder;
    return opens_;
  }
  void Close() override { log_->calls.push_back("close"); }
  bool Load(SoundSlot slot, const std::wstring& name) override {
    log_->calls.push_back("load " + std::to_string(static_cast<int>(slot)) + " " + Narrow(name));
    return !log_->failLoads;
  }
  void Play(SoundSlot slot, SoundPerformance perf, uint32_t repeats) override {
    log_->calls.push_back("play " + std::to_string(static_cast<int>(slot)) + " " +
                          std::to_string(static_cast<int>(perf)) + " " + std::to_string(repeats));
  }
  void Stop(SoundPerformance perf) override {
    log_->calls.push_back("stop " + std::to_string(static_cast<int>(perf)));
  }
  void SetVolume(SoundPerformance perf, int32_t db) override {
    log_->calls.push_back("volume " + std::to_string(static_cast<int>(perf)) + " " +
                          std::to_string(db));
  }

 private:
  Log* log_;
  bool opens_;
};

std::time_t FixedClock() { return 1234567; }

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        shell::InitSound(std::make_unique<RecordingBackend>(&log, true), "C:\\T\\Data\\Sound"));
  }
  void TearDown() override {
    shell::ShutdownSound();
    shell::SetSoundClock(nullptr);
  }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(log.calls);
    return out;
  }
  Log log;
};

TEST_F(SoundTest, EachPlayLoadsItsSlotAndPlaysOnItsPerformanceWithItsRepeatRule) {
  EXPECT_EQ(log.openedFolder, "C:\\T\\Data\\Sound");
  struct Case {
    void (*play)(const wchar_t*, int);
    int repeats;
    std::string load, play_;
  };
  const Case cases[] = {
      {shell::PlaySoundFile, 0, "load 0 x.wav", "play 0 0 0"},
      {shell::PlaySoundFile, 3, "load 0 x.wav", "play 0 0 3"},
      {shell::PlaySoundFile, -1, "load 0 x.wav", "play 0 0 4294967295"},  // unchanged
      {shell::PlayAmbianceFile, -1, "load 1 x.wav", "play 1 1 4294967295"},
      {shell::PlayAmbianceFile, -7, "load 1 x.wav", "play 1 1 4294967295"},
      {shell::PlayAmbianceFile, 2, "load 1 x.wav", "play 1 1 2"},
      {shell::PlayMusicFile, -1, "load 1 x.wav", "play 1 2 4294967295"},
      {shell::PlayMusicFile, 0, "load 1 x.wav", "play 1 2 0"},
      {shell::PlayAmbientFile, 100, "load 0 x.wav", "play 0 3 4294967295"},
      {shell::PlayAmbientFile, 99, "load 0 x.wav", "play 0 3 99"},
      {shell::PlayAmbientFile, 0, "load 0 x.wav", "play 0 3 0"},
  };
  for (const Case& c : cases) {
    c.play(L"x.wav", c.repeats);
    EXPECT_EQ(Take(), (std::vector<std::string>{c.load, c.play_})) << c.play_;
  }
  shell::PlaySoundFileOnce(L"SBouOK1.wav");
  EXPECT_EQ(Take(), (std::vector<std::string>{"load 0 SBouOK1.wav", "play 0 0 0"}));
}

TEST_F(SoundTest, AFileThatDoesNotLoadPlaysNothingAndANullNameIsIgnored) {
  log.failLoads = true;
  shell::PlayMusicFile(L"missing.wav", -1);
  EXPECT_EQ(Take(), std::vector<std::string>{"load 1 missing.wav"});
  log.failLoads = false;
  shell::PlaySoundFile(nullptr, 0);
  shell::PlayAmbianceFile(nullptr, -1);
  EXPECT_TRUE(Take().empty());
}

TEST_F(SoundTest, ALongNameIsCutToTheBufferNotOverrun) {
  const std::wstring name(400, L'a');
  shell::PlaySoundFile(name.c_str(), 0);
  const auto calls = Take();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], "load 0 " + std::string(shell::kSoundNameChars - 1, 'a'));
}

TEST_F(SoundTest, VolumesGoToTheirPerformancesInHundredthsOfADecibel) {
  shell::SetEffectsVolume(0);
  EXPECT_EQ(Take(), std::vector<std::string>{"volume 0 -5000"});
  shell::SetEffectsVolume(100);
  EXPECT_EQ(Take(), std::vector<std::string>{"volume 0 0"});
  shell::SetMusicAndAmbianceVolume(60);
  EXPECT_EQ(Take(),
            (std::vector<std::string>{"volume 2 -2000", "volume 1 -2000", "volume 3 -2000"}));
  shell::SetAmbianceVolume(99);
  EXPECT_EQ(Take(), (std::vector<std::string>{"volume 1 -50", "volume 3 -50"}));
  // Out-of-range settings are held to 0..100 instead of boosting past 0 dB.
  EXPECT_EQ(shell::VolumeToHundredthsDb(250), 0);
  EXPECT_EQ(shell::VolumeToHundredthsDb(-3), -5000);
}

TEST_F(SoundTest, StopsReachOnlyTheirPerformanceAndShutdownClosesOnce) {
  shell::StopMusic();
  shell::StopAmbiance();
  EXPECT_EQ(Take(), (std::vector<std::string>{"stop 2", "stop 1"}));
  shell::ShutdownSound();
  shell::ShutdownSound();
  EXPECT_EQ(Take(), std::vector<std::string>{"close"});
  EXPECT_FALSE(shell::IsSoundOn());
  shell::PlaySoundFile(L"x.wav", 0);
  shell::SetEffectsVolume(10);
  shell::StopMusic();
  EXPECT_TRUE(Take().empty());
}

TEST(SoundOff, ABackendThatDoesNotOpenLeavesEveryCallANoOp) {
  Log log;
  EXPECT_FALSE(shell::InitSound(std::make_unique<RecordingBackend>(&log, false), "f"));
  EXPECT_FALSE(shell::IsSoundOn());
  shell::PlaySoundFile(L"x.wav", 0);
  shell::PlaySeasonOneShot('h');
  shell::SetAmbianceVolume(3);
  shell::ShutdownSound();
  EXPECT_TRUE(log.calls.empty());
}

TEST(SeasonOneShots, TheTableByLetterAndBand) {
  struct Case {
    char letter;
    int r;
    const wchar_t* name;
  };
  const Case cases[] = {
      {'a', 0, nullptr},          {'a', 1, L"AautOS01.wav"},  {'a', 10, L"AautOS01.wav"},
      {'a', 11, L"AautOS02.wav"}, {'a', 80, L"AautOS08.wav"}, {'a', 81, nullptr},
      {'e', 45, L"AeteOS05.wav"}, {'e', 90, nullptr},         {'h', 81, L"AhivOS09.wav"},
      {'h', 90, L"AhivOS09.wav"}, {'h', 91, nullptr},         {'h', 99, nullptr},
      {'p', 71, L"AhivOS08.wav"}, {'p', 80, L"AhivOS08.wav"}, {'p', 70, L"ApriOS07.wav"},
      {'p', 85, nullptr},         {'x', 5, nullptr},          {'A', 5, nullptr},
      {'h', -4, nullptr},         {'h', 100, nullptr},
  };
  for (const Case& c : cases) {
    const wchar_t* got = shell::SeasonOneShotName(c.letter, c.r);
    if (!c.name) {
      EXPECT_EQ(got, nullptr) << c.letter << c.r;
    } else {
      ASSERT_NE(got, nullptr) << c.letter << c.r;
      EXPECT_EQ(std::wstring(got), c.name) << c.letter << c.r;
    }
  }
}

TEST_F(SoundTest, TheSeasonalDrawSeedsItsOwnGeneratorFromTheSecondsAndLeavesTheGamesAlone) {
  shell::SetSoundClock(FixedClock);
  platform::CRand expected(static_cast<uint32_t>(FixedClock()));
  const int r = expected.Next() % 100;
  EXPECT_EQ(shell::RandomPercent(), r);
  EXPECT_EQ(shell::RandomPercent(), r);  // same second, same draw

  platform::SeedRandom(42);
  platform::CRand game(42);
  const int before = game.Next();
  shell::PlaySeasonOneShot('h');
  shell::PlaySeasonOneShot('h');
  EXPECT_EQ(platform::Random(), before);

  const wchar_t* name = shell::SeasonOneShotName('h', r);
  const auto calls = Take();
  if (name) {
    const std::string load = "load 0 " + Narrow(name);
    EXPECT_EQ(calls, (std::vector<std::string>{load, "play 0 3 0", load, "play 0 3 0"}));
  } else {
    EXPECT_TRUE(calls.empty());
  }
}

TEST(StreamFiles, OnlyStreamWavesAreDeletedAndDotNamesAreKept) {
  testsupport::TempDir dir;
  for (const char* n : {"stream_1.wav", "STREAM_two.WAV", ".stream_x.wav", "stream_1.txt",
                        "other.wav", "stream_.wav"}) {
    ASSERT_TRUE(testsupport::WriteBytes(dir / n, "x"));
  }
  ASSERT_TRUE(platform::MakeDirectory((dir / "stream_dir.wav").c_str()));
  EXPECT_EQ(shell::DeleteStreamFiles(dir.path().c_str()), 3);
  for (const char* kept : {".stream_x.wav", "stream_1.txt", "other.wav"}) {
    EXPECT_TRUE(platform::FileExists((dir / kept).c_str())) << kept;
  }
  EXPECT_FALSE(platform::FileExists((dir / "stream_1.wav").c_str()));
  EXPECT_TRUE(platform::DirectoryExists((dir / "stream_dir.wav").c_str()));
  EXPECT_EQ(shell::DeleteStreamFiles(nullptr), 0);
}

}  // namespace
