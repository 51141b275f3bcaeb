#pragma once
// Ratings and game statistics of a profile: which block a finished game
// counts in, how it updates the block, the Elo-type rating of two-player
// games (base 10, divisor 400, factor 16), the placing rules of three- and
// four-player and duplicate games, and the tournament updates.
//
// The game layer hands the facts of a finished game in FinishedGame (it is
// filled from the game object when the game ends); tournaments hand theirs in
// TournamentFacts.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/profile_records.h"

namespace shell {

struct UserProfile;

enum class FinishedGameKind { kStandard, kDuplicate, kOther };

// A player's result in a finished game (rating 1 win, 0 loss, 2 draw).
enum GameResult : int { kGameLost = 0, kGameWon = 1, kGameDrawn = 2, kGameNoResult = -1 };

// Evaluation terms of a game, in the order of the statistics block.
enum EvaluationTerm : int {
  kEvalBonusSquaresBlocked,
  kEvalClosingBonusSquares,
  kEvalClosingBoard,
  kEvalRemainderQuality,
  kEvalWordScore,
  kEvalGeneralNote,
  kEvalTermCount
};

struct FinishedPlayer {
  int32_t rating = 0;  // the player's rating field, filled by the game set-up
  int32_t finalScore = 0;
  bool isComputer = false;
  // The counters below are read for the local player only.
  int32_t bestMoveScore = 0;
  std::string bestMoveWord;
  int32_t dupBestMoveScore = 0;
  std::string dupBestMoveWord;
  int32_t lettersPlaced = 0;
  int32_t dupLettersPlaced = 0;
  int32_t challengesWon = 0;
  int32_t challengesLost = 0;
  int32_t invalidWordsPlayed = 0;
  int32_t sevenTileMoves = 0;
  int32_t dupSevenTileMoves = 0;
  int32_t mostWordsInMove = 0;
  float evaluation[kEvalTermCount] = {};  // fractions 0..1
};

struct FinishedGame {
  FinishedGameKind kind = FinishedGameKind::kStandard;
  bool rated = false;                   // the game's rated flag
  bool noStatistics = false;            // set for tournament games
  bool excludedFromEvaluation = false;  // the evaluation averages skip the game
  int lobbyMode = 0;                    // 0 none, 1 LAN lobby, 2 Internet lobby
  int localPlayer = 0;                  // index of the local human
  int32_t topScore = 0;                 // duplicate: the reference player's score
  std::vector<FinishedPlayer> players;
};

struct GameStatsOutcome {
  bool counted = false;
  int block = -1;
  int result = kGameNoResult;
  float duplicatePercent = 0;  // duplicate games: the local player's percentage
};

constexpr int32_t kRatingFactor = 16;

// 1 / (10^((opponent - own) / 400) + 1).
float ExpectedScore(int32_t ownRating, int32_t opponentRating);
// The block of a finished game, or -1 for kinds that are not counted.
int StatsBlockFor(const FinishedGame& game);
// Whether the end of the game counts it in the current profile: duplicate
// games without the no-statistics flag, standard games without it that have
// at least two players, one of them not a computer.
bool ShouldCountGame(const FinishedGame& game);

// Counts the finished game in the profile's block (the expected score of a
// rated two-player game first, then the block's fields, result and rating)
// and plays the won or lost sound.
GameStatsOutcome RecordGameStatistics(UserProfile& profile, const FinishedGame& game);
// The end of a game: counts it in the current profile when it should and
// writes the profile. False when the profile could not be written (the
// counts stay in memory and go out with the next save).
bool CountFinishedGame(const FinishedGame& game, GameStatsOutcome* outcome = nullptr);

// --- Tournaments (blocks 3 and 4) -------------------------------------------

struct TournamentStanding {
  std::string name;
  int32_t rating = 0;
  bool isComputer = false;
};

struct TournamentFacts {
  int kind = 0;              // 0 classic (block 3), 1 duplicate (block 4)
  bool noStatistics = true;  // set on every game a tournament sets up
  int playerCount = 0;
  int gamesPlayed = 0;
  std::vector<TournamentStanding> standings;  // in standings order
};

struct TournamentParticipantFacts {
  std::string name;
  int32_t rating = 0;       // set when the tournament was set up
  int32_t gamesPlayed = 0;  // in this tournament, this game included
};

// One finished tournament game of the local human `player`; `result` is its
// GameResult for that player and topScore the duplicate reference score.
void RecordTournamentGameStatistics(UserProfile& profile, const TournamentFacts& tournament,
                                    const FinishedPlayer& player, int32_t topScore, int result,
                                    const TournamentParticipantFacts& participant,
                                    float* duplicatePercent = nullptr);
void UpdateTournamentRating(UserProfile& profile, const TournamentFacts& tournament,
                            const TournamentParticipantFacts& participant);
void UpdateDuplicateTournamentRating(UserProfile& profile, const TournamentFacts& tournament,
                                     const TournamentParticipantFacts& participant);

}  // namespace shell
