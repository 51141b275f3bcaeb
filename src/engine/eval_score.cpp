// The small components: the score term (0), the joker-use penalty (6), the
// opening convention (12), the placing-difficulty veto (11), and the notes
// (2, 4, 8, 9, 10) that only the duplicate ranking adds up.
#include <algorithm>
#include <cstring>

#include "engine/robot_game.h"
#include "engine/eval_components.h"
#include "engine/eval_context.h"
#include "engine/lexicon.h"
#include "rules/robot_move.h"
#include "rules/bag.h"
#include "rules/board.h"
#include "rules/rules.h"

namespace {

// The tiles a component compares the bag against: the bag's tile count.
constexpr int32_t kFullRackDraw = 7;
constexpr int32_t kEarlyBagLow = 68;
constexpr int32_t kEarlyBagHigh = 87;
constexpr int32_t kCheapJokerScore = 20;
constexpr int kCentreColumn = 7;

class LabelledEvaluator : public RobotEvaluator {
 public:
  explicit LabelledEvaluator(int index) : index_(index) {}
  int GetLabelId() const override { return kEvaluatorLabelIds[index_]; }

 private:
  int index_;
};

class WordScoreEvaluator : public LabelledEvaluator {
 public:
  WordScoreEvaluator() : LabelledEvaluator(kEvalWordScore) {}
  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag&,
                 const GameBoard&) override {
    return JudgedSettings(player).wordScoreWeight * 0.01f * static_cast<float>(move.score);
  }
};

// A blank is worth keeping: spending it on a cheap move early costs the most.
class JokerUseEvaluator : public LabelledEvaluator {
 public:
  JokerUseEvaluator() : LabelledEvaluator(kEvalJokerUse) {}
  float Evaluate(const RobotPlayerView&, const RobotMove& move, const TileBag& bag,
                 const GameBoard&) override {
    if (CurrentEvaluationContext().kind != kKindStandard) return -1.0f;
    if (move.playedCounts[kBlankIndex] == 0) return -1.0f;
    int32_t term = -1;
    const bool keepsSingle = std::any_of(std::begin(move.leaveCounts), std::end(move.leaveCounts),
                                         [](int32_t n) { return n == 1; });
    if (keepsSingle && bag.tileCount >= kFullRackDraw) {
      term = -13;
      if (move.score <= kCheapJokerScore && bag.tileCount >= kEarlyBagLow &&
          bag.tileCount <= kEarlyBagHigh)
        term -= 12;
    }
    return static_cast<float>(term);
  }
};

class ConventionEvaluator : public LabelledEvaluator {
 public:
  ConventionEvaluator() : LabelledEvaluator(kEvalConventions) {}
  float Evaluate(const RobotPlayerView&, const RobotMove& move, const TileBag&,
                 const GameBoard&) override {
    return CurrentEvaluationContext().roundCount == 0 && move.direction == 0 ? 1.0f : 0.0f;
  }
};

// How hard the placing is to see: tiles laid among tiles already there and
// beside them. Above the player's limit the move is vetoed (term 0).
class DifficultyEvaluator : public LabelledEvaluator {
 public:
  DifficultyEvaluator() : LabelledEvaluator(kEvalDifficulty) {}
  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag&,
                 const GameBoard& board) override {
    const RobotSettings s = JudgedSettings(player);
    if (s.difficultyMode == 0) return 1.0f;
    const Lexicon* lexicon = GetLexicon();
    const int level = lexicon ? lexicon->GetWordLevel(move.word) : -1;
    if (level == -1 || !WordLevelAllowed(level, s.maxWordLevel)) return 0.0f;
    const float x = Difficulty(move, board);
    if (x > s.difficultyWeight) return 0.0f;
    if (s.difficultyMode == 1 && x != 0.0f) return static_cast<float>(move.score) * x * 0.01f;
    return 1.0f;
  }

 private:
  static float Difficulty(const RobotMove& move, const GameBoard& board) {
    const LineFrame line(board, move, CurrentEvaluationContext().Side());
    const int length = std::min<int>(move.length, line.Side() - line.Start());
    if (length <= 0) return 0.0f;
    int occupied = 0, left = 0, right = 0;
    for (int k = 0; k < length; ++k) {
      const int i = line.Start() + k;
      if (!line.Occupied(i, line.Line())) continue;
      ++occupied;
      if (line.Occupied(i, line.Line() - 1)) ++left;
      if (line.Occupied(i, line.Line() + 1)) ++right;
    }
    const float d = static_cast<float>(length + 2 * occupied);
    const float laid = static_cast<float>(length - occupied);
    return (100.0f * laid / d + 100.0f * static_cast<float>(left) / d +
            100.0f * static_cast<float>(right) / d) *
           0.33333334f;
  }
};

