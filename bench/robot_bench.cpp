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

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "game/game_setup.h"
#include "game/rules.h"
#include "platform/path.h"

namespace {

struct Position {
  char grid[kBoardSquares] = {};
  char rack[kRackTextSize] = {};
};

bool Built() {
  return platform::FileExists(
      platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(kLanguageEnglish)).c_str());
}

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

void LoadLexicon() {
  if (GetLexicon()) return;
  Lexicon* lex = CreateLexicon(kLanguageEnglish);
  lex->SetProgramFolder(TESS_BUILD_DIR);
  lex->Load(kLanguageEnglish, 0);
}

// Lays the move's letters on the grid; returns the rack with them taken off.
std::string Play(const RobotMove& m, char* grid, std::string rack) {
  for (int i = 0; i < m.length; ++i) {
    const int r = m.row + (m.direction ? i : 0);
    const int c = m.column + (m.direction ? 0 : i);
    char& square = grid[r * kBoardStride + c];
    if (square) continue;
    square = m.word[i];
    const char tile = IsBlankLetter(m.word[i]) ? kUnassignedBlank : m.word[i];
    const size_t at = rack.find(tile);
    if (at != std::string::npos) rack.erase(at, 1);
  }
  return rack;
}

const std::vector<Position>& Positions() {
  static std::vector<Position> positions = [] {
    LoadLexicon();
    const GameRules& rules = Rules();
    std::string bag;
    for (int i = 0; i < kLetterSlots; ++i)
      bag.append(static_cast<size_t>(std::max(0, rules.tileCounts[i])), TileForIndex(i));
    std::mt19937 order(20050101);
    std::shuffle(bag.begin(), bag.end(), order);

    std::vector<Position> out;
    Position now;
    std::string rack;
    quickBot2usingDawg robot;
    robot.SetGameParams(&rules);
    robot.CreateEvaluators(nullptr);
    for (int turn = 0; turn < 20 && !bag.empty(); ++turn) {
      while (rack.size() < 7 && !bag.empty()) {
        rack += bag.back();
        bag.pop_back();
      }
      std::memcpy(now.rack, rack.c_str(), rack.size() + 1);
      if (turn >= 4 && turn % 2 == 0) out.push_back(now);
      robot.PreparePosition(now.grid, now.rack, false, 0);
      robot.ClearMoveSlots();
      robot.ResetTermRanges();
      robot.Think(nullptr, 0);
      if (robot.GetResultState() == kResultNoMove) break;
      rack = Play(*robot.GetMoveSlot(0), now.grid, rack);
    }
    return out;
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
  state.counters["candidates"] = benchmark::Counter(
      static_cast<double>(candidates), benchmark::Counter::kIsRate);
  state.counters["positions"] = benchmark::Counter(
      runs * static_cast<double>(positions.size()), benchmark::Counter::kIsRate);
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
