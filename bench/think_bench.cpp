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

void FillBag(TileBag& bag, const std::string& tiles) {
  std::memset(bag.counts, 0, sizeof bag.counts);
  bag.tileCount = 0;
  for (char c : tiles) {
    ++bag.counts[LetterIndex(c)];
    bag.drawOrder[bag.tileCount++] = LetterIndex(c);
  }
  bag.firstLetter = -1;
  for (int i = 0; i < kLetterSlots && bag.firstLetter < 0; ++i)
    if (bag.counts[i] > 0) bag.firstLetter = static_cast<int8_t>(i);
}

// A computer player in a standard game after the first round, with the
// default settings, and the robot that thinks for it.
struct Player {
  RobotSettings settings;
  RobotPlayerView player;
  TileBag bag;
  quickBot2usingDawg robot;

  explicit Player(const RobotSettings& s) : settings(s) {
    SettingsToOptions(settings, player.options);
    robot.SetGameParams(&Rules());
    robot.CreateEvaluators(&settings);
  }
  void Think(const Position& p) {
    std::memcpy(player.rack, p.rack, sizeof player.rack);
    FillBag(bag, p.bag);
    RobotGameView view;
    view.kind = kKindStandard;
    view.roundCount = 2;
    view.bag = &bag;
    view.hasCurrent = true;
    view.current = player;
    robot.SetGameView(view);
    robot.BeginSearch();
    robot.PreparePosition(p.grid, p.rack, false, 0);
    robot.Think(nullptr, 0);
  }
};

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
