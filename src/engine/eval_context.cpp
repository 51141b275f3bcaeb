#include "engine/robot_game.h"
#include "engine/eval_context.h"

#include <algorithm>
#include <cstring>

#include "engine/dawg.h"
#include "rules/board.h"
#include "rules/rules.h"

namespace {

// One pass runs per thread at a time; a worker's pass and a direct one on the
// interface thread each see their own game.
thread_local const EvaluationContext* tCurrent = nullptr;

}  // namespace

const GameRules& EvaluationContext::Rules() const { return rules ? *rules : GlobalRules(); }

int EvaluationContext::RackSize() const {
  return std::clamp<int>(Rules().rackSize, 1, kMaxRackPlaces);
}

int EvaluationContext::Side() const {
  const int side = Rules().boardSide;
  return side >= 1 && side <= kMaxBoardSide ? side : kMaxBoardSide;
}

int EvaluationContext::PlayerCount() const {
  return std::max<int>(1, static_cast<int>(players.size()));
}

const EvaluationContext& CurrentEvaluationContext() {
  static const EvaluationContext kOutsideAPass;
  return tCurrent ? *tCurrent : kOutsideAPass;
}

EvaluationScope::EvaluationScope(const EvaluationContext& context) : previous_(tCurrent) {
  tCurrent = &context;
}

EvaluationScope::~EvaluationScope() { tCurrent = previous_; }

RobotSettings JudgedSettings(const RobotPlayerView& player) {
  return SettingsFromOptions(player.options);
}

std::string LeaveOf(const RobotPlayerView& player, const RobotMove& move, int rackSize, int* kept) {
  std::string leave(static_cast<size_t>(rackSize), kEmptyRackPlace);
  for (int i = 0; i < rackSize && player.rack[i]; ++i)
    leave[i] = player.rack[i];
  const int n = std::min<int>(move.length, kPlacedLettersSize);
  for (int i = 0; i < n; ++i) {
    const char placed = move.placedLetters[i];
    if (!placed) continue;
    const size_t at = leave.find(placed);
    if (at != std::string::npos) leave[at] = kEmptyRackPlace;
  }
  int tiles = 0;
  for (char c : leave)
    if (!IsEmptyRackPlace(c)) ++tiles;
  if (kept) *kept = tiles;
  return leave;
}

int32_t TextValue(const GameRules& rules, const char* text) {
  int32_t sum = 0;
  for (; *text; ++text)
    if (IsTileLetter(*text)) sum += rules.letterValues[LetterIndex(*text)];
  return sum;
}

char HookLetter(const DawgNodeList& graph, const char* text) {
  const DawgNode* node = graph.WalkToNode(text, false);
  if (!node) return 0;
  int index = node->child;
  for (const DawgNode* n = graph.Node(index); n; n = graph.Node(++index)) {
    if (n->EndsWord()) return static_cast<char>(n->Letter());
    if (n->IsLast()) break;
  }
  return 0;
}

LineFrame::LineFrame(const GameBoard& board, const RobotMove& move, int side)
    : board_(board),
      across_(move.direction == 0),
      start_(across_ ? move.column : move.row),
      line_(across_ ? move.row : move.column),
      side_(side) {}

int32_t LineFrame::Premium(int i, int q) const {
  if (!Inside(i, q) || !board_.rules) return kPremiumNone;
  return board_.rules->Premium(Row(i, q), Column(i, q));
}

int LineFrame::BlockTiles(int i, int q) const {
  int n = 0;
  for (int di = -1; di <= 1; ++di)
    for (int dq = -1; dq <= 1; ++dq)
      if (Occupied(i + di, q + dq)) ++n;
  return n;
}

int PremiumWeight(int32_t code) {
  switch (code) {
    case kPremiumDoubleLetter:
      return 1;
    case kPremiumTripleLetter:
      return 2;
    case kPremiumDoubleWord:
      return 4;
    case kPremiumTripleWord:
      return 8;
    default:
      return 0;
  }
}
