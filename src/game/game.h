#pragma once
// CGame: one game in progress: its set-up, board, bag, players, turn
// bookkeeping and information block. Screens make it with CreateGame, fill
// its set-up, call StartNewGame, register it (session_registry.h) and drive
// it once per frame.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "rules/robot_move.h"
#include "rules/bag.h"
#include "rules/board.h"
#include "game/game_info.h"
#include "rules/game_setup.h"
#include "game/move_history.h"
#include "game/player.h"
#include "rules/rules.h"
#include "platform/guid.h"

// Rounds during which a duplicate or conundrum rack needs two vowels and two
// non-vowels; one of each afterwards.
constexpr int32_t kBalanceRounds = 15;
// Blanks the blank-per-player duplicate game hands out.
constexpr int32_t kBlanksToHandOut = 2;

// The game's state word.
enum GameState : int32_t {
  kStateOver = 0,
  kStateTurnStart = 2,
  kStateTurnRunning = 3,
  kStatePaused = 5,
  kStateLastChallenge = 6,
  kStateNoGame = 7,
};

// tournamentMode values.
constexpr int32_t kTournamentNone = 0;
constexpr int32_t kTournamentGame = 1;
constexpr int32_t kTournamentSaved = 8;

constexpr int32_t kDefaultRackSize = 7;
constexpr int kGameVariableCount = 191;
constexpr int kMaxExerciseSolutions = 3;
// Anagram and conundrum words: the set-up keeps them within these lengths.
constexpr int32_t kMinSideGameWordLength = 2;
constexpr int32_t kMaxSideGameWordLength = 12;
// lastTick before the first update: the clocks start on the next one.
constexpr uint32_t kNoTick = 0xFFFFFFFFu;

// clockMode values.
enum ClockMode : int32_t { kClockNone = 0, kClockPerGame = 1, kClockPerMove = 2 };

class CGame;
// The board view's pending action (one program-wide slot, not per game):
// the board's buttons store a handler, the game's next turn step runs it
// with the game and clears it.
using PendingUiAction = void (*)(CGame* game);
PendingUiAction& PendingBoardAction();

class CGame {
 public:
  CGame();
  ~CGame();
  CGame(const CGame&) = delete;
  CGame& operator=(const CGame&) = delete;

  int32_t Kind() const { return setup.kind; }

  // Runs the rules' set-up for the game's language and rack size and clears
  // the board; a network game starts with player 0.
  void Init();
  // Starts the game described by the set-up: players, bag, the opening
  // history entry (a fresh history: entry 1 always opens the game), state 2.
  void StartNewGame();
  // Takes back the whole history, deletes the players (and a duplicate
  // game's reference player), resets the turn bookkeeping, clears the board;
  // state 7.
  void ClearGame();
  // ClearGame, then StartNewGame with the same set-up.
  void Restart();
  // Makes one player per set-up entry (discarding the previous ones), with
  // the clock of the clock mode; the player to move becomes current.
  void CreatePlayers();
  // Fills and shuffles the bag for a new game of this game's kind (a
  // crossagram game first reads its settings file).
  void FillBag();
  // What the bag follows of this game: its rules, kind and blank rule.
  BagPolicy BagRules() const { return {rules, Kind(), HasFlag(kFlagBlankPerPlayer)}; }
  // Takes exactly these letters from the bag, or none: a notice names the
  // missing letter.
  bool DrawGivenLetters(const char* text, int n);
  GamePlayer* GetCurrentPlayer() const { return currentPlayer; }
  void ClearBoardLetters();
  // Copies the board view's letter cells (kViewCellBytes apart, kViewRowBytes
  // a row) into the board letters; '{' counts as empty in crossagram games.
  void ShowRackInView(const char* viewCells);
  // True when a view cell holding a tile differs from the board letter.
  bool BoardViewDiffers(const char* viewCells) const;
  void StartTurnTimer();
  // True when some set-up entry is a local human.
  bool HasLocalHuman() const;
  int32_t GetTournamentMode() const { return tournamentMode; }
  int32_t PlayerCount() const { return setup.GetPlayerCount(); }

  // Information block.
  void SetFileSafeName(const char* text);
  void SetInfoText1(const char* text);
  void SetInfoText2(const char* text);
  void SetInfoPath(const char* text);
  void SetDateText(const char* text);
  void CopyGameInfo(const CGame& from);
  // Title from the string table, the two marks, today's date; tournament
  // mode 0.
  void ResetGameInfo();
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

  // --- Turn machine (turns.cpp, challenge.cpp) ---
  // One step, called once per frame by the screen that shows the game;
  // returns the state word. The end of the game is settled once.
  int32_t Update();
  void UpdateClocks();
  void PauseTurn();
  void StartStandardTurn();
  void RunStandardTurn();
  void AdvanceTurn();
  void CountPass();
  bool CanChallenge() const;
  bool OthersCanStillPlay() const;
  void UpdateSceneButtons();
  // The end of the game (state 0): final racks, expected score, statistics.
  int32_t FinishGame();
  // Every computer player's search stops.
  void CancelAllRobots();
  // The current player begins its turn: phase 1, state 3.
  void BeginRunningTurn();
  // The state-6 step: the next player may challenge the move that went out.
  void ResolveLastTurnChallenge();
  // Stops the searches and ends the game.
  void StopGame();
  bool IsBestSolutionGame() const { return HasFlag(kFlagBestSolution); }
  // Set by FinishGame, cleared when a game starts: the end is settled once.
  uint8_t endSettled = 0;
  // Set by the main frame while its "Exit now?" question is open: the turn
  // steps wait meanwhile (the clocks go on).
  uint8_t hold = 0;

