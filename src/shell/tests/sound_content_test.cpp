// The sounds and pictures the build writes into the program folder: every
// sound the program names is there and plays (mono 16-bit PCM, short), and
// the rooms' wallpaper tiles and the busy cursor are in their places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/sound.h"
#include "shell/wave_file.h"
#include "shell_fixture.h"

namespace {

class SoundContentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = shelltest::Backslashed(TESS_BUILD_DIR);
    ASSERT_TRUE(shell::CreateAppContextAt(program + "\\tessarin.exe"));
  }
  void TearDown() override { shell::DestroyAppContext(); }
  std::string program;
};

std::vector<std::string> ProgramSounds() {
  std::vector<std::string> names = {
      "SBouOK1.wav",  "SBouFer1.wav",  "SOptSel1.wav",   "SCasCoh1.wav", "SCasDec.wav",
      "SMenCli1.wav", "SMenDep3.wav",  "SWinAgr1.wav",   "SWinFer1.wav", "SWinMin1.wav",
      "SgpParG1.wav", "SgpParP1.wav",  "SgpSavP1.wav",   "SgpTop51.wav", "SgpTour1.wav",
      "Mmenu01.wav",  "MCredit01.wav", "AStandard01.wav"};
  for (char season : {'a', 'e', 'h', 'p'}) {
    for (int r = 1; r <= 90; r += 10) {
      if (const wchar_t* w = shell::SeasonOneShotName(season, r)) {
        names.emplace_back(w, w + std::wcslen(w));
      }
    }
  }
  return names;
}

TEST_F(SoundContentTest, EverySoundTheProgramNamesIsThereAndPlays) {
  const std::string folder = shell::GetSoundFolder();
  for (const std::string& name : ProgramSounds()) {
    std::vector<uint8_t> bytes;
    const std::string path = platform::JoinPath(folder, name);
    ASSERT_EQ(platform::ReadFileBounded(path.c_str(), shell::kWaveMaxFileBytes, bytes),
              platform::ReadStatus::kOk)
        << path;
    shell::WaveData wave;
    ASSERT_EQ(shell::ParseWave(bytes.data(), bytes.size(), wave), shell::WaveError::kNone) << name;
    EXPECT_EQ(wave.channels, 1) << name;
    EXPECT_EQ(wave.rate, 22050u) << name;
    const double seconds = static_cast<double>(wave.frames()) / wave.rate;
    EXPECT_GT(seconds, 0.03) << name;
    EXPECT_LT(seconds, 10.0) << name;
    int peak = 0;
    for (int16_t s : wave.pcm)
      peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 8000) << name << " is nearly silent";
  }
}

TEST_F(SoundContentTest, WallpaperTilesAndTheBusyCursorAreInPlace) {
  const std::string wallpaper = shell::GetWallpaperFolder();
  for (const char* tile : {"tile.bmp", "Standard.bmp", "Tile_TrainingMenu.bmp",
                           "Tile_ReseauMenu.bmp", "Tile_EncyclopediaMenu.bmp"}) {
    std::vector<uint8_t> head;
    ASSERT_EQ(platform::ReadFileHead(platform::JoinPath(wallpaper, tile).c_str(), 30, head),
              platform::ReadStatus::kOk)
        << tile;
    ASSERT_EQ(head.size(), 30u);
    EXPECT_EQ(std::string(head.begin(), head.begin() + 2), "BM") << tile;
    EXPECT_EQ(head[28], 24) << tile << " is not 24-bit";
  }
  std::vector<uint8_t> ani;
  ASSERT_EQ(platform::ReadFileHead((program + "\\busy.ani").c_str(), 12, ani),
            platform::ReadStatus::kOk);
  EXPECT_EQ(std::string(ani.begin(), ani.end()).substr(8, 4), "ACON");
}

}  // namespace
