// The computer opponent on the built English lexicon (tessarinData in the
// build folder) over the fixed positions of bench/data/selfplay_positions.txt:
// every placement of each position with no word-level limit (all positions,
// then those without and with a blank on the rack), and one full think pass
// per position with the default settings. The "per_position" counter (the
// time of one position, in seconds) is the figure to compare. Skips when the lexicon is not built.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/robot_game.h"
#include "platform/crand.h"
#include "bench_positions.h"
#include "platform/path.h"
#include "position_file.h"
#include "rules/bag.h"
#include "rules/game_setup.h"
#include "rules/rules.h"

namespace {

using benchfile::Position;

using benchpos::Ready;
using benchpos::Rules;

const std::vector<Position>& AllPositions() {
  static const std::vector<Position> positions =
      benchfile::Load(std::string(TESS_BENCH_DATA_DIR) + "/selfplay_positions.txt");
  return positions;
}

enum Subset { kAll = 0, kNoBlank = 1, kWithBlank = 2 };

std::vector<Position> Select(Subset subset) {
  std::vector<Position> out;
  for (const Position& p : AllPositions())
    if (subset == kAll || p.HasBlank() == (subset == kWithBlank)) out.push_back(p);
  return out;
}

void ReportPerPosition(benchmark::State& state, size_t positions) {
  const double runs = static_cast<double>(state.iterations()) * static_cast<double>(positions);
  state.counters["positions"] = static_cast<double>(positions);
  state.counters["per_position"] =
      benchmark::Counter(runs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void CountCandidate(void* count, const RobotMove&) { ++*static_cast<int64_t*>(count); }

// Every placement of each position stored in the found-move list, no
// word-level limit (arg: 0 all positions, 1 no blank on the rack, 2 a blank).
void BM_AllPlacements(benchmark::State& state) {
  if (!Ready() || AllPositions().empty())
    return state.SkipWithError("lexicon or positions file missing");
  const std::vector<Position> positions = Select(static_cast<Subset>(state.range(0)));
  RobotSettings settings;
  settings.maxWordLevel = -1;
  quickBot2usingDawg robot;
  robot.SetGameParams(&Rules());
  robot.CreateEvaluators(&settings);
  // The placements of one run, counted outside the timing: the game watches
  // no placement, and a watcher makes the generator build every record.
  int64_t placements = 0;
  robot.SetCandidateSink(&CountCandidate, &placements);
  for (const Position& p : positions) {
    robot.PreparePosition(p.grid, p.rack, false, 0);
    robot.ClearMoveSlots();
    robot.GenerateMoves();
  }
  robot.SetCandidateSink(nullptr, nullptr);
  for (auto _ : state) {
    for (const Position& p : positions) {
      robot.PreparePosition(p.grid, p.rack, false, 0);
      robot.ClearMoveSlots();
      robot.GenerateMoves();
      benchmark::DoNotOptimize(robot.GetMoveCount());
    }
  }
  ReportPerPosition(state, positions.size());
  state.counters["placements"] =
      benchmark::Counter(static_cast<double>(placements) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AllPlacements)
    ->Arg(kAll)
    ->Arg(kNoBlank)
    ->Arg(kWithBlank)
    ->Unit(benchmark::kMillisecond);

// One full think pass per position as a computer player of a standard game
// with the default settings runs it: a new search, generation, every ranked
// component and the swap advice.
void BM_ThinkDefault(benchmark::State& state) {
  if (!Ready() || AllPositions().empty())
    return state.SkipWithError("lexicon or positions file missing");
  const std::vector<Position>& positions = AllPositions();
  benchpos::Player player{RobotSettings()};
  platform::SeedRandom(1);
  for (auto _ : state) {
    for (const Position& p : positions) {
      player.Think(p);
      benchmark::DoNotOptimize(player.robot.GetMoveSlot(0));
    }
  }
  ReportPerPosition(state, positions.size());
}
BENCHMARK(BM_ThinkDefault)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