  GameRules* rules;  // the one rules object (GlobalRules())
  int32_t tournamentMode = kTournamentNone;
  GameSetup setup;
  std::unique_ptr<GamePlayer> players[kMaxPlayers];
  platform::Guid guid;
  int32_t savedValue = 0;  // carried in saved games
  GameInfo info;
  int32_t infoFields[2] = {};
  int32_t rackSize = kDefaultRackSize;
  int32_t variables[kGameVariableCount] = {};  // the turn kinds' variables, saved whole
  GamePlayer* previousPlayer = nullptr;
  GamePlayer* currentPlayer = nullptr;
  GamePlayer* viewingPlayer = nullptr;  // the local human whose rack the view shows
  GameBoard board;
  // A duplicate game's board letters as loaded from its file.
  char duplicateBoardCopy[kBoardSquares] = {};
  int32_t duplicatePhase = 0;  // 2 in the second phase of a duplicate turn
  RobotMove workMove;
  std::unique_ptr<GamePlayer> referencePlayer;  // duplicate games only
  int32_t previousRound = -1;
  int32_t roundCount = 0;
  int32_t turnIndex = 0;
  int32_t startPlayerIndex = 0;
  int32_t prepareIndex = 0;
  int32_t state = kStateNoGame;
  int32_t savedState = kStateNoGame;
  int32_t turnElapsedMs = 0;
  uint32_t lastTick = kNoTick;
  int32_t gameElapsedMs = 0;
  uint8_t clockPaused = 0;
  uint8_t clockBytes[2] = {};
  RobotMove extraMove;
  RobotMove extraMoves[3];
  TileBag bag;
  RobotMove lastMove;
  int32_t consecutivePasses = 0;
  int32_t scorelessTurns = 0;
  // Blank-per-player duplicate game: blanks still to hand out.
  int32_t blanksToHandOut = 0;
  // Vowels and non-vowels a balanced rack needs (2, then 1 after 15 rounds).
  int32_t balanceMinimum = 2;

  // --- Racks by game kind (rack_draw.cpp) and the side games (side_games.cpp)
  // The player's new letters for this game's kind: a standard refill, the
  // duplicate game's common rack (searched until one admits a move), the
  // next anagram group, or a conundrum rack and its best word. False when
  // no rack could be drawn (the rack is then left empty).
  bool DrawPlayerRack(GamePlayer& player);
  // State 2 of an anagram game: every word of the required length the letter
  // set makes goes into the word map, grouped by its letters.
  void StartAnagramTurn();
  void RunAnagramTurn();
  void RunConundrumTurn();
  void RunExerciseTurn();

  std::vector<RobotMove> anagramSolutions;  // the current group's words not found yet
  // Every word of the anagram game, under the key of its letters.
  std::unordered_multimap<uint32_t, std::string> anagramWords;
  int32_t requiredWordLength = 0;  // anagram and conundrum games
  char anagramLetters[16] = {};    // the anagram game's letter set, lower case
  RobotMove conundrumSolution;
  RobotMove exerciseSolutions[kMaxExerciseSolutions];
  int32_t exerciseSolutionCount = 0;

  // --- Move history, replay and pause (game_history.cpp) ---
  // The history entry of the turn that just ended: the move, or null for a
  // pass, exchange or lost turn; racks and scores as they stand.
  void RecordMove(const RobotMove* move);
  // Board, racks and scores as they were at the entry (which becomes the
  // cursor); pauses the game before its last entry, resumes it there.
  bool ReplayToMove(const HistoryRecord* target);
  HistoryRecord* GoToMove(int32_t n);
  HistoryRecord* GoToHistoryIndex(int32_t n);
  int32_t GetHistoryIndex() const;  // kHistoryMissing without a history
  HistoryRecord* GetCurrentHistoryEntry() const;
  HistoryRecord* GoToLastHistoryEntry();
  HistoryRecord* AddHistoryMove(const HistoryRecord& record);
  HistoryRecord* AddVariation(const HistoryRecord& record);
  HistoryRecord* PromoteVariation();
  // Removes the last entry of the cursor's line; true when one was removed.
  bool TakeBackLastMove();
  std::vector<HistoryRecord> ExportMainLine() const;
  // Each player's best move on the main line, into best[player] (grown to
  // the player count); returns the last record it raised, or null.
  const RobotMove* FindBestMoveInHistory(std::vector<RobotMove>& best) const;
  void TogglePause();
  void ResumeFromPause();
  std::unique_ptr<MoveHistory> history = std::make_unique<MoveHistory>();

  // --- Duplicate game (duplicate.cpp) ---
  // State 2: makes the reference player; the first cycle begins.
  void StartDuplicateTurn();
  // State 3: one step of the cycle's phase (0 draw the common rack and find
  // the top move, 1 the players play, 2 lay the top move and score).
  void RunDuplicateTurn();

 private:
  void DropPlayers();
  void GiveOwedBlank(char* rack, int places, GamePlayer* player);
  bool IsBlankPerPlayerTurn() const;
};

// A new game (state 7, a fresh GUID, an empty board), or null when it cannot
// be allocated.
CGame* CreateGame();
void DeleteGame(CGame* game);
// Posts the views-changed message to the frame window and refreshes the
// game panels.
void NotifyGameViewsChanged();

// The racks of a duplicate game paused from its running turn (one store for
// the program).
struct PausedRacks {
  char racks[kMaxPlayers][kRackTextSize] = {};
  uint8_t saved = 0;
};
PausedRacks& PausedDuplicateRacks();
// The game's state word; kStateNoGame without a game.
int32_t GetGameState(const CGame* game);
