#pragma once
// CGame: one game in progress. This holds the parts the board, bag and rack
// operations work on (set-up, rules, board, bag, players, the turn counters
// they read); the rest of the game object builds on it.
#include <cstdint>
#include <memory>

#include "engine/robot_move.h"
#include "game/bag.h"
#include "game/board.h"
#include "game/game_setup.h"
#include "game/player.h"
#include "game/rules.h"

// Rounds during which a duplicate or conundrum rack needs two vowels and two
// non-vowels; one of each afterwards.
constexpr int32_t kBalanceRounds = 15;
// Blanks the blank-per-player duplicate game hands out.
constexpr int32_t kBlanksToHandOut = 2;

class CGame {
 public:
  CGame();
  ~CGame();
  CGame(const CGame&) = delete;
  CGame& operator=(const CGame&) = delete;

  int32_t Kind() const { return setup.kind; }
  bool HasFlag(int32_t flag) const { return setup.HasFlag(flag); }
  // Player i (null outside 0..kMaxPlayers-1 or when the seat is empty).
  GamePlayer* Player(int i) const;

  // Fills the empty places ('_' or NUL) of a rack from the bag. `count`
  // receives the tiles on the rack afterwards, or 0 when a duplicate or
  // conundrum rack fails the vowel/non-vowel balance.
  void FillRack(char* rack, int32_t* count, GamePlayer* player);
  // Lays the move's letters on the grid (the board's letters by default),
  // records in the move which squares it newly covered, and keeps it as the
  // last move. `out`, when given, receives a copy of that record
  // (kPlacedLettersSize bytes). Returns the last-move record.
  RobotMove* ApplyMove(RobotMove& move, char* out = nullptr, char* grid = nullptr);
  // Takes the move's newly placed letters off the board again.
  void RemoveMoveLetters(const RobotMove& move);
  // End of a standard game: racks left count against their owners and go to
  // the player who finished.
  void SettleFinalRacks();

  GameRules* rules;  // the one rules object (GlobalRules())
  GameSetup setup;
  std::unique_ptr<GamePlayer> players[kMaxPlayers];
  GamePlayer* currentPlayer = nullptr;
  GameBoard board;
  int32_t duplicatePhase = 0;  // 2 in the second phase of a duplicate turn
  int32_t roundCount = 0;
  TileBag bag;
  RobotMove lastMove;
  // Blank-per-player duplicate game: blanks still to hand out.
  int32_t blanksToHandOut = 0;
  // Vowels and non-vowels a balanced rack needs (2, then 1 after 15 rounds).
  int32_t balanceMinimum = 2;

 private:
  void GiveOwedBlank(char* rack, int places, GamePlayer* player);
  bool IsBlankPerPlayerTurn() const;
};
