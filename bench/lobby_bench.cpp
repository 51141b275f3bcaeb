// The lobby client over loopback against the test lobby server: requests
// answered per second with one client and with sixteen at once; and the
// stream frame codec's throughput (encode and decode, plain and encrypted).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bdCore/bdCore.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"
#include "bdStreamConnection/bdStreamFrame.h"
#include "lobbyServer.h"

namespace {

const unsigned char kKey[24] = {5, 4, 3, 2,  1,  0,  1,  2,  3,  4,  5,  6,
                                7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};

void startCore() {
  static bool started = false;
  if (!started) {
    bdCore::init(true);
    started = true;
  }
}

void BM_LobbyRequests(benchmark::State& state) {
  startCore();
  const int clients = static_cast<int>(state.range(0));
  lobbyserver::LobbyServer server(kKey);
  if (!server.start()) {
    state.SkipWithError("no server");
    return;
  }
  std::vector<std::unique_ptr<bdLobbyServiceImpl>> lobbies;
  for (int i = 0; i < clients; ++i) {
    lobbies.emplace_back(new bdLobbyServiceImpl());
    lobbies.back()->connect(bdAddr(bdInetAddr::getLoopback(), server.getPort()),
                            lobbyserver::LobbyServer::makeCredentials(
                                kKey, static_cast<std::uint64_t>(i + 1), "bench"));
  }
  for (int round = 0; round < 100000 && server.getAuthenticatedCount() < unsigned(clients);
       ++round) {
    server.pump();
    for (auto& l : lobbies)
      l->getStatus();
  }
  std::vector<bdRemoteTaskRef> tasks(clients);
  for (auto _ : state) {
    for (int i = 0; i < clients; ++i)
      tasks[i] = lobbies[i]->getFriends()->startTask(5, 0);
    for (bool waiting = true; waiting;) {
      server.pump();
      waiting = false;
      for (int i = 0; i < clients; ++i) {
        lobbies[i]->getStatus();
        if (tasks[i].notNull() && tasks[i]->getStatus() == bdRemoteTask::BD_PENDING) waiting = true;
      }
    }
    for (auto& t : tasks) {
      if (t.notNull()) t->reset();
      t = nullptr;
    }
  }
  state.SetItemsProcessed(state.iterations() * clients);
  for (auto& l : lobbies)
    l->disconnect();
}
BENCHMARK(BM_LobbyRequests)->Arg(1)->Arg(16)->UseRealTime();

void BM_FrameCodec(benchmark::State& state) {
  startCore();
  const unsigned int size = static_cast<unsigned int>(state.range(0));
  const bool encrypt = state.range(1) != 0;
  std::vector<unsigned char> payload(size, 0x5A);
  std::vector<unsigned char> frame(size + 32);
  unsigned int seed = 0;
  for (auto _ : state) {
    const unsigned int n =
        bdStreamFrame::encode(frame.data(), static_cast<unsigned int>(frame.size()), 3,
                              payload.data(), size, encrypt, kKey, seed++);
    bdStreamFrame::Decoded out;
    benchmark::DoNotOptimize(
        bdStreamFrame::decode(frame.data(), n, bdStreamFrame::MAX_LENGTH, kKey, out));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
}
BENCHMARK(BM_FrameCodec)->Args({1024, 0})->Args({1024, 1})->Args({16384, 0})->Args({16384, 1});

}  // namespace

BENCHMARK_MAIN();
