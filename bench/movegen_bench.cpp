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
#include "platform/path.h"
#include "position_file.h"
#include "rules/bag.h"
#include "rules/game_setup.h"
#include "rules/rules.h"

namespace {

using benchfile::Position;

const GameRules& Rules() {
  static GameRules rules = [] {
    GameRules r;
    auto setup = std::make_unique<GameSetup>();
    setup->kind = kKindStandard;
    r.Setup(0, 7, setup.get());
    return r;
  }();
  return rules;
}

bool Ready() {
  static const bool ready = [] {
    if (!platform::FileExists(
            platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(kLanguageEnglish)).c_str()))
      return false;
    Lexicon* lexicon = CreateLexicon(kLanguageEnglish);
    lexicon->SetProgramFolder(TESS_BUILD_DIR);
    return lexicon->Load(kLanguageEnglish, 0);
  }();
  return ready;
}

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

// One full think pass per position as a computer player of a standard game
// with the default settings runs it: a new search, generation, every ranked
// component and the swap advice.
void BM_ThinkDefault(benchmark::State& state) {
  if (!Ready() || AllPositions().empty())
    return state.SkipWithError("lexicon or positions file missing");
  const std::vector<Position>& positions = AllPositions();
  const RobotSettings settings;
  RobotPlayerView player;
  SettingsToOptions(settings, player.options);
  TileBag bag;
  quickBot2usingDawg robot;
  robot.SetGameParams(&Rules());
  robot.CreateEvaluators(&settings);
  platform::SeedRandom(1);
  for (auto _ : state) {
    for (const Position& p : positions) {
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
      benchmark::DoNotOptimize(robot.GetMoveSlot(0));
    }
  }
  ReportPerPosition(state, positions.size());
}
BENCHMARK(BM_ThinkDefault)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
