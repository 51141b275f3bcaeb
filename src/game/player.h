#pragma once
// One seat of a game: a local human, a computer player or a remote player of
// a network game. It holds its rack, score, clock, the words of its current
// move, its statistics, the copy of its set-up entry and its robot (the
// computer opponent that plays for a computer player and finds solutions
// for a human).
//
// The plain data lives in PlayerState so that copying a player copies every
// field; the robot is copied through the robot factory (player_robot.h).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rules/robot_move.h"
#include "rules/game_setup.h"
#include "rules/letters.h"
#include "game/player_robot.h"
#include "game/player_stats.h"
#include "game/player_turn.h"

class CGame;
class Robot;
struct GameRules;

enum PlayerType : int32_t {
  kPlayerNone = -1,
  kPlayerHuman = 0,
  kPlayerComputer = 1,
  kPlayerRemote = 2,
};

enum TurnPhase : int32_t {
  kPhaseIdle = 0,
  kPhaseBegin = 1,
  kPhaseDeciding = 2,
  kPhaseOver = 3,
};

// Rack arrangements of GamePlayer::ArrangeRack (the "Rack Sorting" option).
enum RackOrder : int32_t {
  kRackRandom = 0,
  kRackAlphabetical = 1,
  kRackConsonantsFirst = 2,
  kRackVowelsFirst = 3,
};

// Cells of the board view's grids: 52 bytes each, the letter first, 15 a row.
constexpr size_t kViewCellBytes = 52;
constexpr size_t kViewRowBytes = kViewCellBytes * 15;

constexpr int32_t kNoClock = -1;        // timeLeftMs of a player without a clock
constexpr int32_t kNewGameCounter = 6;  // both counters of a new game
constexpr int kMinBagForExchange = 7;   // tiles the bag must hold for an exchange
constexpr int kDisplayNameSize = 64;

struct PlayerState {
  int32_t turnPhase = kPhaseIdle;
  std::vector<RobotMove> moveWords;  // the words of its move, first = main word
  RobotMove workMove;                // working move record
  RobotMove secondMove;              // saved with the game
  int32_t playerIndex = 0;
  int32_t score = 0;
  int32_t moveScore = 0;  // the pending move's score, added when it stands
  int32_t rackCount = 0;  // tiles on the rack
  // Cleared at each turn start (the saved game's turn bytes and field).
  uint8_t turnByte = 0;
  uint8_t secondTurnByte = 0;
  int32_t perTurnField = 0;
  int32_t newGameCounters[2] = {};  // kNewGameCounter after ResetForNewGame
  std::vector<RobotMove> playedMoves;
  uint8_t hasActed = 0;    // a local human has laid tiles / has decided this turn
  int32_t timeLeftMs = 0;  // may go negative
  char rack[kRackTextSize] = {};
  char rackBeforeMove[kRackTextSize] = {};
  char rackAsDealt[kRackTextSize] = {};
  char displayName[kDisplayNameSize] = {};
  char anagramAnswer[kRackTextSize] = {};
  RobotMove duplicateScratch;  // cleared for each duplicate turn
  int32_t blankOwed = 0;       // 1 while the blank-per-player game owes a blank
  PlayerSetupEntry entry;      // copy of its set-up entry; options = robot settings
  int32_t othersMark = 0;      // 1 after ResetForNewGame
  PlayerMoveStats stats[2];    // [0] standard play, [1] duplicate play
  int32_t statsRecorded = 0;   // its last move is already in `stats`
  int32_t cyclesPlayed = 0;    // cycles of turns of a finished game (humans and remotes)
  RobotMove lastMoveRecord;    // its last move played

  // --- The turn's fields (turns.cpp, decide.cpp, challenge.cpp) ---
  int32_t request = kRequestNone;  // what it asked for this turn (PlayerRequest)
  int32_t lastAction = kLastNone;  // how its last turn went (LastAction)
  uint8_t outOfTime = 0;           // per-game clock ran out: skipped from then on
  int32_t rating = 0;              // filled by the game set-up; read at the end
  int32_t invalidWordsPlayed = 0;  // statistics counters (local humans)
  int32_t challengesWon = 0;
  int32_t challengesLost = 0;
  std::vector<RobotMove> contestedWords;  // the words its challenge names
};

enum StatsRecordIndex : int { kStandardStats = 0, kDuplicateStats = 1 };

class GamePlayer : public PlayerState {
 public:
  // Records only, no robot (stand-in players, the robot's own settings
  // holder).
  GamePlayer();
  // A player of this index; it gets a robot when a factory is installed.
  explicit GamePlayer(int index);
  // A player made from a set-up entry; the robot is set up from its options.
  GamePlayer(const PlayerSetupEntry& setupEntry, int index);
  GamePlayer(const GamePlayer& other);
  GamePlayer& operator=(const GamePlayer& other) { return CopyFrom(other); }
  virtual ~GamePlayer();

