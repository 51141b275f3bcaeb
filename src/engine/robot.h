#pragma once
// The computer opponent. Robot holds everything one thinking pass needs: its
// own copy of the board and rack, the letter counters, the found-move list,
// the settings and evaluation components, and the move generator's scratch.
// quickBot2usingDawg (below) is the robot the game makes; the base is
// also used alone as the word finder: its letter counters hold the available
// letters and its WordList pointer names the list the searches fill.
//
// Threads: a pass runs either on the robot worker (StartThinking) or directly
// on the calling thread (PreparePosition, then Think); never both at once.
// While a job exists only the worker touches the robot's data.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/dawg.h"
#include "rules/found_moves.h"
#include "engine/robot_evaluator.h"
#include "engine/robot_game.h"
#include "engine/robot_job.h"
#include "rules/robot_move.h"
#include "engine/robot_settings.h"
#include "rules/board.h"
#include "rules/letters.h"

class WordList;
struct GameRules;

// Search modes of Robot::FindWords (also stored as the result list's mode).
enum FindWordsMode : int {
  kFindPattern = 0,         // '*' any run of letters, '?' one letter
  kFindPatternAlt = 1,      // same search
  kFindLettersExact = 2,    // words that use every given letter
  kFindLettersPartial = 3,  // every word the given letters make
  kFindPatternCount = 4,    // pattern search that only counts
};

// Result state (advice word) of a pass.
enum RobotResultState : int32_t {
  kResultNoMove = 1,   // no move was found
  kResultPlay = 2,     // a move is to be played (also while thinking)
  kResultAdvice3 = 3,  // set by the letter-swap component; kept when no move is found
};

constexpr int kRobotNameSize = 32;
constexpr int kReportCounters = 4;

// Called with every legal placement the generator finds, after scoring and
// the game-kind checks and before the found-move list merges or drops it.
using CandidateSink = void (*)(void* context, const RobotMove& move);

class Robot : public Thinker {
 public:
  Robot();
  virtual ~Robot();
  Robot& operator=(const Robot&) = delete;

  // --- settings, rules and components -------------------------------------
  // Keeps a copy of the settings and creates or deletes each component by
  // its rule. Null keeps the settings in use. Returns true.
  virtual bool CreateEvaluators(const RobotSettings* settings);
  // Stores the rules in use (not owned). Without rules a robot follows
  // GlobalRules().
  virtual bool SetGameParams(const GameRules* rules);
  // The settings in use: the defaults until CreateEvaluators names others.
  const RobotSettings& Settings() const { return settings_; }
  const RobotEvaluator* Evaluator(int index) const;
  // The game the passes play for (copied; see robot_game.h).
  void SetGameView(const RobotGameView& view) { view_ = view; }
  const RobotGameView& GameView() const { return view_; }

  // --- position -----------------------------------------------------------
  // grid: a board grid of row stride 15 (only the rules' side x side squares
  // are read); rack: the rack places, '_' (or NUL) for an empty place.
  virtual void LoadPosition(const char* grid, const char* rack, bool keepRack, int flag);
  virtual bool PreparePosition(const char* grid, const char* rack, bool keepRack, int flag);
  // Clears the counters and counts the rack text's letters ('`' a blank, '_'
  // an empty place); returns the number of empty places.
  int CountRackLetters(const char* rack);
  const int32_t* GetLetterCounts() const { return letterCounts_; }
  bool HasNoLetters() const;
  // Copies at most kMaxRackPlaces characters; returns the length kept.
  int SetRack(const char* text);
  const char* GetRack() const { return rackText_; }
  const GameBoard& Board() const { return board_; }

  // --- thinking -----------------------------------------------------------
  // One pass: generate (unless a move is handed in and moves are held), rank,
  // leave the move to play in slot 0. Always returns false (pass complete).
  virtual bool Think(RobotMove* move, int flag);
  int32_t GetResultState() const { return resultState_; }
  int32_t SetResultState(int32_t value) { return resultState_ = value; }
  // Background pass on the robot worker, polled until it returns true. The
  // first call loads the position and posts the job.
  bool StartThinking(const char* grid, const char* rack);
  void CancelThinking() { thinking_.CancelThinking(); }
  // Waits for the job; false when it had been cancelled.
  bool WaitThinking() { return thinking_.WaitThinking(); }
  bool IsThinking() const { return thinking_.HasJob(); }
  // The job's state word (ThreadJob::State), -1 with no job.
  int32_t ThinkingState() const { return thinking_.JobState(); }
  // Writes the found-moves report (NUL-terminated, at most size bytes).
  virtual void ReportMoves(char* buffer, size_t size);
  bool IsWord(const char* word) const;
  bool GatherRandomWords() { return false; }

