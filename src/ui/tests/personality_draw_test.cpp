// The shared random personality draw and the filling of a new game's
// computer seats: no personality, every personality taken, a fixed seed.
#include "ui/personality_draw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/crand.h"
#include "platform/path.h"
#include "shell/personality.h"
#include "shell_fixture.h"
#include "ui/computer_players.h"
#include "ui/player_options.h"

namespace ui {
namespace {

const std::vector<std::string> kNames = {"Ada", "Basil", "Cleo", "Dora"};

TEST(PersonalityDraw, NothingToDrawAnswersMinusOne) {
  int calls = 0;
  auto counting = [&calls] { return ++calls; };
  EXPECT_EQ(DrawFreePersonality({}, {}, counting), -1);
  EXPECT_EQ(DrawFreePersonality({}, {"Ada"}, counting), -1);
  // Every name is shown already, in another letter case.
  EXPECT_EQ(DrawFreePersonality(kNames, {"ada", "BASIL", "Cleo", "dORA", "x"}, counting), -1);
  EXPECT_EQ(calls, 0);
}

TEST(PersonalityDraw, RedrawsWhileTheNameIsTakenAndIsBounded) {
  std::vector<int> draws = {0, 4, 1, 2};  // Ada (taken), Ada again, Basil (taken), Cleo
  size_t next = 0;
  EXPECT_EQ(DrawFreePersonality(kNames, {"ADA", "basil"}, [&] { return draws[next++]; }), 2);
  EXPECT_EQ(next, 4u);
  // A generator that only ever lands on taken names: after the bound the
  // first free name in list order is taken.
  int calls = 0;
  EXPECT_EQ(DrawFreePersonality(kNames, {"Ada", "Cleo"}, [&] { return ++calls * 0 + 2; }), 1);
  EXPECT_EQ(calls, kMaxRandomDraws);
  EXPECT_EQ(DrawFreePersonality(kNames, {"Ada"}, [] { return -7; }), 2);  // never negative
}

TEST(PersonalityDraw, FixedSeedRepeatsTheCGeneratorsDraw) {
  platform::SeedRandom(12345);
  platform::CRand replica(12345);
  int expected = -1;
  while (expected < 0) {
    const int i = replica.Next() % static_cast<int>(kNames.size());
    if (kNames[i] != "Basil") expected = i;
  }
  EXPECT_EQ(DrawFreePersonality(kNames, {"Basil"}), expected);
}

class ComputerSeats : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env.ok);
    ASSERT_TRUE(platform::MakeDirectory(shell::GetPersonalitiesFolder()));
    shell::UserProfile user;
    std::strcpy(user.name, "Zoe");
    user.language = 1;
    ASSERT_TRUE(shell::SetCurrentUserProfile(&user));
    platform::SeedRandom(3);
  }
  void Put(const char* name, uint8_t firstOption) {
    shell::PersonalityRecord r;
    std::strcpy(r.name, name);
    std::strcpy(r.picture, (std::string(name) + ".bmp").c_str());
    r.rating = 1500;
    r.playerOptions[0] = firstOption;
    r.playerOptions[8] = 7;  // word 2
    ASSERT_TRUE(shell::WritePersonalityFile(r));
  }
  shelltest::ShellEnv env;
  shelltest::RecordingHost host;
  CGame game;
};

TEST_F(ComputerSeats, EachSeatGetsItsOwnPersonalityAndItsSettings) {
  Put("Ada", 0);
  Put("Basil", 0);
  Put("Cleo", 0);
  game.setup.SetPlayerCount(4);
  std::strcpy(game.setup.entries[0].name, "Zoe");
  AssignComputerPersonalities(game);
  EXPECT_STREQ(game.setup.entries[0].name, "Zoe");
  EXPECT_EQ(game.setup.entries[0].playerType, kPlayerHuman);
  EXPECT_EQ(game.setup.entries[0].options[0], 1);
  std::vector<std::string> seen;
  for (int i = 1; i < 4; ++i) {
    const PlayerSetupEntry& e = game.setup.entries[i];
    EXPECT_EQ(e.playerType, kPlayerComputer);
    EXPECT_EQ(e.options[2], 7) << "the personality's own settings";
    for (const std::string& s : seen)
      EXPECT_NE(s, e.name);
    seen.push_back(e.name);
  }
  EXPECT_EQ(game.setup.language, 1);
}

TEST_F(ComputerSeats, TooFewPersonalitiesLeaveDefaultComputerSeats) {
  Put("Ada", 0);
  game.setup.SetPlayerCount(3);
  AssignComputerPersonalities(game);
  EXPECT_STREQ(game.setup.entries[1].name, "Ada");
  EXPECT_STREQ(game.setup.entries[2].name, "Player 3");
  EXPECT_EQ(game.setup.entries[2].playerType, kPlayerComputer);
  EXPECT_EQ(std::memcmp(game.setup.entries[2].options, DefaultComputerOptions().words,
                        sizeof game.setup.entries[2].options),
            0);
}

TEST(PlayerOptions, DefaultRecordsByteForByte) {
  const PlayerOptions h = DefaultHumanOptions();
  EXPECT_EQ(h.words[0], 1);
  EXPECT_EQ(h.words[2], 10);
  const PlayerOptions c = DefaultComputerOptions(200.0f);
  uint8_t bytes[sizeof c.words];
  std::memcpy(bytes, c.words, sizeof bytes);
  const uint8_t head[] = {0, 1, 0, 1, 1, 0, 0, 0, 10, 0, 0, 0};
  EXPECT_EQ(std::memcmp(bytes, head, sizeof head), 0);
  float f[kPlayerOptionCount];
  std::memcpy(f, c.words, sizeof f);
  EXPECT_EQ(f[3], 200.0f);
  for (int i : {5, 6, 7, 9, 10})
    EXPECT_EQ(f[i], 100.0f) << i;
  for (int i : {4, 8, 11, 12})
    EXPECT_EQ(c.words[i], 0) << i;
}

}  // namespace
}  // namespace ui
