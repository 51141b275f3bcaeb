// The "Game" and "Options" settings: defaults, round trips through the ini,
// every integer held to its range, and what loading the options applies.
#include "ui/game_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini.h"
#include "shell_fixture.h"
#include "ui/time_limits.h"

namespace ui {
namespace {

class GameSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env.ok);
    ini = env.File("settings.ini");
    GetPlayerCounters() = PlayerCounters{};
  }
  void Put(const char* section, const char* key, const char* value) {
    platform::IniWriteString(section, key, value, ini.c_str());
  }
  std::string Get(const char* section, const char* key) {
    return platform::IniGet(section, key, "<none>", ini.c_str());
  }
  GameSetup Load() {
    GameSetup s;
    LoadGameSettings(s, ini.c_str());
    return s;
  }
  shelltest::ShellEnv env;
  shelltest::RecordingHost host;
  std::string ini;
};

TEST_F(GameSettingsTest, MissingFileGivesTheDefaults) {
  const GameSetup s = Load();
  EXPECT_EQ(s.kind, kKindStandard);
  EXPECT_EQ(s.clockMode, 0);
  EXPECT_EQ(s.moveTimeMs, 180000);
  EXPECT_EQ(s.gameTimeMs, 1500000);
  EXPECT_EQ(s.rankingGame, 0);
  EXPECT_EQ(s.flags, 0);
  EXPECT_EQ(GetPlayerCounters().classic, 2);
  EXPECT_EQ(GetPlayerCounters().duplicate, 2);
  const OptionsSettings o = ReadOptionsSettings(ini.c_str());
  EXPECT_TRUE(o == OptionsSettings{});
  EXPECT_EQ(o.skin, 1);
  EXPECT_EQ(o.musicVolume, 100);
}

TEST_F(GameSettingsTest, GameKeysRoundTripInSecondsAndMilliseconds) {
  GameSetup s;
  s.kind = kKindDuplicate;
  s.SetPlayerCount(5);
  s.rankingGame = 1;
  s.clockMode = 2;
  s.moveTimeMs = 180500;  // written back truncated
  s.gameTimeMs = 600000;
  s.challengeMode = 2;
  s.invalidWordForfeits = 1;
  s.flags = kFlagBlankPerPlayer | kFlagSevenOfEight;
  SaveGameSettings(s, ini.c_str());
  EXPECT_EQ(Get("Game", "Turn Time"), "180");
  EXPECT_EQ(Get("Game", "Game Time"), "600");
  EXPECT_EQ(Get("Game", "Duplicate Nbplayers"), "5");
  EXPECT_EQ(Get("Game", "Classic Nbplayers"), "<none>");
  EXPECT_EQ(Get("Options", "Challenge mode"), "0");
  EXPECT_EQ(Get("Options", "Lose Turn"), "0");
  EXPECT_EQ(Get("Options", "Joker"), "1");
  EXPECT_EQ(Get("Options", "Blitz"), "0");
  EXPECT_EQ(Get("Options", "7 sur 8"), "1");

  const GameSetup back = Load();
  EXPECT_EQ(back.kind, kKindDuplicate);
  EXPECT_EQ(back.rankingGame, 1);
  EXPECT_EQ(back.clockMode, 2);
  EXPECT_EQ(back.moveTimeMs, 180000);
  EXPECT_EQ(back.gameTimeMs, 600000);
  EXPECT_EQ(back.challengeMode, 0);
  EXPECT_EQ(back.invalidWordForfeits, 0);
  EXPECT_EQ(back.flags, kFlagBlankPerPlayer | kFlagSevenOfEight);
  EXPECT_EQ(GetPlayerCounters().duplicate, 5);
}

TEST_F(GameSettingsTest, RuleFlagsAreAddedToThoseAlreadySet) {
  Put("Options", "Joker", "1");
  Put("Options", "Blitz", "1");
  Put("Options", "8 sur 8", "2");  // only the value 1 sets a flag
  GameSetup s;
  s.flags = kFlagBestSolution;
  LoadGameSettings(s, ini.c_str());
  EXPECT_EQ(s.flags, kFlagBestSolution | kFlagBlankPerPlayer | kFlagBlitz);
}

