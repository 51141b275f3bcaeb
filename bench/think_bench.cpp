// The computer opponent's full think pass on the built English lexicon
// (tessarinData in the build folder): generation alone, generation with the
// score-only ranking, and generation with every default evaluation component
// for a player in a standard game, per move over a fixed set of mid-game
// positions. Skips when the lexicon is not built.
#include <benchmark/benchmark.h>

#include "bench_positions.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "rules/bag.h"
#include "rules/game_setup.h"
#include "engine/robot_game.h"
#include "rules/rules.h"
#include "platform/crand.h"
#include "platform/path.h"

namespace {

using benchpos::Built;
using benchpos::Position;
using benchpos::Rules;

using benchpos::Player;

const std::vector<Position>& Positions() {
  static std::vector<Position> positions = [] {
    benchpos::LoadLexicon();
    Player self{RobotSettings()};
    platform::SeedRandom(1);
    return benchpos::SelfPlay([&](const Position& now) {
      self.Think(now);
      return self.robot.GetMoveSlot(0);
    });
  }();
  return positions;
}

void Report(benchmark::State& state, size_t positions) {
  state.counters["moves"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(positions),
                         benchmark::Counter::kIsRate);
  state.counters["positions"] = static_cast<double>(positions);
}

// Generation alone, for comparison: every placement found and stored.
void BM_ThinkGenerateOnly(benchmark::State& state) {
  if (!Built()) return state.SkipWithError("lexicon not built");
  const std::vector<Position>& positions = Positions();
  Player p{RobotSettings()};
  for (auto _ : state) {
    for (const Position& pos : positions) {
      p.robot.PreparePosition(pos.grid, pos.rack, false, 0);
      p.robot.ClearMoveSlots();
      p.robot.GenerateMoves();
      benchmark::DoNotOptimize(p.robot.GetMoveCount());
    }
  }
  Report(state, positions.size());
}
BENCHMARK(BM_ThinkGenerateOnly)->Unit(benchmark::kMillisecond);

RobotSettings ScoreOnly() {
  RobotSettings s;
  s.closingBonusWeight = s.closingBoardWeight = s.remainderWeight = 0.0f;
  s.letterSwapWeight = 0.0f;
  s.useJokerTerm = s.useConventionsTerm = s.useBonusBlockTerm = 0;
  return s;
}

// The whole pass with only the score term ranked.
void BM_ThinkScoreOnly(benchmark::State& state) {
  if (!Built()) return state.SkipWithError("lexicon not built");
  const std::vector<Position>& positions = Positions();
  Player p{ScoreOnly()};
  for (auto _ : state)
    for (const Position& pos : positions)
      p.Think(pos);
  Report(state, positions.size());
}
BENCHMARK(BM_ThinkScoreOnly)->Unit(benchmark::kMillisecond);

// The score term and one more component (by index), to show where the
// evaluation's time goes.
void BM_ThinkScoreAndOne(benchmark::State& state) {
  if (!Built()) return state.SkipWithError("lexicon not built");
  const std::vector<Position>& positions = Positions();
  RobotSettings s = ScoreOnly();
  const RobotSettings defaults;
  switch (state.range(0)) {
    case kEvalClosingBonus:  // ranks only beside the swap advice
      s.closingBonusWeight = defaults.closingBonusWeight;
      s.letterSwapWeight = defaults.letterSwapWeight;
      break;
    case kEvalLetterSwap:
      s.letterSwapWeight = defaults.letterSwapWeight;
      break;
    case kEvalClosingBoard:
      s.closingBoardWeight = defaults.closingBoardWeight;
      break;
    case kEvalJokerUse:
      s.useJokerTerm = 1;
      break;
    case kEvalRemainder:
      s.remainderWeight = defaults.remainderWeight;
      break;
    case kEvalConventions:
      s.useConventionsTerm = 1;
      break;
    case kEvalBonusBlock:
      s.useBonusBlockTerm = 1;
      break;
    default:
      break;
  }
  Player p{s};
  platform::SeedRandom(1);
  for (auto _ : state)
    for (const Position& pos : positions)
      p.Think(pos);
  Report(state, positions.size());
}
BENCHMARK(BM_ThinkScoreAndOne)
    ->Arg(kEvalClosingBonus)
    ->Arg(kEvalLetterSwap)
    ->Arg(kEvalClosingBoard)
    ->Arg(kEvalJokerUse)
    ->Arg(kEvalRemainder)
    ->Arg(kEvalConventions)
    ->Arg(kEvalBonusBlock)
    ->Unit(benchmark::kMillisecond);

// The whole pass as a computer player with the default settings runs it:
// generation, every ranked component, the swap advice, scaling.
void BM_ThinkFull(benchmark::State& state) {
  if (!Built()) return state.SkipWithError("lexicon not built");
  const std::vector<Position>& positions = Positions();
  Player p{RobotSettings()};
  platform::SeedRandom(1);
  for (auto _ : state)
    for (const Position& pos : positions)
      p.Think(pos);
  Report(state, positions.size());
}
BENCHMARK(BM_ThinkFull)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
