// Tournaments: round-robin schedules from the Berger tables, Swiss rounds,
// points and standings orders, the scoring of finished games.
#include "game/tournament.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "recording_sink.h"

namespace {

TournamentData Field(int n, int32_t kind = kKindStandard) {
  TournamentData t;
  t.setup.kind = kind;
  for (int i = 1; i <= n; ++i) {
    TournamentParticipant p;
    p.number = i;
    std::snprintf(p.name, sizeof p.name, "P%d", i);
    p.isComputer = 1;
    p.rating = 1000 + 10 * i;
    t.participants.push_back(p);
  }
  t.roundCount = 1;
  return t;
}

std::vector<std::pair<int, int>> Games(const TournamentData& t) {
  std::vector<std::pair<int, int>> g;
  for (const TournamentPairing& p : t.pairings)
    g.emplace_back(p.first, p.second);
  return g;
}

TEST(RoundRobin, FourPlayersFollowTheBergerTables) {
  TournamentData t = Field(4);
  SeedTournamentRandom(1);
  ASSERT_TRUE(BuildRoundRobinSchedule(t));
  const std::vector<std::pair<int, int>> example = {{4, 1}, {3, 2}, {3, 4}, {2, 1}, {4, 2}, {1, 3}};
  std::vector<std::pair<int, int>> flipped;
  for (auto [a, b] : example)
    flipped.emplace_back(b, a);
  const auto got = Games(t);
  EXPECT_TRUE(got == example || got == flipped);
  EXPECT_EQ(t.gameCount, 6);
  EXPECT_EQ(t.scheduleLines[0], std::string(got[0].first == 4 ? "P4" : "P1") + "\t against " +
                                    (got[0].first == 4 ? "P1" : "P4"));

  // A second cycle lists every game the other way round.
  t.roundCount = 2;
  ASSERT_TRUE(BuildRoundRobinSchedule(t));
  ASSERT_EQ(t.gameCount, 12);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(t.pairings[i].first, t.pairings[i + 6].second) << i;
}

TEST(RoundRobin, ByesAreDroppedAndEveryPairMeetsOnce) {
  for (int n : {3, 5, 6}) {
    TournamentData t = Field(n);
    ASSERT_TRUE(BuildRoundRobinSchedule(t));
    EXPECT_EQ(t.gameCount, n * (n - 1) / 2) << n;
    std::set<std::pair<int, int>> met;
    for (auto [a, b] : Games(t)) {
      ASSERT_NE(a, 0);
      ASSERT_NE(b, 0);
      EXPECT_TRUE(met.insert({std::min(a, b), std::max(a, b)}).second) << n;
    }
  }
  TournamentData one = Field(1);
  EXPECT_FALSE(BuildRoundRobinSchedule(one));
  EXPECT_FALSE(PairSwissRound(one));
}

TEST(Swiss, FirstRoundPairsTheHalvesWithAlternatingSides) {
  TournamentData t = Field(6);
  t.swiss = 1;
  t.roundCount = 5;
  ASSERT_TRUE(PairSwissRound(t));
  std::set<std::pair<int, int>> pairs;
  std::vector<bool> firstHalfFirst;
  for (int i = 0; i < 3; ++i) {
    const TournamentPairing& g = t.pairings[i];
    pairs.insert({std::min(g.first, g.second), std::max(g.first, g.second)});
    firstHalfFirst.push_back(g.first <= 3);
  }
  EXPECT_EQ(pairs, (std::set<std::pair<int, int>>{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_NE(firstHalfFirst[0], firstHalfFirst[1]);
  EXPECT_NE(firstHalfFirst[1], firstHalfFirst[2]);
  EXPECT_EQ(t.roundsPaired, 1);
  EXPECT_TRUE(PairSwissRound(t));  // already paired: nothing changes
  EXPECT_EQ(t.roundsPaired, 1);
}

// Plays every game of a Swiss tournament with the first listed winning and
// checks each round: everyone paired once, and the side rule (listed second
// twice more than first forces a change, first three times more too).
TEST(Swiss, RoundsPairEveryoneWithoutRepeatsAndSidesAlternate) {
  for (int n : {6, 7, 3}) {
    SeedTournamentRandom(static_cast<uint32_t>(n));
    TournamentData t = Field(n);
    t.swiss = 1;
    t.roundCount = n % 2 ? n + 2 : n - 1;  // odd fields: more rounds than byes
    std::map<int, std::vector<int>> sides;
    for (int round = 0; round < t.roundCount; ++round) {
      ASSERT_TRUE(PairSwissRound(t));
      std::set<int> seen;
      for (int k = 0; k < n / 2; ++k) {
        TournamentPairing& g = t.pairings[static_cast<size_t>(t.gamesPlayed)];
        ASSERT_NE(g.first, 0) << "n " << n << " round " << round;
        EXPECT_TRUE(seen.insert(g.first).second && seen.insert(g.second).second);
        sides[g.first].push_back(1);
        sides[g.second].push_back(2);
        g.result = kResultFirstWon;
        TournamentParticipant* a = FindParticipant(t, g.first, nullptr);
        TournamentParticipant* b = FindParticipant(t, g.second, nullptr);
        ++a->wins, ++b->losses, ++a->gamesPlayed, ++b->gamesPlayed;
        ++t.gamesPlayed;
      }
      ++t.currentRound;
    }
    if (n == 3) continue;  // three players cannot keep every side rule
    for (auto& [who, list] : sides) {
      int balance = 0;  // first minus second
      for (int side : list) {
        balance += side == 1 ? 1 : -1;
        EXPECT_GE(balance, -2) << "n " << n << " participant " << who;
        EXPECT_LE(balance, 3) << "n " << n << " participant " << who;
      }
    }
  }
}

TEST(Standings, EachOrderUsesItsKeys) {
  TournamentData t = Field(3);
  t.participants[0].wins = 1, t.participants[0].totalScore = 300;
  t.participants[1].wins = 1, t.participants[1].totalScore = 400;
  t.participants[2].draws = 2;
  RecomputePoints(t, false);
  // Championship: points (10, 10, 10), then wins, then total score.
  EXPECT_STREQ(t.standings[0].name, "P2");
  EXPECT_STREQ(t.standings[1].name, "P1");
  EXPECT_STREQ(t.standings[2].name, "P3");

  TournamentData d = Field(3, kKindDuplicate);
  d.participants[0].wins = 1, d.participants[0].losses = 2;
  d.participants[1].wins = 1, d.participants[1].losses = 1;
  d.participants[2].draws = 3;
  SortStandings(d);
  EXPECT_STREQ(d.standings[0].name, "P2");  // fewer losses first
  EXPECT_STREQ(d.standings[1].name, "P1");
}

std::unique_ptr<CGame, void (*)(CGame*)> TwoPlayerGame(int32_t s0, int32_t s1, int32_t code) {
  std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
  for (int i = 0; i < 2; ++i) {
    PlayerSetupEntry e;
    e.playerType = kPlayerComputer;
    std::snprintf(e.name, sizeof e.name, "P%d", i + 1);
    game->setup.AddPlayer(e);
  }
  game->setup.kind = kKindStandard;
  game->StartNewGame();
  game->Player(0)->score = s0;
  game->Player(1)->score = s1;
  game->tournamentMode = code;
  return game;
}

TEST(Scoring, TwoPlayerResultsAndResignations) {
  struct Case {
    int32_t s0, s1, code;
    int32_t settled;
    int firstWins, secondWins, draws;
    int32_t firstTotal, secondTotal;
  } cases[] = {
      {300, 250, kResultNone, kResultFirstWon, 1, 0, 0, 300, 250},
      {200, 250, kResultNone, kResultSecondWon, 0, 1, 0, 200, 250},
      {260, 260, kResultNone, kResultDraw, 0, 0, 1, 260, 260},
      {300, 250, kResultFirstResigned, kResultSecondWon, 0, 1, 0, 0, 250},
      {300, -5, kResultSecondResigned, kResultFirstWon, 1, 0, 0, 300, 0},
  };
  for (const Case& c : cases) {
    TournamentData t = Field(2);
    ASSERT_TRUE(BuildRoundRobinSchedule(t));
    t.pairings[0].first = 1;
    t.pairings[0].second = 2;
    auto game = TwoPlayerGame(c.s0, c.s1, c.code);
    EXPECT_EQ(SettleTwoPlayerScores(t, *game), c.settled);
    ASSERT_TRUE(RecordGameResult(t, *game));
    const TournamentParticipant& a = t.participants[0];
    const TournamentParticipant& b = t.participants[1];
    EXPECT_EQ(a.wins, c.firstWins);
    EXPECT_EQ(b.wins, c.secondWins);
    EXPECT_EQ(a.draws, c.draws);
    EXPECT_EQ(a.points, (c.firstWins * 2 + c.draws) * 5);
    EXPECT_EQ(a.totalScore, c.firstTotal);
    EXPECT_EQ(b.totalScore, c.secondTotal);
    EXPECT_EQ(t.gamesPlayed, 1);
    EXPECT_EQ(t.pairings[0].result, c.settled);
    EXPECT_FALSE(ResultText(t, t.pairings[0]).empty());
  }
}

TEST(Scoring, RankingAnnouncementLeavesTheGameKind) {
  testsupport::RecordingSink sink;
  TournamentData t = Field(2);
  t.setup.rankingGame = 1;
  ASSERT_TRUE(BuildRoundRobinSchedule(t));
  t.pairings[0].first = 1;
  t.pairings[0].second = 2;
  auto game = TwoPlayerGame(300, 200, kResultFirstWon);
  game->Player(0)->entry.playerType = kPlayerHuman;
  std::strcpy(game->Player(0)->entry.name, "Ann");
  ASSERT_TRUE(RecordGameResult(t, *game));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Ann has won a ranking tournament game against P2.");
  EXPECT_EQ(game->Kind(), kKindStandard);
}

TEST(Scoring, DuplicateSharesOfTheTopScoreAreKept) {
  TournamentData t = Field(4, kKindDuplicate);
  std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
  game->setup.kind = kKindDuplicate;
  for (int i = 0; i < 4; ++i) {
    PlayerSetupEntry e;
    e.playerType = kPlayerComputer;
    std::snprintf(e.name, sizeof e.name, "P%d", i + 1);
    game->setup.AddPlayer(e);
  }
  game->StartNewGame();
  const int32_t scores[4] = {300, 300, 200, 100};
  for (int i = 0; i < 4; ++i)
    game->Player(i)->score = scores[i];
  ASSERT_TRUE(RecordGameResult(t, *game));
  EXPECT_EQ(t.participants[0].points, 5);
  EXPECT_EQ(t.participants[1].points, 5);
  EXPECT_EQ(t.participants[0].draws, 1);
  EXPECT_EQ(t.participants[2].losses, 1);
  EXPECT_EQ(t.participants[3].totalScore, 100);
  // Three sharing: 10 / 3 each, kept when the points are recomputed.
  for (int i = 0; i < 4; ++i)
    game->Player(i)->score = i < 3 ? 250 : 0;
  ASSERT_TRUE(RecordGameResult(t, *game));
  RecomputePoints(t, false);
  EXPECT_EQ(t.participants[0].points, 5 + 3);
  EXPECT_EQ(t.participants[2].points, 3);
  EXPECT_EQ(t.currentRound, 2);
}

TEST(Schedule, LinesAreCutToTheirSize) {
  TournamentData t = Field(2);
  std::memset(t.participants[0].name, 'x', sizeof t.participants[0].name - 1);
  std::memset(t.participants[1].name, 'y', sizeof t.participants[1].name - 1);
  ASSERT_TRUE(BuildRoundRobinSchedule(t));
  EXPECT_EQ(t.scheduleLines[0].size(), static_cast<size_t>(kScheduleLineSize - 1));
  t.hiddenOpponents = 1;
  SetPairing(t, 1, 2, 0);
  EXPECT_EQ(t.scheduleLines[0], "Unknown\t against Unknown");
}

}  // namespace
