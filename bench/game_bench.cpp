// Whole games without a screen: computer players on the English lexicon the
// build made, driven frame by frame through CGame::Update as a screen would
// (the interface thread polls the robot's job on the worker pool). Reports
// games and moves per second. Skips when the lexicon is not built.
#include <benchmark/benchmark.h>

#include <thread>

#include "bench_positions.h"

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "game/robot_factory.h"
#include "engine/robot_settings.h"
#include "game/game.h"
#include "platform/crand.h"
#include "platform/path.h"

namespace {

bool Ready() {
  static const bool ready = [] {
    if (!benchpos::Ready()) return false;
    InstallPlayerRobotFactory();
    RobotWorkerPool().Start();
    return true;
  }();
  return ready;
}

// Plays one game to its end; returns the moves laid.
int PlayGame(int players, uint32_t seed) {
  platform::SeedRandom(seed);
  CGame game;
  game.setup.kind = kKindStandard;
  game.setup.language = kLanguageEnglish;
  for (int i = 0; i < players; ++i) {
    PlayerSetupEntry e;
    e.playerType = kPlayerComputer;
    SettingsToOptions(RobotSettings(), e.options);
    game.setup.AddPlayer(e);
  }
  game.StartNewGame();
  int moves = 0;
  GamePlayer* mover = nullptr;
  while (game.Update() != kStateOver) {
    GamePlayer* p = game.currentPlayer;
    if (p && p->turnPhase == kPhaseOver && p != mover && p->lastAction == kLastPlayed) ++moves;
    mover = p && p->turnPhase == kPhaseOver ? p : nullptr;
    if (p && p->GetRobot() && p->GetRobot()->IsThinking()) std::this_thread::yield();
  }
  return moves;
}

void BM_ComputerGame(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("English lexicon not built");
  const int players = static_cast<int>(state.range(0));
  uint32_t seed = 1;
  int64_t games = 0, moves = 0;
  for (auto _ : state) {
    moves += PlayGame(players, seed++);
    ++games;
  }
  state.counters["games/s"] =
      benchmark::Counter(static_cast<double>(games), benchmark::Counter::kIsRate);
  state.counters["moves/s"] =
      benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
  state.counters["moves/game"] = static_cast<double>(moves) / static_cast<double>(games);
}
BENCHMARK(BM_ComputerGame)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