TEST_F(GameSettingsTest, EveryIntegerIsHeldToItsRange) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    int32_t expected;
    int32_t (*field)(const GameSetup&);
  };
  const Case cases[] = {
      {"Game", "mode", "8", kKindStandard, [](const GameSetup& s) { return s.kind; }},
      {"Game", "mode", "-1", kKindStandard, [](const GameSetup& s) { return s.kind; }},
      {"Game", "timing mode", "9", 2, [](const GameSetup& s) { return s.clockMode; }},
      {"Game", "timing mode", "-4", 0, [](const GameSetup& s) { return s.clockMode; }},
      {"Game", "Turn Time", "-5", 0, [](const GameSetup& s) { return s.moveTimeMs; }},
      {"Game", "Turn Time", "99999999999", kMaxTimeSeconds * 1000,
       [](const GameSetup& s) { return s.moveTimeMs; }},
      {"Game", "Game Time", "abc", 0, [](const GameSetup& s) { return s.gameTimeMs; }},
      {"Game", "rated game", "7", 0, [](const GameSetup& s) { return int32_t{s.rankingGame}; }},
      {"Options", "Challenge mode", "12", 3, [](const GameSetup& s) { return s.challengeMode; }},
      {"Game", "Classic Nbplayers", "9", 4,
       [](const GameSetup&) { return GetPlayerCounters().classic; }},
      {"Game", "Classic Nbplayers", "0", 2,
       [](const GameSetup&) { return GetPlayerCounters().classic; }},
      {"Game", "Duplicate Nbplayers", "300", 16,
       [](const GameSetup&) { return GetPlayerCounters().duplicate; }},
      {"Game", "Duplicate Nbplayers", "-2", 1,
       [](const GameSetup&) { return GetPlayerCounters().duplicate; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    platform::IniWriteString(c.section, nullptr, nullptr, ini.c_str());
    Put(c.section, c.key, c.value);
    EXPECT_EQ(c.field(Load()), c.expected);
  }
}

TEST_F(GameSettingsTest, OptionsRoundTripAndClamp) {
  OptionsSettings o;
  o.loseTurn = 1;
  o.seeOpponentRack = 0;
  o.rackSorting = 3;
  o.skin = 4;
  o.board = 2;
  o.commentsVisible = 0;
  o.lockedWindows = 1;
  o.musicVolume = 35;
  o.soundVolume = 0;
  WriteOptionsSettings(o, ini.c_str());
  EXPECT_EQ(platform::IniKeys("Options", ini.c_str()),
            (std::vector<std::string>{
                "Lose Turn", "See Opponent Rack", "Sound Indicator", "Rack Sorting", "Skin",
                "Board", "Scores Visible", "Timer Visible", "Tiles Left Visible",
                "Dictionary Visible", "Mentor Visible", "Move List Visible", "Locked Windows",
                "Junior Mode", "User Comments Visible", "Music Volume", "Sound Volume"}));
  EXPECT_TRUE(ReadOptionsSettings(ini.c_str()) == o);

  Put("Options", "Music Volume", "150");
  Put("Options", "Sound Volume", "-20");
  Put("Options", "Skin", "9");
  Put("Options", "Board", "-1");
  Put("Options", "Rack Sorting", "4");
  Put("Options", "Junior Mode", "5");  // a flag is set only by 1
  const OptionsSettings c = ReadOptionsSettings(ini.c_str());
  EXPECT_EQ(c.musicVolume, 100);
  EXPECT_EQ(c.soundVolume, 0);
  EXPECT_EQ(c.skin, 5);
  EXPECT_EQ(c.board, 0);
  EXPECT_EQ(c.rackSorting, 3);
  EXPECT_EQ(c.juniorMode, 0);
}

std::vector<std::string> g_backgrounds;

TEST_F(GameSettingsTest, LoadingTheOptionsSetsTheRoomBackgroundsOfAChosenTheme) {
  g_backgrounds.clear();
  SetRoomBackgroundHook([](const char* path) { g_backgrounds.push_back(path); });
  platform::MakeDirectory(shell::GetSkinFolder());
  platform::IniWriteString("properties", "backgroundbmp", "spring.bmp",
                           (std::string(shell::GetSkinFolder()) + "\\Spring_skin.ini").c_str());
  const std::string settings = shell::GetSettingsIniPath();
  platform::IniWriteString("Options", "Skin", "0", settings.c_str());
  LoadOptionsSettings();
  EXPECT_TRUE(g_backgrounds.empty());  // automatic: the backgrounds stay
  platform::IniWriteString("Options", "Skin", "2", settings.c_str());
  platform::IniWriteString("Options", "Sound Volume", "40", settings.c_str());
  LoadOptionsSettings();
  ASSERT_EQ(g_backgrounds.size(), 1u);
  EXPECT_EQ(g_backgrounds[0], std::string(shell::GetWallpaperFolder()) + "\\spring.bmp");
  EXPECT_EQ(GetOptionsSettings().soundVolume, 40);
  SetRoomBackgroundHook(nullptr);
  GetOptionsSettings() = OptionsSettings{};
}

TEST(TimeLimits, ConversionsAndMinimums) {
  EXPECT_EQ(SecondsToMs(180), 180000);
  EXPECT_EQ(MsToSeconds(180500), 180);
  EXPECT_EQ(MsToSeconds(999), 0);
  EXPECT_EQ(SplitTimeMs(1500000), (MinSec{25, 0}));
  EXPECT_EQ(SplitTimeMs(90500), (MinSec{1, 30}));
  EXPECT_EQ(SplitTimeMs(-5), (MinSec{0, 0}));
  EXPECT_EQ(JoinTimeMs({1, 30}), 90000);
  EXPECT_EQ(JoinTimeMs({75, -3}), 59 * 60000);
  EXPECT_EQ(ApplyGameTimeFloor({3, 0}), (MinSec{5, 0}));
  EXPECT_EQ(ApplyGameTimeFloor({4, 59}), (MinSec{5, 59}));
  EXPECT_EQ(ApplyGameTimeFloor({5, 0}), (MinSec{5, 0}));
  EXPECT_EQ(ApplyMoveTimeFloor({0, 10}), (MinSec{0, 30}));
  EXPECT_EQ(ApplyMoveTimeFloor({0, 29}), (MinSec{0, 30}));
  EXPECT_EQ(ApplyMoveTimeFloor({1, 0}), (MinSec{1, 0}));
}

}  // namespace
}  // namespace ui
