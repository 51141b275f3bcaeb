// One thinking pass: generate the loaded position's moves, rank them by the
// game kind's rules, and leave the move to play in slot 0 with a result state
// that says whether one was found. Standard games rank by the evaluation
// components (absent ones count 0, so the score order stands); duplicate
// games first keep the moves near the best score; side games keep the score
// order.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/eval_pass.h"
#include "engine/lexicon.h"
#include "engine/robot.h"
#include "rules/bag.h"

namespace {

bool RankedInStandardGame(int index, const RobotSettings& s) {
  switch (index) {
    case kEvalWordScore:
      return true;
    case kEvalClosingBonus:
      return s.letterSwapWeight != 0.0f;
    case kEvalClosingBoard:
      return s.closingBoardWeight != 0.0f;
    case kEvalJokerUse:
      return s.useJokerTerm != 0;
    case kEvalRemainder:
      return s.remainderWeight != 0.0f;
    case kEvalConventions:
      return s.useConventionsTerm != 0;
    case kEvalBonusBlock:
      return s.useBonusBlockTerm != 0;
    default:
      return false;  // notes, the swap advice and the difficulty veto
  }
}

bool RankedInDuplicateGame(int index) {
  return index != kEvalLetterSwap && index != kEvalChallenge && index != kEvalSituation &&
         index != kEvalDifficulty;
}

void ZeroTerms(RobotMove& m) {
  std::fill(std::begin(m.terms), std::end(m.terms), 0.0f);
  m.termSum = 0.0f;
}

float& TermSlot(RobotMove& m, int k) { return k == kTermSumSlot ? m.termSum : m.terms[k]; }

bool SameMove(const RobotMove& a, const RobotMove& b) {
  return a.score == b.score && a.column == b.column && a.row == b.row &&
         a.direction == b.direction && std::strncmp(a.word, b.word, kMoveWordSize) == 0;
}

// A report column as a whole number; values out of range (never met in a
// sound record) are held at the int32 limits.
int WholeNumber(float v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -2147483520.0f, 2147483520.0f));
}

}  // namespace

const RobotPlayerView& Robot::CurrentPlayer() const {
  const RobotPlayerView* current = view_.CurrentPlayer();
  return current ? *current : settingsPlayer_;
}

RobotSettings Robot::PlayerSettings() const {
  if (const RobotPlayerView* current = view_.CurrentPlayer())
    return SettingsFromOptions(current->options);
  return settings_;
}

void Robot::SearchMoves(RobotMove* move, int /*flag*/) {
  // What the components read of the game, for this thread while the pass runs.
  const EvaluationContext context = MakeEvaluationContext(*this);
  const EvaluationScope scope(context);
  // Working copies: the components see the position before the move and a
  // bag they may not disturb.
  const GameRules& rules = Rules();
  GameBoard board(&rules);
  board.LoadFromGridAndCounts(&rules, board_.letters, board_.rackCounts);
  TileBag bag;
  if (view_.bag) bag.CopyFrom(*view_.bag);

  moves_.SortMovesByKey(MoveSortKey::kScore);
  // The first pass of a search ranks every move; later ones judge only a move
  // handed in. An explicit flag: a largest word-score term of 0 (no score
  // component, or nothing but 0-point moves) must not make every pass a first.
  const bool firstPass = !searchRanked_;
  if (firstPass)
    for (auto& e : evaluators_)
      if (e) e->Prepare();

  switch (view_.kind) {
    case kKindStandard:
      if (firstPass) {
        if (!RankStandard(bag, board)) return;  // cancelled: no scaling
        searchRanked_ = true;
      } else if (move) {
        JudgeMove(*move, bag, board);
      }
      break;
    case kKindDuplicate:
      if (!RankDuplicate(bag, board)) return;
      searchRanked_ = true;
      break;
    default:
      break;  // side games keep the score order
  }
  ScaleTerms();
  moves_.SortMovesByKey(MoveSortKey::kRankValue);
  DropClearedMoves();
}

void Robot::RemoveJuniorWords() {
  const Lexicon* lexicon = GetLexicon();
  if (!IsJuniorMode() || !lexicon) return;
  for (int i = 0; i < moves_.Count();) {
    char lower[kMoveWordSize];
    const RobotMove& m = *moves_.GetMoveSlot(i);
    for (int k = 0; k < kMoveWordSize; ++k)
      lower[k] = IsBlankLetter(m.word[k]) ? static_cast<char>(m.word[k] | 0x20) : m.word[k];
    lower[kMoveWordSize - 1] = 0;
    if (lower[0] && lexicon->Main().GetWordFlag(lower))
      moves_.RemoveMove(i);  // the last move now sits in slot i: look at it again
    else
      ++i;
  }
}

