#pragma once
// Peer messengers in one process: each machine's route layer is a
// LoopbackConnections on a shared switchboard that hands envelopes to the
// machine at the addressed common address, and each machine has its own
// logged-in players.
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "Modules/NetworkService/Src/PeerConnections.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"

namespace peer_test {

using OX_Toolbox::Blob;
using Bytes = std::vector<std::uint8_t>;
using OX_Toolbox::PeerAddress;
using OX_Toolbox::PlayerID;

inline PeerAddress machineAddress(std::uint8_t machine) {
  PeerAddress a;
  a.commonAddr[0] = machine;
  a.port = static_cast<std::uint16_t>(3000 + machine);
  return a;
}

class LoopbackConnections;

struct Switchboard {
  std::map<std::uint8_t, LoopbackConnections*> machines;
};

class LoopbackConnections : public OX_Toolbox::PeerConnections {
 public:
  LoopbackConnections(Switchboard& board, std::uint8_t machine)
      : m_board(board), m_self(machineAddress(machine)) {
    board.machines[machine] = this;
  }
  ~LoopbackConnections() override { m_board.machines.erase(m_self.commonAddr[0]); }

  bool getNextMessage(PeerAddress& from, Blob& out) override {
    if (inbox.empty()) return false;
    from = inbox.front().first;
    const std::vector<std::uint8_t>& bytes = inbox.front().second;
    auto* copy = static_cast<unsigned char*>(OX_Toolbox::ToolboxAlloc(bytes.size() + 1));
    std::copy(bytes.begin(), bytes.end(), copy);
    out.setData(copy, static_cast<std::uint32_t>(bytes.size()));
    out.setOwnsData(true);
    inbox.erase(inbox.begin());
    return true;
  }
  void attach() override { ++attaches; }
  bool send(const PeerAddress& to, const Blob& envelope) override {
    ++sends;
    if (!routes.count(to.commonAddr[0])) return false;
    auto peer = m_board.machines.find(to.commonAddr[0]);
    if (peer == m_board.machines.end()) return false;
    peer->second->inbox.emplace_back(
        m_self,
        std::vector<std::uint8_t>(envelope.getData(), envelope.getData() + envelope.getSize()));
    return true;
  }
  std::uint32_t openRoute(const PeerAddress& to) override {
    routes.insert(to.commonAddr[0]);
    return record(OX_Toolbox::ERRORID_SUCCEEDED);
  }
  std::uint32_t closeRoute(const PeerAddress& to) override {
    routes.erase(to.commonAddr[0]);
    return record(OX_Toolbox::ERRORID_SUCCEEDED);
  }
  std::uint32_t closeAllRoutes() override {
    routes.clear();
    return record(OX_Toolbox::ERRORID_SUCCEEDED);
  }
  std::uint32_t requestStatus(std::uint32_t id) override {
    auto it = results.find(id);
    return it == results.end() || !held.count(id) ? OX_Toolbox::kRouteRequestDone : 0;
  }
  OX_Toolbox::ERRORID takeRequestResult(std::uint32_t id) override {
    auto it = results.find(id);
    const OX_Toolbox::ERRORID r = it == results.end() ? OX_Toolbox::ERRORID_FAILED : it->second;
    if (it != results.end()) results.erase(it);
    return r;
  }

  const PeerAddress& self() const { return m_self; }

  std::vector<std::pair<PeerAddress, std::vector<std::uint8_t>>> inbox;
  std::set<std::uint8_t> routes;
  std::map<std::uint32_t, OX_Toolbox::ERRORID> results;
  std::set<std::uint32_t> held;  // requests kept pending by the test
  int sends = 0;
  int attaches = 0;

 private:
  std::uint32_t record(OX_Toolbox::ERRORID result) {
    const std::uint32_t id = OX_Toolbox::NextRouteRequestId();
    results[id] = result;
    return id;
  }
  Switchboard& m_board;
  PeerAddress m_self;
};

class FakePlayers : public OX_Toolbox::LocalPlayerView {
 public:
  int loggedInIndex(const PlayerID& id) const override {
    for (int i = 0; i < 4; ++i) {
      if (slots[i].getConnectionType() != OX_Toolbox::CONNECTIONTYPE_INVALID && slots[i] == id)
        return i;
    }
    return -1;
  }
  PlayerID slotPlayer(int slot, std::int32_t type) const override {
    return slots[slot].getConnectionType() == type ? slots[slot] : PlayerID();
  }
  std::array<PlayerID, 4> slots{};
};

// Records each message with the slot it was delivered to.
class RecordingSink : public OX_Toolbox::PeerMessageSink {
 public:
  explicit RecordingSink(std::uint32_t tag) : PeerMessageSink(tag) {}
  void onMessage(int slot, Blob& message) override {
    got.emplace_back(slot, std::vector<std::uint8_t>(message.getData() + message.getCursor(),
                                                     message.getData() + message.getSize()));
  }
  std::vector<std::pair<int, std::vector<std::uint8_t>>> got;
};

// One machine: its players, its route layer and its messenger.
struct Machine {
  Machine(Switchboard& board, std::uint8_t number) : messenger(&players) {
    connections = new LoopbackConnections(board, number);
    messenger.setConnections(connections);
  }
  FakePlayers players;
  OX_Toolbox::PeerMessenger messenger;
  LoopbackConnections* connections;  // owned by the messenger
};

}  // namespace peer_test
