#pragma once
// A tournament: a series of games of one kind played by a fixed field (the
// current user and computer personalities). The record, its participants,
// the pairing list with results and the schedule text; round-robin (Berger)
// and Swiss pairing; points in tenths; the three standings orders; the
// scoring of a finished game. One tournament at a time; the tournament room
// runs its games and the tournament files keep it.
#include <cstdint>
#include <string>
#include <vector>

#include "rules/game_setup.h"
#include "rules/robot_move.h"

class CGame;

// Result codes of a pairing (the game's tournament-mode word).
enum TournamentResult : int32_t {
  kResultNotPlayed = -2,
  kResultUnfinished = -1,
  kResultNone = 0,
  kResultSecondWon = 1,
  kResultFirstWon = 2,
  kResultDraw = 3,
  kResultFirstResigned = 4,
  kResultSecondResigned = 5,
  kResultFirstOnTime = 6,
  kResultSecondOnTime = 7,
  kResultAdjourned = 8,
  kResultPaused = 9,
  kResultDisconnected = 10,
  kResultAbandoned = 11,
};

constexpr int kTournamentPersonalityBytes = 1268;
constexpr int kTournamentStatistics = 6;
constexpr int kScheduleLineSize = 80;
constexpr int kTournamentMaxPlayers = 255;  // numbers are stored in one byte
constexpr int32_t kPointsWin = 10;          // tenths of a point
constexpr int32_t kPointsDraw = 5;
constexpr int kTournamentMaxRounds = 256;

struct TournamentParticipant {
  // A computer's personality record (its first 1268 bytes; the rating first).
  uint8_t personality[kTournamentPersonalityBytes] = {};
  int32_t number = 0;  // 1..player count
  int32_t wins = 0;
  int32_t losses = 0;
  int32_t draws = 0;
  int32_t gamesPlayed = 0;
  int32_t points = 0;  // tenths
  int32_t totalScore = 0;
  RobotMove bestMove;
  float statistics[kTournamentStatistics] = {};
  char name[64] = {};
  int32_t isComputer = 0;
  int32_t rating = 0;
  // Swiss pairing's working fields.
  int32_t byeRound = 0;  // 1-based round of the bye, 0 none
  int32_t pairedThisRound = 0;
  int32_t opponent = 0;
  int32_t listedSecond = 0;
  int32_t sideState = 0;  // low byte 2 last listed first, 1 last second; 256 must change
};

struct TournamentPairing {
  uint8_t first = 0;  // participant numbers; second 0 is the bye
  uint8_t second = 0;
  int32_t result = kResultNotPlayed;
};

enum TournamentKind : int32_t { kTournamentClassic = 0, kTournamentDuplicate = 1 };

struct TournamentData {
  int32_t state = 0;
  char title[32] = {};
  char description[256] = {};
  int32_t gameCount = 0;
  int32_t gamesPlayed = 0;
  int32_t roundCount = 0;
  int32_t currentRound = 0;
  int32_t roundsPaired = 0;
  int32_t swiss = 0;
  int32_t hiddenOpponents = 0;
  int32_t autoPlay = 0;
  int32_t started = 0;
  int32_t gameRunning = 0;
  int32_t adjournedFlag = 0;
  int32_t gamePending = 0;
  std::vector<TournamentParticipant> participants;
  std::vector<TournamentParticipant> standings;  // sorted for display
  std::vector<TournamentPairing> pairings;
  std::vector<std::string> scheduleLines;  // one per pairing, at most 79 characters
  GameSetup setup;                         // every game's set-up
  int32_t currentPairing = 0;
  char filePath[260] = {};
  char fileFolder[260] = {};

  int PlayerCount() const { return static_cast<int>(participants.size()); }
  bool IsDuplicate() const { return setup.kind == kKindDuplicate; }
  bool IsRanking() const { return setup.rankingGame != 0; }
};

// The tournament's own generator (pairing sides, Swiss swaps, simulated
// scores), seeded once from the clock; never the game's.
void SeedTournamentRandom(uint32_t seed);

// The participant of that name (exact), or of that number (1..count) when
// name is null; null when none.
TournamentParticipant* FindParticipant(TournamentData& t, int number, const char* name);
// Stores the pairing and its schedule line "first\t against second"; a
// computer's name is "Unknown" while opponents are hidden.
void SetPairing(TournamentData& t, int first, int second, int index);
// Championship: roundCount cycles of the Berger tables, byes dropped, sides
// flipped from cycle to cycle. False (nothing changed) for fewer than two
// participants.
bool BuildRoundRobinSchedule(TournamentData& t);
// Swiss: the pairings of the next round; nothing unless roundsPaired <=
// currentRound. False when the field is too small.
bool PairSwissRound(TournamentData& t);
// Points from wins, draws and a bye already played; standings rebuilt.
void RecomputePoints(TournamentData& t, bool withTieBreak);
// Standings sorted in the tournament's order.
void SortStandings(TournamentData& t);
int32_t AverageOpponentRating(const TournamentData& t, const TournamentParticipant& p);
// The final result of a finished two-player game from its scores (after a
// resignation the resigner scores nothing); the participants' totals grow.
int32_t SettleTwoPlayerScores(TournamentData& t, CGame& game);
// Scores a finished game into the participants; true when recorded.
bool RecordGameResult(TournamentData& t, CGame& game);
// The display text of a pairing's result ("%s" takes the winner's or the
// loser's name); empty for codes without one.
std::string ResultText(const TournamentData& t, const TournamentPairing& pairing);
// Draws both computer players' scores from their ratings instead of playing
// the game, and ends it; returns the progress line to show.
std::string SimulateComputerGame(TournamentData& t, CGame& game);
// Every pairing of a classic tournament not played yet.
void ResetPairingResults(TournamentData& t);
