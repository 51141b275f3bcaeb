#pragma once
// What the evaluation components read besides their four arguments: the game
// the robot's pass plays for (kind, round, bag, players), the rules, and the
// robot that takes the letter-swap advice. The pass installs a context for
// its own thread while it runs (EvaluationScope); outside a pass components
// see a standard game in its first round with the global rules and no other
// players.
//
// Also the helpers several components share: the judged player's settings,
// the leave of a move, hook letters and a view of a move's line.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/robot_settings.h"
#include "rules/board.h"
#include "rules/game_kind.h"
#include "rules/letters.h"

class DawgNodeList;
struct RobotPlayerView;
class Lexicon;
class Robot;
class TileBag;
struct GameRules;
struct RobotMove;

struct EvaluationContext {
  int32_t kind = kKindStandard;
  int32_t roundCount = 0;                       // completed cycles of turns
  const TileBag* gameBag = nullptr;             // the game's bag, sampled by Prepare
  std::vector<const RobotPlayerView*> players;  // the game's players, in seat order
  const GameRules* rules = nullptr;             // null: GlobalRules()
  Robot* robot = nullptr;                       // runs the pass; takes the swap advice

  const GameRules& Rules() const;
  // Rack places in use: the rules' rack size within 1..kMaxRackPlaces.
  int RackSize() const;
  // Board side within 1..15.
  int Side() const;
  // Number of players, at least 1 (the judged player).
  int PlayerCount() const;
};

// The context of the pass running on this thread (a default one outside).
const EvaluationContext& CurrentEvaluationContext();

// Installs a context for the current thread for its lifetime; nests.
class EvaluationScope {
 public:
  explicit EvaluationScope(const EvaluationContext& context);
  ~EvaluationScope();
  EvaluationScope(const EvaluationScope&) = delete;
  EvaluationScope& operator=(const EvaluationScope&) = delete;

 private:
  const EvaluationContext* previous_;
};

// The settings held in the judged player's option words.
RobotSettings JudgedSettings(const RobotPlayerView& player);

// The player's rack (rackSize places) after the move: each non-zero byte of
// the move's placedLetters takes the first equal place off, which becomes
// '_'. `kept` receives the tiles left.
std::string LeaveOf(const RobotPlayerView& player, const RobotMove& move, int rackSize, int* kept);

// Sum of the rules' letter values of the tiles of a text (blanks and empty
// places worth 0).
int32_t TextValue(const GameRules& rules, const char* text);

// The first letter L (in sibling order) such that text + L ends a word of the
// graph; 0 when none or the text leaves the graph. Walk the reversed graph
// with the text reversed for a letter in front.
char HookLetter(const DawgNodeList& graph, const char* text);

// A move's line seen as one axis along it and one across: square (i, q) is
// the square at place i along the move's line in line q. Reads and premiums
// always address the board in its own orientation.
class LineFrame {
 public:
  LineFrame(const GameBoard& board, const RobotMove& move, int side);
  int Start() const { return start_; }
  int Line() const { return line_; }
  int Side() const { return side_; }
  bool Inside(int i, int q) const { return i >= 0 && i < side_ && q >= 0 && q < side_; }
  // The letter at (i, q), 0 (empty) outside the board. Inline: the walks
  // of the components read squares in their innermost loops.
  char At(int i, int q) const {
    return Inside(i, q) ? board_.At(Row(i, q), Column(i, q)) : kEmptySquare;
  }
  bool Occupied(int i, int q) const { return !IsEmptySquare(At(i, q)); }
  int32_t Premium(int i, int q) const;
  // Tiles in the 3 x 3 block centred on (i, q), inside the board.
  int BlockTiles(int i, int q) const;
  // Real board row and column of (i, q).
  int Row(int i, int q) const { return across_ ? q : i; }
  int Column(int i, int q) const { return across_ ? i : q; }

 private:
  const GameBoard& board_;
  bool across_;
  int start_;
  int line_;
  int side_;
};

// Premium weight of a code: 1, 2, 4, 8 for double/triple letter and word,
// 0 for anything else.
int PremiumWeight(int32_t code);