bool Robot::RankStandard(const TileBag& bag, const GameBoard& board) {
  RemoveJuniorWords();
  moves_.SortMovesByKey(MoveSortKey::kScore);
  for (int i = 0; i < moves_.Count(); ++i) {
    if (Cancelled()) return false;
    if (!EvaluateStandardMove(*moves_.GetMoveSlot(i), bag, board, true)) return false;
  }
  moves_.SortMovesByKey(MoveSortKey::kRankValue);
  // The advice judges slot 0 even when it holds no move (it may then advise
  // a swap) and writes its decision into the robot itself: some of its paths
  // return a term and leave the result state as it is.
  if (RobotEvaluator* advice = evaluators_[kEvalLetterSwap].get())
    advice->Evaluate(CurrentPlayer(), *moves_.GetMoveSlot(0), bag, board);
  return true;
}

// Fills the move's terms and ranking value; a move the level limit or the
// difficulty veto refuses is cleared. False when a cancel came.
bool Robot::EvaluateStandardMove(RobotMove& m, const TileBag& bag, const GameBoard& board,
                                 bool keepMaxima) {
  const RobotPlayerView& player = CurrentPlayer();
  ZeroTerms(m);
  const Lexicon* lexicon = GetLexicon();
  const int level = lexicon ? lexicon->GetWordLevel(m.word) : -1;
  if (level == -1 || !WordLevelAllowed(level, PlayerSettings().maxWordLevel)) {
    m.Clear();
    return true;
  }
  if (RobotEvaluator* veto = evaluators_[kEvalDifficulty].get()) {
    if (Cancelled()) return false;
    const float t = veto->Evaluate(player, m, bag, board);
    m.terms[kEvalDifficulty] = t;
    if (t == 0.0f) {
      m.Clear();
      return true;
    }
  }
  m.rankValue = 0.0f;
  const RobotSettings& own = settings_;
  for (int k = 0; k < kEvaluatorCount; ++k) {
    if (k == kEvalDifficulty) continue;
    RobotEvaluator* e = evaluators_[k].get();
    if (!e || !RankedInStandardGame(k, own)) {
      m.terms[k] = 0.0f;
      continue;
    }
    if (Cancelled()) return false;
    const float t = e->Evaluate(player, m, bag, board);
    m.terms[k] = t;
    m.rankValue += t;
    if (keepMaxima) termMax_[k] = std::max(termMax_[k], t);
  }
  m.termSum = m.rankValue;
  if (keepMaxima) termMax_[kTermSumSlot] = std::max(termMax_[kTermSumSlot], m.termSum);
  return true;
}

// A later pass judges only the move handed in, on the scale the first pass
// fixed.
void Robot::JudgeMove(RobotMove& move, const TileBag& bag, const GameBoard& board) {
  for (int i = 0; i < moves_.Count(); ++i) {
    const RobotMove& found = *moves_.GetMoveSlot(i);
    if (!SameMove(found, move)) continue;
    std::copy(std::begin(found.terms), std::end(found.terms), std::begin(move.terms));
    move.termSum = found.termSum;
    move.rankValue = found.rankValue;
    return;
  }
  if (!EvaluateStandardMove(move, bag, board, false) || !move.word[0]) return;
  for (int k = 0; k < kTermSlots; ++k) {
    float& v = TermSlot(move, k);
    v = termMax_[k] != 0.0f ? std::clamp((v - termMin_[k]) / termMax_[k], 0.0f, 1.0f) : 0.0f;
  }
}

bool Robot::RankDuplicate(const TileBag& bag, const GameBoard& board) {
  RemoveJuniorWords();
  moves_.SortMovesByKey(MoveSortKey::kScore);
  const int count = moves_.Count();
  const float best = count > 0 ? static_cast<float>(moves_.GetMoveSlot(0)->score) : 0.0f;
  const RobotSettings settings = PlayerSettings();
  const RobotPlayerView& current = CurrentPlayer();
  const RobotPlayerView* judged =
      settings.judgeByReferencePlayer == 1 ? view_.ReferencePlayer() : view_.OwnPlayer();
  if (!judged) judged = &current;
  const Lexicon* lexicon = GetLexicon();

  bool firstKept = true;
  for (int i = 0; i < count; ++i) {
    if (Cancelled()) return false;
    RobotMove& m = *moves_.GetMoveSlot(i);
    ZeroTerms(m);
    m.rankValue = 0.0f;
    const int level = lexicon ? lexicon->GetWordLevel(m.word) : -1;
    float judgedScore = 0.0f;
    if (RobotEvaluator* e = evaluators_[kEvalWordScore].get())
      judgedScore = e->Evaluate(*judged, m, bag, board);
    bool rejected = false;
    if (RobotEvaluator* veto = evaluators_[kEvalDifficulty].get()) {
      const float t = veto->Evaluate(current, m, bag, board);
      m.terms[kEvalDifficulty] = t;
      m.rankValue += t;
      rejected = t == 0.0f;
    }
    // A best score of 0 means every move scores 0: all are at 100 percent.
    const float percent = best > 0.0f ? static_cast<float>(m.score) * 100.0f / best : 100.0f;
    rejected = rejected || level == -1 || !WordLevelAllowed(level, settings.maxWordLevel) ||
               percent < settings.minScorePercent || (m.direction != 0 && view_.roundCount == 0);
    if (rejected) {
      m.rankValue = kRejectedRank;
      continue;
    }
    m.terms[kEvalWordScore] = judgedScore;
    m.rankValue += judgedScore;
    for (int k = 0; k < kEvaluatorCount; ++k) {
      if (k == kEvalDifficulty) continue;
      RobotEvaluator* e = evaluators_[k].get();
      if (!e || !RankedInDuplicateGame(k)) {
        m.terms[k] = 0.0f;
        continue;
      }
      const float t = e->Evaluate(current, m, bag, board);
      m.terms[k] = t;
      m.rankValue += t;
      termMax_[k] = firstKept ? t : std::max(termMax_[k], t);
    }
    firstKept = false;
  }
  return true;
}

