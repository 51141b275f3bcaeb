// A championship of eight computer players run to its end: the schedule,
// each game simulated from the players' ratings (as the tournament room
// simulates games between two computers), scored into the standings.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "game/game.h"
#include "game/tournament.h"

namespace {

TournamentData EightPlayers() {
  TournamentData t;
  t.setup.kind = kKindStandard;
  for (int i = 0; i < 8; ++i) {
    TournamentParticipant p;
    p.number = i + 1;
    std::snprintf(p.name, sizeof p.name, "Player %d", i + 1);
    p.isComputer = 1;
    p.rating = 800 + 120 * i;
    t.participants.push_back(p);
  }
  t.roundCount = 1;
  return t;
}

void BM_SimulatedRoundRobin(benchmark::State& state) {
  SeedTournamentRandom(1);
  int64_t games = 0;
  for (auto _ : state) {
    TournamentData t = EightPlayers();
    BuildRoundRobinSchedule(t);
    for (t.currentPairing = 0; t.currentPairing < t.gameCount; ++t.currentPairing) {
      const TournamentPairing& g = t.pairings[static_cast<size_t>(t.currentPairing)];
      std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
      game->setup.kind = kKindStandard;
      for (int number : {g.first, g.second}) {
        PlayerSetupEntry e;
        e.playerType = kPlayerComputer;
        std::snprintf(e.name, sizeof e.name, "%s", FindParticipant(t, number, nullptr)->name);
        game->setup.AddPlayer(e);
      }
      game->StartNewGame();
      SimulateComputerGame(t, *game);
      SettleTwoPlayerScores(t, *game);
      RecordGameResult(t, *game);
      ++games;
    }
    benchmark::DoNotOptimize(t.standings.data());
  }
  state.counters["games/s"] =
      benchmark::Counter(static_cast<double>(games), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulatedRoundRobin)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
