#include "engine/robot_evaluator.h"

namespace {

EvaluatorRule WhenNonZero(bool nonZero) {
  return nonZero ? EvaluatorRule::kCreate : EvaluatorRule::kDelete;
}

// The three note bytes switch their component only with exactly 0 or 1.
EvaluatorRule NoteByte(uint8_t value) {
  if (value == 1) return EvaluatorRule::kCreate;
  if (value == 0) return EvaluatorRule::kDelete;
  return EvaluatorRule::kKeep;
}

}  // namespace

EvaluatorRule EvaluatorRuleFor(const RobotSettings& s, int index) {
  switch (index) {
    case kEvalWordScore:
      return WhenNonZero(s.wordScoreWeight != 0.0f);
    case kEvalClosingBonus:
      return WhenNonZero(s.closingBonusWeight != 0.0f);
    case kEvalDuplicateJoker:
      return NoteByte(s.noteDuplicateJoker);
    case kEvalLetterSwap:
      return WhenNonZero(s.letterSwapWeight != 0.0f);
    case kEvalChallenge:
      return WhenNonZero(s.challengeWeight != 0.0f);
    case kEvalClosingBoard:
      return WhenNonZero(s.closingBoardWeight != 0.0f);
    case kEvalJokerUse:
      return WhenNonZero(s.useJokerTerm != 0);
    case kEvalRemainder:
      return WhenNonZero(s.remainderWeight != 0.0f);
    case kEvalSituation:
      return WhenNonZero(s.situationLevel != 0);
    case kEvalDuplicateEndgame:
      return NoteByte(s.noteDuplicateEndgame);
    case kEvalFirstWordDuplicate:
      return NoteByte(s.noteFirstWordDuplicate);
    case kEvalDifficulty:
      return WhenNonZero(s.difficultyWeight != 0.0f);
    case kEvalConventions:
      return WhenNonZero(s.useConventionsTerm != 0);
    case kEvalBonusBlock:
      return WhenNonZero(s.useBonusBlockTerm != 0);
    default:
      return EvaluatorRule::kKeep;
  }
}
