// The online front-end: game messages relayed by the host between two
// players' routers over an in-process transport (the send pauses off, so the
// figure is the relay path's own cost), and the pump thread's CPU time while
// the toolbox is idle.
#include <benchmark/benchmark.h>

#include <ctime>
#include <map>
#include <memory>

#include "online/game_message_router.h"
#include "online/online_pump.h"
#include "online/peer_sender.h"
#include "platform/sync.h"

namespace {

class DirectSender : public online::PeerSender {
 public:
  OX_Toolbox::ERRORID SendToPeer(const OX_Toolbox::PlayerID& player, uint32_t,
                                 const OX_Toolbox::Blob& message) override {
    OX_Toolbox::Blob delivered(message.getData(), message.getSize(), OX_Toolbox::BLOB_READONLY);
    machines[player.getId()]->OnPeerMessage(0, delivered);
    return OX_Toolbox::ERRORID_SUCCEEDED;
  }
  std::map<uint64_t, online::GameMessageRouter*> machines;
};

void BM_RelayedGameMessages(benchmark::State& state) {
  DirectSender sender;
  std::unique_ptr<online::GameMessageRouter> routers[3];
  for (int slot = 0; slot < 3; ++slot) {
    routers[slot] = std::make_unique<online::GameMessageRouter>(&sender);
    routers[slot]->SetPacing(online::SendPacing{0, false});
    online::SessionRoster roster;
    for (int i = 0; i < 3; ++i)
      roster.players.push_back({OX_Toolbox::PlayerID(2, 100 + i), true});
    roster.localSlot = slot;
    roster.hosting = slot == 0;
    routers[slot]->SetRoster(roster);
    sender.machines[100 + slot] = routers[slot].get();
  }
  const online::GameMessage data =
      online::BuildDescriptionMessage(online::kMsgPlayerData, 1, nullptr, 0);
  for (auto _ : state) {
    routers[1]->QueueOutgoingMessage(data.data(), data.size(), online::SendMode::kToHost, -1);
    routers[1]->FlushOutgoingMessages();
    routers[0]->FlushOutgoingMessages();  // the relay to slot 2
    routers[0]->StepLobbyMessage();
    routers[2]->StepLobbyMessage();
    routers[0]->ApplyPendingGameDescription();
    routers[2]->ApplyPendingGameDescription();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RelayedGameMessages);

class IdleTarget : public online::PumpTarget {
 public:
  bool Exists() override { return true; }
  void Update(uint32_t) override {}
};

// Process CPU time over one second of pumping an idle toolbox.
void BM_PumpIdleCpu(benchmark::State& state) {
  IdleTarget target;
  for (auto _ : state) {
    online::OnlinePump pump(&target);
    const std::clock_t start = std::clock();
    pump.Start();
    platform::SleepMs(1000);
    pump.Stop();
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    state.counters["cpu_ms_per_s"] = cpuMs;
  }
}
BENCHMARK(BM_PumpIdleCpu)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
