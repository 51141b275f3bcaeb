// The rules block's "Game" keys and the side games' keys: their own
// defaults, round trips and values held to what a game can play.
#include "ui/game_option_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "game/game.h"
#include "platform/ini.h"
#include "shell_fixture.h"

namespace ui {
namespace {

class GameOptionKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env.ok);
    ini = env.File("settings.ini");
    game.rules = &rules;
  }
  void Put(const char* key, const char* value) {
    platform::IniWriteString("Game", key, value, ini.c_str());
  }
  std::string Get(const char* key) { return platform::IniGet("Game", key, "<none>", ini.c_str()); }
  shelltest::ShellEnv env;
  std::string ini;
  GameRules rules;
  CGame game;
};

TEST_F(GameOptionKeysTest, DefaultsDifferFromTheGameSettingsInTheTimingMode) {
  GameOptions o;
  LoadGameOptionKeys(o, ini.c_str());
  EXPECT_EQ(o.kind, 0);
  EXPECT_EQ(o.timingMode, 1);
  EXPECT_EQ(o.moveTimeMs, 180000);
  EXPECT_EQ(o.gameTimeMs, 1500000);
  o.kind = 1;
  o.ranked = 1;
  o.timingMode = 2;
  o.moveTimeMs = 180500;
  SaveGameOptionKeys(o, ini.c_str());
  EXPECT_EQ(Get("Turn Time"), "180");
  GameOptions back;
  LoadGameOptionKeys(back, ini.c_str());
  EXPECT_EQ(back.kind, 1);
  EXPECT_EQ(back.ranked, 1);
  EXPECT_EQ(back.timingMode, 2);
  EXPECT_EQ(back.moveTimeMs, 180000);
  SetGameSetupFields(back);
  GameOptions remembered;
  GetGameSetupFields(remembered);
  EXPECT_EQ(remembered.kind, 1);
  EXPECT_EQ(remembered.timingMode, 2);
}

TEST_F(GameOptionKeysTest, SideGameKeysRoundTripAndAreHeldToRange) {
  EXPECT_FALSE(LoadConundrumKeys(nullptr, ini.c_str())) << "no current game";
  ASSERT_TRUE(LoadConundrumKeys(&game, ini.c_str()));
  EXPECT_EQ(rules.boardSide, 10);
  EXPECT_EQ(game.setup.GetPlayerCount(), 1);
  EXPECT_EQ(game.setup.moveTimeMs, 180000);
  EXPECT_EQ(game.setup.maxRounds, 20);

  Put("Anagram Nb letters", "40");
  Put("Anagram Nb players", "0");
  Put("Anagram Forced letters", "Qu1-Z");
  Put("Anagram Number of turns", "-9");
  ASSERT_TRUE(LoadAnagramKeys(&game, ini.c_str()));
  EXPECT_EQ(rules.boardSide, kMaxSideGameWordLength);
  EXPECT_EQ(game.setup.GetPlayerCount(), 1);
  EXPECT_STREQ(game.anagramLetters, "quz");
  EXPECT_EQ(game.setup.maxRounds, -1);
  ASSERT_TRUE(SaveAnagramKeys(&game, ini.c_str()));
  EXPECT_EQ(Get("Anagram Forced letters"), "quz");
  EXPECT_EQ(Get("Anagram Nb letters"), "12");

  rules.boardSide = 7;
  game.setup.SetPlayerCount(2);
  game.setup.invalidWordForfeits = 1;
  game.setup.clockMode = 2;
  game.setup.moveTimeMs = 45000;
  game.setup.maxRounds = 15;
  ASSERT_TRUE(SaveConundrumKeys(&game, ini.c_str()));
  CGame other;
  GameRules otherRules;
  other.rules = &otherRules;
  ASSERT_TRUE(LoadConundrumKeys(&other, ini.c_str()));
  EXPECT_EQ(otherRules.boardSide, 7);
  EXPECT_EQ(other.setup.GetPlayerCount(), 2);
  EXPECT_EQ(other.setup.invalidWordForfeits, 1);
  EXPECT_EQ(other.setup.clockMode, 2);
  EXPECT_EQ(other.setup.moveTimeMs, 45000);
  EXPECT_EQ(other.setup.maxRounds, 15);
}

}  // namespace
}  // namespace ui
