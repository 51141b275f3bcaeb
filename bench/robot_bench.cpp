// The computer opponent on the built English lexicon (tessarinData in the
// build folder): candidates generated per second and positions per second
// over a fixed set of mid-game positions, and the think time per move,
// directly and through the robot worker. Each benchmark skips when the
// lexicon is not built.
//
// The positions come from a fixed self-play game: the tiles of the English
// set in an order fixed by a seeded generator, the robot's best move played
// each turn; positions after turns 4 to 18 (every second turn) are kept.
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
#include "rules/game_setup.h"
#include "rules/rules.h"
#include "platform/path.h"

namespace {

using benchpos::Built;
using benchpos::Position;
using benchpos::Rules;

const std::vector<Position>& Positions() {
  static std::vector<Position> positions = [] {
    benchpos::LoadLexicon();
    quickBot2usingDawg robot;
    robot.SetGameParams(&Rules());
    robot.CreateEvaluators(nullptr);
    return benchpos::SelfPlay([&](const Position& now) -> const RobotMove* {
      robot.PreparePosition(now.grid, now.rack, false, 0);
      robot.ClearMoveSlots();
      robot.ResetTermRanges();
      robot.Think(nullptr, 0);
      return robot.GetResultState() == kResultNoMove ? nullptr : robot.GetMoveSlot(0);
    });
  }();
  return positions;
}

void CountCandidate(void* count, const RobotMove&) { ++*static_cast<int64_t*>(count); }

void BM_RobotGenerate(benchmark::State& state) {
  if (!Built()) return state.SkipWithError("lexicon not built");
  const std::vector<Position>& positions = Positions();
  quickBot2usingDawg robot;
  robot.SetGameParams(&Rules());
  robot.CreateEvaluators(nullptr);
  int64_t candidates = 0;
  robot.SetCandidateSink(&CountCandidate, &candidates);
  for (auto _ : state) {
    for (const Position& p : positions) {
      robot.PreparePosition(p.grid, p.rack, false, 0);
      robot.ClearMoveSlots();
      robot.GenerateMoves();
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["candidates"] =
      benchmark::Counter(static_cast<double>(candidates), benchmark::Counter::kIsRate);
  state.counters["positions"] =
      benchmark::Counter(runs * static_cast<double>(positions.size()), benchmark::Counter::kIsRate);
  state.counters["per_position"] =
      static_cast<double>(candidates) / (runs * static_cast<double>(positions.size()));
}
BENCHMARK(BM_RobotGenerate)->Unit(benchmark::kMillisecond);

// One whole think pass (generation and ranking) per position: the time per
// move is the reported time divided by the number of positions (also given
// as the moves rate).
void BM_RobotThink(benchmark::State& state) {
  if (!Built()) return state.SkipWithError("lexicon not built");
  const std::vector<Position>& positions = Positions();
  quickBot2usingDawg robot;
  robot.SetGameParams(&Rules());
  robot.CreateEvaluators(nullptr);
  for (auto _ : state) {
    for (const Position& p : positions) {
      robot.PreparePosition(p.grid, p.rack, false, 0);
      robot.ClearMoveSlots();
      robot.ResetTermRanges();
      robot.Think(nullptr, 0);
      benchmark::DoNotOptimize(robot.GetMoveSlot(0));
    }
  }
  state.counters["moves"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(positions.size()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RobotThink)->Unit(benchmark::kMillisecond);

// The same passes as jobs on the robot worker, as the game runs them.
void BM_RobotThinkOnWorker(benchmark::State& state) {
  if (!Built()) return state.SkipWithError("lexicon not built");
  const std::vector<Position>& positions = Positions();
  RobotWorkerPool().Start();
  quickBot2usingDawg robot;
  robot.SetGameParams(&Rules());
  robot.CreateEvaluators(nullptr);
  for (auto _ : state) {
    for (const Position& p : positions) {
      robot.ResetTermRanges();
      robot.StartThinking(p.grid, p.rack);
      robot.WaitThinking();
    }
  }
  RobotWorkerPool().Stop();
  state.counters["moves"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(positions.size()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RobotThinkOnWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
