// Ratings and statistics from finished games and tournaments, checked
// against the formulas' worked cases.
#include "shell/game_stats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "shell/user_profile.h"
#include "shell_fixture.h"

namespace {

using shell::FinishedGame;
using shell::FinishedGameKind;
using shell::FinishedPlayer;

FinishedGame Game(FinishedGameKind kind, std::vector<std::pair<int32_t, int32_t>> ratingScore,
                  bool rated = true) {
  FinishedGame g;
  g.kind = kind;
  g.rated = rated;
  for (auto [rating, score] : ratingScore) {
    FinishedPlayer p;
    p.rating = rating;
    p.finalScore = score;
    g.players.push_back(p);
  }
  return g;
}

TEST(Ratings, ExpectedScore) {
  EXPECT_FLOAT_EQ(shell::ExpectedScore(1500, 1500), 0.5f);
  EXPECT_FLOAT_EQ(shell::ExpectedScore(1100, 1500), 1.0f / 11.0f);
  EXPECT_FLOAT_EQ(shell::ExpectedScore(1500, 1100), 10.0f / 11.0f);
}

TEST(Ratings, TwoPlayerGames) {
  const struct {
    int32_t own, opp, ownScore, oppScore, newRating, result;
  } cases[] = {
      {1500, 1500, 400, 300, 1508, shell::kGameWon},
      {1500, 1500, 300, 400, 1492, shell::kGameLost},
      {1500, 1500, 350, 350, 1500, shell::kGameDrawn},  // equal scores: a draw
      {1100, 1500, 400, 300, 1114, shell::kGameWon},    // 16 x 10/11 = 14.54
      {1100, 1500, 300, 400, 1098, shell::kGameLost},   // 1100 - 1.45, truncated toward zero
  };
  for (const auto& c : cases) {
    shelltest::RecordingHost host;
    shell::UserProfile p;
    p.stats[0].rating = p.stats[0].bestRating = c.own;
    FinishedGame g = Game(FinishedGameKind::kStandard, {{c.own, c.ownScore}, {c.opp, c.oppScore}});
    shell::GameStatsOutcome o = shell::RecordGameStatistics(p, g);
    EXPECT_EQ(o.block, 0);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(p.stats[0].rating, c.newRating) << c.own << " vs " << c.opp;
    EXPECT_EQ(p.stats[0].bestRating, std::max(c.own, c.newRating));
    EXPECT_FLOAT_EQ(p.stats[0].expectedScore, shell::ExpectedScore(c.own, c.opp));
    std::vector<std::string> sound;
    if (c.result == shell::kGameWon) sound = {"SgpParG1.wav"};
    if (c.result == shell::kGameLost) sound = {"SgpParP1.wav"};
    EXPECT_EQ(host.sounds, sound);
  }
}

TEST(Ratings, UnratedGamesKeepTheRating) {
  shelltest::RecordingHost host;
  shell::UserProfile p;
  p.stats[0].rating = 1234;
  shell::RecordGameStatistics(p,
                              Game(FinishedGameKind::kStandard, {{1234, 500}, {900, 100}}, false));
  EXPECT_EQ(p.stats[0].rating, 1234);
  EXPECT_EQ(p.stats[0].wins, 1);
}

TEST(Ratings, ThreeAndFourPlayerGames) {
  shelltest::RecordingHost host;
  // Last of four, rated lowest: n - p = 1, bonus 1, T = R so the adjustment is 0.
  shell::UserProfile p;
  FinishedGame last =
      Game(FinishedGameKind::kStandard, {{1000, 100}, {1600, 400}, {1400, 300}, {1200, 200}});
  shell::RecordGameStatistics(p, last);
  EXPECT_EQ(p.stats[1].rating, 1002);
  EXPECT_EQ(p.stats[1].defeats, 1);

  // Winner of three and rated lowest: T = 1600 above R = 1000, adjustment
  // 2 x 600 / 3 = 400; 3 + 400 + 10.
  shell::UserProfile q;
  shell::RecordGameStatistics(
      q, Game(FinishedGameKind::kStandard, {{1000, 500}, {1600, 400}, {1400, 300}}));
  EXPECT_EQ(q.stats[1].rating, 1413);

  // Second of four, rated highest: T = 1400 below R = 1600, (R - T) / 3 = 66.
  shell::UserProfile r;
  shell::RecordGameStatistics(
      r, Game(FinishedGameKind::kStandard, {{1600, 300}, {1400, 400}, {1200, 200}, {1000, 100}}));
  EXPECT_EQ(r.stats[1].rating, 1600 + 3 + 66 + 5);
}

TEST(Ratings, DuplicateGames) {
  shelltest::RecordingHost host;
  const struct {
    std::vector<std::pair<int32_t, int32_t>> players;
    int32_t gain;
  } cases[] = {
      {{{0, 500}, {0, 400}, {0, 300}, {0, 200}}, 5},            // 4.8 -> ceiling
      {{{0, 100}, {0, 400}, {0, 300}, {0, 200}}, 1},            // 4.8 - 4.5 = 0.3
      {{{0, 100}, {0, 400}}, 1},                                // 2.4 - 1.5
      {{{0, 100}, {0, 400}, {0, 300}, {0, 200}, {0, 150}}, 0},  // 6 - 6 = 0: unchanged
      {{{0, 100}}, 0},                                          // alone: only the best-rating check
  };
  for (const auto& c : cases) {
    shell::UserProfile p;
    p.stats[2].rating = 1200;
    FinishedGame g = Game(FinishedGameKind::kDuplicate, c.players);
    g.topScore = 500;
    shell::GameStatsOutcome o = shell::RecordGameStatistics(p, g);
    EXPECT_EQ(o.block, 2);
    EXPECT_EQ(p.stats[2].rating, 1200 + c.gain) << c.players.size();
    EXPECT_EQ(p.stats[2].bestRating, 1200 + c.gain);
    EXPECT_FLOAT_EQ(o.duplicatePercent, c.players[0].second / 5.0f);
  }
}

TEST(Statistics, BlocksAndWhichGamesCount) {
  FinishedGame g = Game(FinishedGameKind::kStandard, {{0, 1}, {0, 2}});
  EXPECT_EQ(shell::StatsBlockFor(g), 0);
  g.lobbyMode = 2;
  EXPECT_EQ(shell::StatsBlockFor(g), 5);
  g.players.resize(3);
  EXPECT_EQ(shell::StatsBlockFor(g), 6);
  g.lobbyMode = 1;
  EXPECT_EQ(shell::StatsBlockFor(g), 1);
  g.kind = FinishedGameKind::kDuplicate;
  EXPECT_EQ(shell::StatsBlockFor(g), 2);
  g.lobbyMode = 2;
  EXPECT_EQ(shell::StatsBlockFor(g), 7);
  g.kind = FinishedGameKind::kOther;
  EXPECT_EQ(shell::StatsBlockFor(g), -1);
  EXPECT_FALSE(shell::ShouldCountGame(g));

  FinishedGame s = Game(FinishedGameKind::kStandard, {{0, 1}, {0, 2}});
  EXPECT_TRUE(shell::ShouldCountGame(s));
  s.players[0].isComputer = s.players[1].isComputer = true;
  EXPECT_FALSE(shell::ShouldCountGame(s));  // computers only
  s.players[0].isComputer = false;
  s.noStatistics = true;
  EXPECT_FALSE(shell::ShouldCountGame(s));
  FinishedGame solo = Game(FinishedGameKind::kStandard, {{0, 1}});
  EXPECT_FALSE(shell::ShouldCountGame(solo));
  FinishedGame dupSolo = Game(FinishedGameKind::kDuplicate, {{0, 1}});
  EXPECT_TRUE(shell::ShouldCountGame(dupSolo));
  dupSolo.localPlayer = 3;
  EXPECT_FALSE(shell::ShouldCountGame(dupSolo));
}

TEST(Statistics, BlockFieldsAcrossGames) {
  shelltest::RecordingHost host;
  shell::UserProfile p;
  FinishedGame g = Game(FinishedGameKind::kStandard, {{1500, 300}, {1500, 200}}, false);
  FinishedPlayer& me = g.players[0];
  me.bestMoveScore = 80;
  me.bestMoveWord = "jukebox";
  me.lettersPlaced = 50;
  me.challengesWon = 2;
  me.challengesLost = 1;
  me.sevenTileMoves = 1;
  me.mostWordsInMove = 3;
  for (int i = 0; i < shell::kEvalTermCount; ++i)
    me.evaluation[i] = 0.5f;
  shell::RecordGameStatistics(p, g);
  shell::GameStatsRecord& s = p.stats[0];
  EXPECT_EQ(s.games, 1);
  EXPECT_FLOAT_EQ(s.averageScore, 300.0f);  // the first game sets it
  EXPECT_EQ(s.bestScore, 300);
  EXPECT_STREQ(s.bestWord, "jukebox");
  EXPECT_EQ(s.bestWordScore, 80u);
  EXPECT_EQ(s.letterCount, 50);
  EXPECT_FLOAT_EQ(s.averagePerLetter, 6.0f);
  EXPECT_EQ(s.challengeCount, 3);
  EXPECT_FLOAT_EQ(s.avgGeneralNote, 0.5f);

  me.finalScore = 500;
  me.bestMoveScore = 60;
  me.bestMoveWord = "quiet";
  me.lettersPlaced = 0;  // no letters: this game's per-letter average is 0
  me.mostWordsInMove = 2;
  for (int i = 0; i < shell::kEvalTermCount; ++i)
    me.evaluation[i] = 1.0f;
  g.players[1].finalScore = 500;  // equal scores: a draw
  shell::GameStatsOutcome o = shell::RecordGameStatistics(p, g);
  EXPECT_EQ(o.result, shell::kGameDrawn);
  EXPECT_EQ(s.games, 2);
  EXPECT_EQ(s.draws, 1);
  EXPECT_FLOAT_EQ(s.averageScore, 400.0f);
  EXPECT_EQ(s.bestScore, 500);
  EXPECT_STREQ(s.bestWord, "jukebox");  // 60 does not beat 80
  EXPECT_FLOAT_EQ(s.averagePerLetter, 3.0f);
  EXPECT_EQ(s.allTilesMoveCount, 2);
  EXPECT_EQ(s.mostWordsInMove, 3);
  EXPECT_FLOAT_EQ(s.avgGeneralNote, 0.75f);

  g.excludedFromEvaluation = true;
  me.evaluation[shell::kEvalGeneralNote] = 0.0f;
  shell::RecordGameStatistics(p, g);
  EXPECT_FLOAT_EQ(s.avgGeneralNote, 0.75f);
}

shell::TournamentFacts Tournament(int kind, std::vector<int32_t> ratings, int humanAt) {
  shell::TournamentFacts t;
  t.kind = kind;
  t.playerCount = static_cast<int>(ratings.size());
  for (size_t i = 0; i < ratings.size(); ++i)
    t.standings.push_back({static_cast<int>(i) == humanAt ? "Ann" : "Bot" + std::to_string(i),
                           ratings[i], static_cast<int>(i) != humanAt});
  return t;
}

TEST(TournamentRatings, Classic) {
  shell::UserProfile p;
  // Six players, the human first and rated highest: 6 + 0 + 10.
  shell::TournamentFacts six = Tournament(0, {1500, 1400, 1300, 1200, 1100, 1000}, 0);
  shell::UpdateTournamentRating(p, six, {"Ann", 1500, 5});
  EXPECT_EQ(p.stats[3].rating, 1516);
  EXPECT_EQ(p.stats[3].bestRating, 1516);

  // Ten players, human third with R 1500 where T is 1200: -100, bonus 4.
  shell::TournamentFacts t =
      Tournament(0, {1200, 1200, 1500, 1200, 1100, 1000, 900, 800, 700, 600}, 2);
  shell::UserProfile q;
  q.stats[3].bestRating = 1500;
  shell::UpdateTournamentRating(q, t, {"Ann", 1500, 9});
  EXPECT_EQ(q.stats[3].rating, 1412);
  EXPECT_EQ(q.stats[3].bestRating, 1500);  // a fall keeps the best
}

TEST(TournamentRatings, Duplicate) {
  const struct {
    int players, humanAt, gain;
  } cases[] = {{4, 0, 8}, {4, 3, 1}, {5, 4, 0}, {1, 0, 0}};
  for (const auto& c : cases) {
    shell::UserProfile p;
    p.stats[4].rating = 1000;
    shell::TournamentFacts t =
        Tournament(1, std::vector<int32_t>(static_cast<size_t>(c.players), 1000), c.humanAt);
    t.gamesPlayed = 5;
    shell::UpdateDuplicateTournamentRating(p, t, {"Ann", 1000, 5});
    EXPECT_EQ(p.stats[4].rating, 1000 + c.gain) << c.players << " players, place " << c.humanAt;
  }
}

TEST(TournamentStatistics, RunningMeansWeighByTheTournamentsGames) {
  shell::UserProfile p;
  shell::GameStatsRecord& s = p.stats[3];
  s.averageScore = 100;
  s.averagePerLetter = 7;
  FinishedPlayer me;
  me.finalScore = 160;
  me.invalidWordsPlayed = 2;
  me.challengesWon = 1;
  shell::TournamentFacts t = Tournament(0, {1500, 1400}, 0);
  shell::RecordTournamentGameStatistics(p, t, me, 0, shell::kGameWon, {"Ann", 1500, 2});
  EXPECT_FLOAT_EQ(s.averageScore, 120.0f);
  EXPECT_FLOAT_EQ(s.averagePerLetter, 7.0f);  // no letters placed: unchanged
  EXPECT_EQ(s.challengeCount, 2);
  EXPECT_EQ(s.challengeWon, 1);
  EXPECT_EQ(s.games, 1);
  EXPECT_EQ(s.wins, 1);

  t.noStatistics = false;  // not set up by a tournament: nothing happens
  shell::RecordTournamentGameStatistics(p, t, me, 0, shell::kGameWon, {"Ann", 1500, 3});
  EXPECT_EQ(s.games, 1);

  shell::TournamentFacts d = Tournament(1, {1500, 1400}, 0);
  me.dupLettersPlaced = 40;
  float percent = 0;
  shell::RecordTournamentGameStatistics(p, d, me, 200, shell::kGameLost, {"Ann", 1500, 1},
                                        &percent);
  EXPECT_FLOAT_EQ(percent, 80.0f);
  EXPECT_FLOAT_EQ(p.stats[4].bestDuplicatePercent, 80.0f);
  EXPECT_FLOAT_EQ(p.stats[4].averagePerLetter, 4.0f);
  EXPECT_EQ(p.stats[4].defeats, 1);
}

}  // namespace