  // --- found moves ------------------------------------------------------
  FoundMoveList& Moves() { return moves_; }
  const FoundMoveList& Moves() const { return moves_; }
  int GetMoveCount() const { return moves_.Count(); }
  RobotMove* GetMoveSlot(int i) { return moves_.GetMoveSlot(i); }
  void ClearMoveSlots() { moves_.ClearMoveSlots(); }
  RobotMove* SortedBestMove(bool byScore);
  RobotMove* SortedFirstMove(MoveSortKey key);
  // The game zeroes the per-term largest and smallest values before each new
  // search, so that its first pass evaluates every move afresh.
  void ResetTermRanges();
  // A new search: no found moves, fresh term ranges, and the next pass is the
  // first one (it prepares the components, ranks every move and fixes the
  // scale). For the turn code, the mentor and tests.
  void BeginSearch();
  const float* TermMaxima() const { return termMax_; }
  const float* TermMinima() const { return termMin_; }

  // --- move generation ----------------------------------------------------
  // Every legal placement of the loaded rack on the loaded board, across and
  // down, handed to the candidate check and the found-move list.
  void GenerateMoves();
  // Appends one record per word of two or more letters already on the board
  // (once per direction it runs in), score 0.
  void ScanBoard(std::vector<RobotMove>* list);
  void SetCandidateSink(CandidateSink sink, void* context) {
    sink_ = sink;
    sinkContext_ = context;
  }

  // --- word finder ----------------------------------------------------------
  // Sets the result list's mode and runs the search of that mode on the main
  // lexicon. Does nothing without a list or a lexicon, for an empty pattern,
  // an unknown mode, or a pattern asking for more letters than the board side.
  void FindWords(const char* pattern, int mode);
  void SetWordList(WordList* list) { wordList_ = list; }
  WordList* GetWordList() const { return wordList_; }

 protected:
  // Copies the position, found moves and generator state of other; not its
  // components, job, result state, term ranges, word list or game view.
  Robot(const Robot& other);

  const GameRules& Rules() const;
  // Board side of the rules in use, within 1..15 (15 when unset).
  int BoardSide() const;
  // Loads grid and rack into the board, counters and generator grid.
  void LoadBoard(const char* grid, const char* rack);

  // The ranking pass over the found moves (see robot_think.cpp).
  void SearchMoves(RobotMove* move, int flag);

  char name_[kRobotNameSize] = {};
  char rackText_[kRackTextSize] = {};
  int32_t reportCounters_[kReportCounters] = {};  // printed by the report; never advanced

 private:
  void ThinkInBackground(const CancelToken& cancel) override;
  bool Cancelled() const { return cancel_ != nullptr && cancel_->IsCancelled(); }

  // Generation (robot_movegen.cpp).
  void GenerateLine(int line);
  void TransposeBoard();
  void ComputeCrossChecks();
  void ComputeCrossSet(int column, const char* prefix, const char* suffix);
  // The letters the rack can lay (by index; every letter while a blank is
  // left).
  uint32_t RackLetters() const { return letterCounts_[kBlankIndex] > 0 ? ~0u : rackMask_; }
  // Takes a tile of the letter, or else a blank (the walk offers only
  // letters RackLetters allows); returns whether a blank was taken.
  bool TakeLetter(int letterIndex);
  void ReturnLetter(int letterIndex, bool blank);
  template <class Visit>
  void ForEachChild(int index, uint32_t letters, Visit visit) const;
  void ExtendLeft(char* word, int length, int index, int limit);
  void ExtendRight(char* word, int length, const DawgWalkNode* node, int index, int column);
  void TryWord(const char* word, int line, int start);
  bool LevelAllowed(int level) const { return WordLevelAllowed(level, levelLimit_); }
  char GridAt(int row, int column) const { return grid_[row * kBoardStride + column]; }
  char LineAt(int column) const { return lineRow_[column]; }

