#pragma once
// Tagged messages between the toolbox instances of one session's machines.
// A message goes to the machine a player sits at inside a checksummed
// envelope and reaches, on that machine, the first sink registered for its
// tag. A message for a player logged in on this machine is delivered at once
// and never touches the network. Owned by the network service, pumped on
// every update; everything runs on the pump thread.
//
// Envelope (typed values): u64 checksum (the first 8 bytes of the MD5 of all
// that follows, little-endian), u32 version, i8 sender count, the sender
// machine's players (slot 3 first), the recipient, u32 tag, then the
// message's bytes raw to the end.
#include <cstdint>
#include <memory>
#include <vector>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/NetworkService/Src/PeerConnections.h"
#include "Modules/Session/Src/SessionTypes.h"

namespace OX_Toolbox {

constexpr std::uint32_t kPeerProtocolVersion = 0x00030100;

// Tags are four characters read big-endian: PeerTag("MMDS") == 0x4D4D4453.
constexpr std::uint32_t PeerTag(const char (&text)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

class PeerMessageSink {
 public:
  explicit PeerMessageSink(std::uint32_t tag) : tag(tag) {}
  virtual ~PeerMessageSink() = default;
  // The blob holds exactly the bytes given to SendMessageToPlayer.
  virtual void onMessage(int localPlayerIndex, Blob& message) = 0;
  std::uint32_t tag;
};

class PeerRouteListener {
 public:
  virtual ~PeerRouteListener() = default;
  virtual void onRouteResult(std::uint32_t requestId, ERRORID result) = 0;
};

// Which players are logged in on this machine. The default reads the toolbox
// core; tests running two messengers in one process give each its own.
class LocalPlayerView {
 public:
  virtual ~LocalPlayerView() = default;
  // The local slot of the logged-in player with this id, or -1.
  virtual int loggedInIndex(const PlayerID& id) const = 0;
  // The id, for that connection type, of the player logged in at the slot;
  // an invalid id when the slot is empty.
  virtual PlayerID slotPlayer(int slot, std::int32_t connectionType) const = 0;
};

struct PeerRecord {
  PlayerID id;
  PeerAddress address;
};

class PeerMessenger : public ToolboxObject {
 public:
  // Null view: the toolbox core's logged-in players.
  explicit PeerMessenger(const LocalPlayerView* view = nullptr);
  virtual ~PeerMessenger();
  PeerMessenger(const PeerMessenger&) = delete;
  PeerMessenger& operator=(const PeerMessenger&) = delete;

  // Takes ownership; set once by the network service.
  void setConnections(PeerConnections* connections);
  PeerConnections* getConnections() const { return m_connections.get(); }

  // To the first sink whose tag matches; dropped when none does.
  virtual void dispatchToSink(int localPlayerIndex, std::uint32_t tag, Blob& message);
  void addSink(PeerMessageSink* sink);
  void removeSink(PeerMessageSink* sink);
  bool hasSink(std::uint32_t tag) const;

  // One address per player: a new address replaces the old one.
  void registerPeer(const PlayerID& id, const PeerAddress& address);
  // The address registered for the player, or null.
  const PeerAddress* findPeer(const PlayerID& id) const;
  const std::vector<PeerRecord>& peers() const { return m_peers; }

  // Result in LastResult(): SUCCEEDED, or FAILED when the player's address
  // is unknown, no route leads there or the network refused the message.
  void SendMessageToPlayer(const PlayerID& recipient, std::uint32_t tag, const Blob& message);

  // Hooks the routes into the network, delivers what arrived since the last
  // pump in arrival order and reports decided route requests.
  void pump();

  // Each returns the request id; the outcome reaches the listener from a
  // later pump (null: nobody is told).
  std::uint32_t openRouteTo(PeerRouteListener* listener, const PeerRecord& record);
  std::uint32_t closeRouteTo(PeerRouteListener* listener, const PlayerID& id);
  std::uint32_t closeAllRoutes(PeerRouteListener* listener);
  // Stops reporting to a listener that is going away.
  void detach(PeerRouteListener* listener);

  // The envelope SendMessageToPlayer sends; false when the message cannot
  // be wrapped.
  bool buildEnvelope(const PlayerID& recipient, std::uint32_t tag, const Blob& message,
                     Blob& envelope) const;

 private:
  struct RouteRequest {
    std::uint32_t requestId;
    PeerRouteListener* listener;
    bool detached;
  };

  void receive(const PeerAddress& from, Blob& envelope);
  int localIndex(const PlayerID& id) const;
  std::uint32_t track(PeerRouteListener* listener, std::uint32_t requestId);

  std::vector<RouteRequest> m_requests;
  std::vector<PeerMessageSink*> m_sinks;
  std::vector<PeerRecord> m_peers;
  std::unique_ptr<PeerConnections> m_connections;
  const LocalPlayerView* m_view;
};

}  // namespace OX_Toolbox