class DuplicateJokerNote : public LabelledEvaluator {
 public:
  DuplicateJokerNote() : LabelledEvaluator(kEvalDuplicateJoker) {}
  float Evaluate(const RobotPlayerView&, const RobotMove& move, const TileBag&,
                 const GameBoard&) override {
    const int n = std::min<int>(move.length, kMoveWordSize);
    for (int i = 0; i < n; ++i)
      if (IsBlankLetter(move.word[i])) return -150.0f;
    return -1.0f;
  }
};

// Whether the word would stand a challenge at the player's level. Nothing
// reads the term.
class ChallengeNote : public LabelledEvaluator {
 public:
  ChallengeNote() : LabelledEvaluator(kEvalChallenge) {}
  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag&,
                 const GameBoard&) override {
    const Lexicon* lexicon = GetLexicon();
    if (!lexicon || !lexicon->IsWord(move.word)) return 0.0f;
    const RobotSettings s = JudgedSettings(player);
    if (s.challengeWeight <= 0.0f) return 0.0f;
    return WordLevelAllowed(lexicon->GetWordLevel(move.word), s.maxWordLevel) ? 1.0f : 0.0f;
  }
};

class SituationNote : public LabelledEvaluator {
 public:
  SituationNote() : LabelledEvaluator(kEvalSituation) {}
  float Evaluate(const RobotPlayerView&, const RobotMove&, const TileBag&,
                 const GameBoard&) override {
    return 0.0f;
  }
};

// A duplicate end game is lost on a rack that can never again hold both a
// vowel and a consonant.
class DuplicateEndgameNote : public LabelledEvaluator {
 public:
  DuplicateEndgameNote() : LabelledEvaluator(kEvalDuplicateEndgame) {}
  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag& bag,
                 const GameBoard&) override {
    const int places = CurrentEvaluationContext().RackSize();
    const std::string leave = LeaveOf(player, move, places, nullptr);
    bool vowel = false, consonant = false;
    for (char c : leave) {
      if (IsEmptyRackPlace(c)) continue;
      (IsVowel(c) ? vowel : consonant) = true;  // a blank ('`') is no vowel
    }
    for (int i = 0; i < kLetterSlots; ++i) {
      if (bag.counts[i] <= 0) continue;
      (i != kBlankIndex && IsVowel(TileForIndex(i)) ? vowel : consonant) = true;
    }
    return vowel && consonant ? 0.0f : 100.0f;
  }
};

class FirstWordNote : public LabelledEvaluator {
 public:
  FirstWordNote() : LabelledEvaluator(kEvalFirstWordDuplicate) {}
  float Evaluate(const RobotPlayerView&, const RobotMove& move, const TileBag&,
                 const GameBoard&) override {
    return static_cast<float>(static_cast<int>(move.column) - kCentreColumn);
  }
};

}  // namespace

std::unique_ptr<RobotEvaluator> MakeScoreComponent(int index) {
  switch (index) {
    case kEvalWordScore:
      return std::make_unique<WordScoreEvaluator>();
    case kEvalDuplicateJoker:
      return std::make_unique<DuplicateJokerNote>();
    case kEvalChallenge:
      return std::make_unique<ChallengeNote>();
    case kEvalJokerUse:
      return std::make_unique<JokerUseEvaluator>();
    case kEvalSituation:
      return std::make_unique<SituationNote>();
    case kEvalDuplicateEndgame:
      return std::make_unique<DuplicateEndgameNote>();
    case kEvalFirstWordDuplicate:
      return std::make_unique<FirstWordNote>();
    case kEvalDifficulty:
      return std::make_unique<DifficultyEvaluator>();
    case kEvalConventions:
      return std::make_unique<ConventionEvaluator>();
    default:
      return nullptr;
  }
}
