// A finished game reaches the current user's profile: the facts the shell's
// statistics read, taken from the game, and the profile file written back.
#include "game/game_results.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game/game.h"
#include "game/player.h"
#include "platform/crand.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/user_profile.h"
#include "shell_fixture.h"

namespace {

RobotMove PlayedMove(const char* word, int32_t score, int tiles) {
  RobotMove m;
  m.Clear();
  std::strncpy(m.word, word, kMoveWordSize - 1);
  m.length = static_cast<uint8_t>(std::strlen(word));
  m.score = score;
  m.rankValue = static_cast<float>(score);
  for (int i = 0; i < tiles; ++i)
    m.placedLetters[i] = word[i];
  m.terms[0] = 0.5f;  // word score
  m.termSum = 0.75f;
  return m;
}

class GameResultsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env.ok);
    ASSERT_TRUE(shell::CreateUserProfile("Ann", "Ann", "", 0, 0, nullptr, 1500, 30, 1, 2, false));
    ASSERT_TRUE(shell::SelectUser("Ann"));
    previous = SetGameResultPort(nullptr);
    InstallProfileResultPort();
    platform::SeedRandom(3);
  }
  void TearDown() override { SetGameResultPort(previous); }

  // A human (seat 0) against a computer, started, with these scores.
  std::unique_ptr<CGame> Game(int32_t kind, int32_t ownScore, int32_t otherScore) {
    std::unique_ptr<CGame> game(CreateGame());
    game->setup.kind = kind;
    for (int32_t type : {kPlayerHuman, kPlayerComputer}) {
      PlayerSetupEntry e;
      e.playerType = type;
      game->setup.AddPlayer(e);
    }
    game->StartNewGame();
    game->Player(0)->score = ownScore;
    game->Player(1)->score = otherScore;
    game->Player(0)->rating = 1500;
    game->Player(1)->rating = 1700;
    return game;
  }

  // The profile as the file holds it.
  shell::UserProfile Written() {
    std::vector<uint8_t> bytes;
    shell::UserProfile p;
    const std::string path = shell::ProfileFilePath("Ann", ".usr");
    EXPECT_TRUE(platform::ReadWholeFile(path.c_str(), bytes)) << path;
    EXPECT_TRUE(shell::DecodeUserProfile(bytes.data(), bytes.size(), p));
    return p;
  }

  shelltest::ShellEnv env;
  shelltest::RecordingHost host;
  GameResultPort* previous = nullptr;
};

TEST_F(GameResultsTest, StandardGameIsCountedInTheWrittenProfile) {
  auto game = Game(kKindStandard, 0, 0);
  GamePlayer& own = *game->Player(0);
  own.stats[kStandardStats].RecordMove(PlayedMove("zephyrs", 120, 7), 2, true);
  own.stats[kStandardStats].RecordMove(PlayedMove("cat", 10, 2), 1, true);
  own.challengesWon = 1;
  game->roundCount = 3;  // four cycles played
  // Both racks are empty: the end adjustment changes nothing.
  for (int i = 0; i < 2; ++i)
    std::memset(game->Player(i)->rack, kEmptyRackPlace, 7);
  own.score = 300;
  game->Player(1)->score = 250;
  game->state = kStateOver;
  EXPECT_EQ(game->Update(), kStateOver);

  EXPECT_EQ(own.cyclesPlayed, 4);
  const shell::FinishedGame facts = MakeFinishedGame(*game);
  ASSERT_EQ(facts.players.size(), 2u);
  EXPECT_EQ(facts.localPlayer, 0);
  EXPECT_FLOAT_EQ(facts.players[0].evaluation[kStatsWordScore], 2 * 0.5f / 4);
  EXPECT_FLOAT_EQ(facts.players[0].evaluation[kStatsGeneralNote], 2 * 0.75f / 4);

  const shell::UserProfile p = Written();
  const shell::GameStatsRecord& s = p.stats[shell::kStatsClassic2];
  EXPECT_EQ(s.games, 1);
  EXPECT_EQ(s.wins, 1);
  EXPECT_EQ(s.bestScore, 300);
  EXPECT_STREQ(s.bestWord, "zephyrs");
  EXPECT_EQ(s.bestWordScore, 120u);
  EXPECT_EQ(s.letterCount, 9);
  EXPECT_EQ(s.allTilesMoveCount, 1);
  EXPECT_EQ(s.mostWordsInMove, 2);
  EXPECT_EQ(s.challengeWon, 1);
  EXPECT_FLOAT_EQ(s.avgWordScore, 0.25f);
  EXPECT_EQ(p.stats[shell::kStatsDuplicate].games, 0);
}

TEST_F(GameResultsTest, DuplicateGameFillsTheDuplicateBlock) {
  auto game = Game(kKindDuplicate, 90, 80);
  game->referencePlayer = std::make_unique<GamePlayer>();
  game->referencePlayer->score = 120;  // the top score: 90 is 75 percent
  game->Player(0)->stats[kDuplicateStats].RecordMove(PlayedMove("quartzy", 90, 7), 1, true);
  game->state = kStateOver;
  EXPECT_EQ(game->Update(), kStateOver);

  const shell::UserProfile p = Written();
  const shell::GameStatsRecord& s = p.stats[shell::kStatsDuplicate];
  EXPECT_EQ(s.games, 1);
  EXPECT_STREQ(s.bestWord, "quartzy");
  EXPECT_EQ(s.letterCount, 7);
  EXPECT_EQ(s.allTilesMoveCount, 1);
  EXPECT_FLOAT_EQ(s.bestDuplicatePercent, 75.0f);
  EXPECT_EQ(p.stats[shell::kStatsClassic2].games, 0);
}

TEST_F(GameResultsTest, RatedGameKeepsTheExpectedResult) {
  auto game = Game(kKindStandard, 0, 0);
  game->setup.rankingGame = 1;
  for (int i = 0; i < 2; ++i)
    std::memset(game->Player(i)->rack, kEmptyRackPlace, 7);
  game->state = kStateOver;
  game->Update();
  // D = 200: E = 1 / (1 + 10^0.5).
  const shell::UserProfile p = Written();
  EXPECT_NEAR(p.stats[shell::kStatsClassic2].expectedScore, 0.2403f, 1e-4);
  EXPECT_EQ(p.stats[shell::kStatsClassic2].games, 1);
}

}  // namespace
