#pragma once
// The game messages of a network game: the outgoing queue with its send
// modes, the receive path with the chat list and the lobby list, and the
// description slots the game rules read. The session is a star: players
// send to the host (slot 0), the host broadcasts its own messages and relays
// the others' to everyone else.
//
// Threads: OnPeerMessage and OnFriendChatLine run on the pump thread with
// the online lock held; everything else on the interface thread. The lists,
// the queue, the slots and the roster are guarded by the router's own mutex,
// a leaf: it is never held while sending or posting.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"
#include "online/game_message.h"
#include "online/item_queue.h"

namespace online {

class PeerSender;

// The players of the current session, in set-up order (slot 0 the host).
struct RosterPlayer {
  OX_Toolbox::PlayerID id;
  bool connected = false;
};

struct SessionRoster {
  std::vector<RosterPlayer> players;
  int32_t localSlot = -1;
  bool hosting = false;
};

// Where friend chat lines go (the friends side); none: they are dropped.
class FriendChatSink {
 public:
  virtual ~FriendChatSink() = default;
  virtual void OnFriendChatLine(uint64_t friendId, const char* text) = 0;
};

enum class SendMode : uint8_t {
  kToSlot = 0,
  kRelay = 1,      // every player but this machine's and the message's sender
  kBroadcast = 2,  // the host to slots 1 .. count-1, once two are connected
  kToHost = 3,
};

// Pauses that keep the peers from being flooded. Tests and the benchmark
// set them to zero.
struct SendPacing {
  uint32_t afterFlushedMessageMs = 100;
  bool waitAfterQueuedLine = true;  // size / 10 + 50 ms
};

constexpr int32_t kOutgoingQueueCapacity = 500;

class GameMessageRouter {
 public:
  explicit GameMessageRouter(PeerSender* sender = nullptr);
  ~GameMessageRouter();
  GameMessageRouter(const GameMessageRouter&) = delete;
  GameMessageRouter& operator=(const GameMessageRouter&) = delete;

  void SetRoster(const SessionRoster& roster);
  SessionRoster Roster() const;
  void SetPacing(const SendPacing& pacing) { pacing_ = pacing; }
  void SetFriendChatSink(FriendChatSink* sink);

  // --- sending (interface thread)
  // False when the queue is full (the message is then not sent).
  bool QueueOutgoingMessage(const uint8_t* bytes, std::size_t size, SendMode mode, int32_t target);
  // For the game rules: to the others (broadcast when hosting, else to the
  // host), then the pacing wait. Returns 0.
  int32_t QueueTextLineAndWait(const GameMessage& message);
  // For the chat window: a chat line from the local slot, queued like a text
  // line, then echoed to the game window.
  void SendChatLine(const char* text);
  // Sends every queued message in order.
  void FlushOutgoingMessages();
  // Drops every queued message unsent.
  void ClearOutgoingMessages();
  int32_t OutgoingCount() const;
  // One player: skipped for a missing or disconnected record.
  void SendToPlayer(int32_t slot, const uint8_t* bytes, std::size_t size);

  // --- receiving
  // Pump thread: a message of kind 8 from a peer (or this machine). A message
  // that fails CheckGameMessage is dropped.
  void OnPeerMessage(int32_t localPlayerIndex, OX_Toolbox::Blob& message);
  // Pump thread: a friend's chat line the session manager made.
  void OnFriendChatLine(const uint8_t* bytes, std::size_t size);
  // Interface thread, once a frame: the first lobby-list message, passed on
  // when it is a description; false when the list was empty.
  bool StepLobbyMessage();
  // Interface thread, every frame: every chat line.
  void DrainChatList();
  void HandleGameMessage(const GameMessage& message);
  // For the game rules: moves the first pending description into its slot.
  bool ApplyPendingGameDescription();
  // A new game: empties the description slots and the pending list and drops
  // queued chat lines of type 38.
  void ResetForGameStart();
  void ClearDescriptionSlots();
  void ClearHostDescriptionFlag();

  // --- what the game rules read
  bool HasHostDescription() const;
  GameMessage HostDescription() const;
  bool HasPlayerDescription(int32_t slot) const;
  GameMessage PlayerDescription(int32_t slot) const;
  std::size_t PendingDescriptionCount() const;
  std::size_t ChatListSize() const;
  std::size_t LobbyListSize() const;
  // The last message StepLobbyMessage took.
  GameMessage ReceiveBuffer() const;
  // Messages refused by the checks since construction.
  uint32_t DroppedCount() const;

 private:
  struct OutgoingRecord {
    SendMode mode;
    int32_t target;
    GameMessage message;
  };

  void Receive(GameMessage message);
  void SendQueuedMessage(const OutgoingRecord& record);
  std::vector<int32_t> Recipients(const OutgoingRecord& record) const;
  void PauseMs(uint32_t ms) const;

  PeerSender* sender_;
  SendPacing pacing_;
  mutable std::mutex mutex_;
  SessionRoster roster_;
  FriendChatSink* friendSink_ = nullptr;
  ItemQueue outgoing_{kOutgoingQueueCapacity, ItemQueue::kRing};
  std::deque<GameMessage> chatList_;
  std::deque<GameMessage> lobbyList_;
  std::deque<GameMessage> pendingDescriptions_;
  GameMessage hostDescription_;
  bool hostDescriptionSet_ = false;
  std::array<GameMessage, kMaxSessionPlayers> playerDescriptions_;
  GameMessage receiveBuffer_;
  uint32_t dropped_ = 0;
};

// Hands the transport's kind-8 messages to a router; registered with the
// peer messenger under the online lock and removed before it is deleted.
class GameMessagePeerSink : public OX_Toolbox::PeerMessageSink {
 public:
  explicit GameMessagePeerSink(GameMessageRouter& router)
      : PeerMessageSink(kGameMessageKind), router_(router) {}
  void onMessage(int localPlayerIndex, OX_Toolbox::Blob& message) override {
    router_.OnPeerMessage(localPlayerIndex, message);
  }

 private:
  GameMessageRouter& router_;
};

}  // namespace online
