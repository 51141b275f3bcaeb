// The component factory: each index is built by the source file of its
// component (eval_*.cpp).
#include "engine/eval_components.h"
#include "engine/robot_evaluator.h"

std::unique_ptr<RobotEvaluator> MakeEvaluator(int index) {
  switch (index) {
    case kEvalClosingBonus:
    case kEvalBonusBlock:
      return MakePremiumComponent(index);
    case kEvalLetterSwap:
      return MakeLetterSwapComponent();
    case kEvalClosingBoard:
      return MakeClosingBoardComponent();
    case kEvalRemainder:
      return MakeRemainderComponent();
    default:
      return MakeScoreComponent(index);  // null outside 0..13
  }
}
