#pragma once
// The robot's evaluation components: each judges one found move and returns
// its term. The robot owns up to kEvaluatorCount of them, created and deleted
// from its settings (Robot::CreateEvaluators); absent ones count as 0.
#include <memory>

#include "engine/robot_settings.h"

struct RobotPlayerView;
class GameBoard;
class TileBag;
struct RobotMove;

constexpr int kEvaluatorCount = 14;
// Term slots of the per-robot largest and smallest values: the 14 terms and
// the term sum.
constexpr int kTermSlots = kEvaluatorCount + 1;
constexpr int kTermSumSlot = kEvaluatorCount;

// Component indexes (slots in the robot and in RobotMove::terms).
enum EvaluatorIndex : int {
  kEvalWordScore = 0,
  kEvalClosingBonus = 1,
  kEvalDuplicateJoker = 2,
  kEvalLetterSwap = 3,
  kEvalChallenge = 4,
  kEvalClosingBoard = 5,
  kEvalJokerUse = 6,
  kEvalRemainder = 7,
  kEvalSituation = 8,
  kEvalDuplicateEndgame = 9,
  kEvalFirstWordDuplicate = 10,
  kEvalDifficulty = 11,
  kEvalConventions = 12,
  kEvalBonusBlock = 13,
};

// The order in which CreateEvaluators visits the components.
constexpr int kEvaluatorCreationOrder[kEvaluatorCount] = {2, 10, 9, 3, 4,  5,  1,
                                                          7, 0,  8, 6, 11, 12, 13};

class RobotEvaluator {
 public:
  virtual ~RobotEvaluator() = default;
  // Once on every present component at the start of a robot's first pass.
  virtual void Prepare() {}
  // The term of `move` for `player` (whose option words are its settings),
  // with a copy of the game's bag and a board holding the position before
  // the move. Component 3 returns the advice word (1, 2 or 3) as its term.
  virtual float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag& bag,
                         const GameBoard& board) = 0;
  // String-table id of the component's label.
  virtual int GetLabelId() const = 0;
};

// What CreateEvaluators does with component `index` under these settings.
enum class EvaluatorRule { kCreate, kDelete, kKeep };
EvaluatorRule EvaluatorRuleFor(const RobotSettings& settings, int index);

// Makes component `index` (0..13); null when that component is not built.
// Defined by the components' own source file.
std::unique_ptr<RobotEvaluator> MakeEvaluator(int index);