  GamePlayer& CopyFrom(const GamePlayer& other);

  // The game whose bag, rules, kind and counters the rack operations use
  // (set by CGame::CreatePlayers). Without one they work on GlobalRules()
  // and touch no bag.
  void AttachGame(CGame* game) { game_ = game; }
  CGame* Game() const { return game_; }
  Robot* GetRobot() const { return robot_.get(); }
  int32_t Type() const { return entry.playerType; }

  // Copies the option words, creates the robot if there is none, then sets
  // its evaluators and game parameters up again.
  void Setup(const int32_t options[kPlayerOptionCount]);
  // Sets the robot's evaluators up again from the player's own options.
  void ConfigureRobot();
  void Reset();
  void ResetForNewGame();

  // Rack places in use: the rules' rack size, at most kMaxRackPlaces.
  int RackPlaces() const;

  // The rack from a row of view cells (kViewCellBytes apart, letter first):
  // every cell holding a letter is copied to its place and counted.
  void SetRack(const char* viewRow, size_t cellStride = kViewCellBytes);
  // The rack from text: '_' everywhere, then each letter at its place.
  void ClearRack(const char* text);
  // Takes the letters off the rack (first equal place each) after keeping
  // the rack in rackBeforeMove. Not in anagram and conundrum games, whose
  // rack stays whole. Returns the letters taken (a letter not on the rack is
  // skipped), so that callers return only real tiles to the bag.
  int RemoveFromRack(const char* letters, char* taken = nullptr);
  // Refills the rack: from the bag for local players (then arranged by the
  // rack-order setting), from the rack a peer reported for a remote player.
  // False when nothing could be done: no game, or a peer rack was refused.
  bool RefillRack();
  // The rack back into the bag; every place empty.
  void ReturnRackToBag();
  // Swaps the letters for new ones; refused (false, nothing changed) when
  // the bag holds fewer than kMinBagForExchange tiles. Counts a scoreless turn.
  bool Exchange(const char* letters);
  // The swap itself, without the bag test: the letters found on the rack (as
  // many as the bag has tiles; no blank in the blank-per-player game) come
  // off, the rack is refilled, then they go back into the bag. Returns how
  // many were swapped.
  int ExchangeLetters(const char* letters);
  // Lays the rack out in a RackOrder; nothing with fewer than 2 letters.
  void ArrangeRack(int mode);

  int32_t RackValue(const GameRules& rules) const;
  bool HasTilesLeft(const GameRules& rules) const;
  void AddPendingScore() { score += moveScore; }

  // First record of moveWords, or null.
  RobotMove* GetMoves() { return moveWords.empty() ? nullptr : &moveWords.front(); }
  void SetPlayedWords(const RobotMove* words, int n);
  // Fills the move's placed letters from the grid (row stride 15): the
  // letter where the square is empty (a blank as '`'), 0 where a tile lies.
  static void ComputeNewLetters(RobotMove& move, const char* grid);
  bool GetHasActed() const { return hasActed != 0; }
  void SetHasActed() { hasActed = 1; }
  // Copies up to kMaxRackPlaces characters and sets rackCount (bounded).
  void SetRackText(const char* text, int32_t count);

  // --- Turn operations (player_turn.cpp, decide.cpp), asked by the turn ---
  // Clears the request and the acted mark, sets a per-move clock and shows
  // a local human its rack.
  virtual void BeginTurn(CGame& game);
  // Gets the player ready when the game starts (its first rack); false
  // while it is not ready yet.
  virtual bool PrepareTurn(CGame& game);
  // Turns what the player asked for into an action; false while nothing is
  // decided (asked again next frame, never blocks).
  virtual bool DecideAction(CGame& game, PlayerAction& action);
  // A refused move: the player decides again.
  virtual void RetryTurn(CGame& game);
  virtual void EndTurn(CGame& game);
  virtual void ShowPlayedWords() {}
  // Frees moveWords (after a pass, exchange or lost turn).
  void ClearPlayedWords();
  // Starts the robot's look at the game's board with this player's rack on
  // the robot worker (a local human's background look, for the hints and
  // the mentor); returns at once. Nothing without a robot.
  void RobotFindBestMove(CGame& game);
  // Stops a look that is still running; the moves found so far stay.
  void StopRobotLook();

 private:
  bool TakePeerRack();
  int CountRackTiles() const;

  CGame* game_ = nullptr;
  PlayerRobot robot_;
};