// Brings every term (and the sum) of the found moves to 0..1 over the moves
// found: 0 for the lowest, 1 for the highest. Done once per search: the
// ranges it fixes serve the later passes of the same search.
void Robot::ScaleTerms() {
  if (termsScaled_) return;
  const int count = moves_.Count();
  float low[kTermSlots] = {};
  for (int i = 0; i < count; ++i)
    for (int k = 0; k < kTermSlots; ++k)
      low[k] = std::min(low[k], TermSlot(*moves_.GetMoveSlot(i), k));
  for (int k = 0; k < kTermSlots; ++k) {
    termMin_[k] = low[k];
    if (low[k] != 0.0f) termMax_[k] -= low[k];
  }
  for (int i = 0; i < count; ++i) {
    RobotMove& m = *moves_.GetMoveSlot(i);
    for (int k = 0; k < kTermSlots; ++k) {
      float& v = TermSlot(m, k);
      v = termMax_[k] != 0.0f ? (v - low[k]) / termMax_[k] : 0.0f;
    }
  }
  termsScaled_ = true;
}

// Records cleared by the ranking hold no move: the list keeps only real ones,
// in their order.
void Robot::DropClearedMoves() {
  const int count = moves_.Count();
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    RobotMove& m = *moves_.GetMoveSlot(i);
    if (!m.word[0]) continue;
    if (kept != i) *moves_.GetMoveSlot(kept) = m;
    ++kept;
  }
  while (moves_.Count() > kept)
    moves_.RemoveMove(moves_.Count() - 1);
}

bool quickBot2usingDawg::Think(RobotMove* move, int flag) {
  if (!move || GetMoveCount() == 0) GenerateMoves();
  SetResultState(kResultPlay);
  SearchMoves(move, flag);
  const RobotMove* first = SortedFirstMove(MoveSortKey::kRankValue);
  // A move the ranking rejected is never the one to play.
  const bool ranked = GameView().kind == kKindStandard || GameView().kind == kKindDuplicate;
  if (first && first->word[0] && !(ranked && first->rankValue <= kRejectedRank)) return false;
  if (GetResultState() != kResultAdvice3) SetResultState(kResultNoMove);
  return false;
}

void quickBot2usingDawg::ReportMoves(char* buffer, size_t size) {
  if (!buffer || size == 0) return;
  FoundMoveList& moves = Moves();
  moves.SortMovesByScore(false);
  char line[256];
  std::string text;
  std::snprintf(line, sizeof line, "\nquickBot2: Found %d words:-\n", moves.Count());
  text += line;
  std::snprintf(line, sizeof line, "Secondary checks: %d,  pre-checks: %d\n", reportCounters_[0],
                reportCounters_[1]);
  text += line;
  std::snprintf(line, sizeof line, "Rows scanned: %d,  scrapped: %d\n", reportCounters_[2],
                reportCounters_[3]);
  text += line;
  for (int i = 0; i < moves.Count(); ++i) {
    const RobotMove& m = *moves.GetMoveSlot(i);
    std::snprintf(line, sizeof line, "%15s %3d  RL:%3d  RB:%3d  BL:%3d   OP:%3d   EV:%4d\n", m.word,
                  m.score, m.reportRL, m.reportRB, WholeNumber(m.reportBL), m.reportOP,
                  WholeNumber(m.evalValue));
    if (text.size() + std::strlen(line) + 20 >= size) {
      text += "etc.";
      text += ".....\n";
      break;
    }
    text += line;
  }
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
}