  // Candidates (robot_candidate.cpp).
  struct PlacementScore {
    int32_t score = 0;
    int32_t wordScore = 0;
    int length = 0;
    int tilesLaid = 0;
  };
  PlacementScore ScorePlacement(const char* word, int line, int start) const;
  void FillCandidate(const char* word, int line, int start, const PlacementScore& score);
  void LetterPremium(int x, int y, char letter, int* sum, int* multiplier) const;
  void CheckCandidate(const char* word, int line, int start);
  RobotMove* StoreCandidate(const RobotMove& move);

  // Ranking (robot_think.cpp).
  const RobotPlayerView& CurrentPlayer() const;
  RobotSettings PlayerSettings() const;
  void RemoveJuniorWords();
  bool RankStandard(const TileBag& bag, const GameBoard& board);
  bool EvaluateStandardMove(RobotMove& m, const TileBag& bag, const GameBoard& board,
                            bool keepMaxima);
  void JudgeMove(RobotMove& move, const TileBag& bag, const GameBoard& board);
  bool RankDuplicate(const TileBag& bag, const GameBoard& board);
  void ScaleTerms();
  void DropClearedMoves();

  // Word finder (findwords.cpp).
  void MatchPattern(char* word, int length, const char* rest, const DawgNode* node, int index,
                    int budget, int starFlag);
  void MatchLetters(char* word, int length, const DawgNode* node, int index, int left, bool exact);
  void Collect(const char* word, const DawgNode& node);
  bool ListFull() const;

  FoundMoveList moves_;
  RobotSettings settings_;
  std::unique_ptr<RobotEvaluator> evaluators_[kEvaluatorCount];
  int32_t resultState_ = kResultPlay;
  const GameRules* rules_ = nullptr;
  GameBoard board_;
  float termMax_[kTermSlots] = {};
  float termMin_[kTermSlots] = {};
  bool termsScaled_ = false;   // the found moves' terms hold scaled values
  bool searchRanked_ = false;  // this search's first pass has ranked the moves
  RobotMove candidate_;
  WordList* wordList_ = nullptr;
  int32_t tilesPlaced_ = 0;
  int32_t currentLine_ = 0;
  int32_t currentAnchor_ = 0;
  int32_t levelLimit_ = -1;
  // Per square of the line walked: the letters (bits by letter index) that
  // fit between the tiles above and below; every bit when none stands there.
  uint32_t crossMasks_[kMaxBoardSide] = {};
  int32_t crossScores_[kMaxBoardSide] = {};
  uint8_t crossFlags_[kMaxBoardSide] = {};
  char grid_[kBoardSquares] = {};            // transposed during the down pass
  int32_t letterCounts_[kLetterSlots] = {};  // index 0 blanks, else letter AND 31
  const uint8_t* lineFlags_ = nullptr;
  // Generation's loop invariants, set by GenerateMoves and GenerateLine.
  uint32_t rackMask_ = 0;  // letters (not the blank) the rack still holds
  int32_t side_ = 0;
  int32_t rackSize_ = 0;
  const char* lineRow_ = grid_;
  const DawgWalkNode* walk_ = nullptr;
  bool sortedLists_ = false;
  RobotGameView view_;
  RobotPlayerView settingsPlayer_;  // stands for the player when the view names none
  CandidateSink sink_ = nullptr;
  void* sinkContext_ = nullptr;
  const CancelToken* cancel_ = nullptr;  // set while a background pass runs
  RobotThinking thinking_;               // last: the job goes before the data it uses
};

// The robot the game makes for every player: the base with its position
// loading, think pass and report.
class quickBot2usingDawg : public Robot {
 public:
  quickBot2usingDawg();
  // The copy has no components and no job until its owner calls
  // CreateEvaluators; the whole rack text is copied.
  quickBot2usingDawg(const quickBot2usingDawg& other);
  ~quickBot2usingDawg() override;

  void LoadPosition(const char* grid, const char* rack, bool keepRack, int flag) override;
  bool PreparePosition(const char* grid, const char* rack, bool keepRack, int flag) override;
  bool Think(RobotMove* move, int flag) override;
  void ReportMoves(char* buffer, size_t size) override;
  const char* Name() const { return name_; }
};

// FindWords on the program's word-finder robot in counting mode with the
// pattern "*" + text + "*": the number of words holding the text (at most
// the list's capacity). Uses the global word list.
int FindWordsContaining(const char* text);

// The word list and the word-finder robot the program keeps for the word
// tools (interface thread only).
WordList& GetGlobalWordList();
Robot& GetWordFinder();
