#include "online/game_message_router.h"

#include <algorithm>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "online/online_lock.h"
#include "online/online_window_port.h"
#include "online/peer_sender.h"
#include "platform/binio.h"
#include "platform/sync.h"

namespace online {

namespace {

bool IsChatType(uint32_t type) { return type == kMsgChatLine || type == kMsgFriendChatLine; }

uint32_t TypeOf(const GameMessage& m) { return GameMessageType(m.data(), m.size()); }
int32_t SlotOf(const GameMessage& m) { return GameMessageSlot(m.data(), m.size()); }

}  // namespace

GameMessageRouter::GameMessageRouter(PeerSender* sender)
    : sender_(sender != nullptr ? sender : &NetworkPeerSender()) {}

GameMessageRouter::~GameMessageRouter() { ClearOutgoingMessages(); }

void GameMessageRouter::SetRoster(const SessionRoster& roster) {
  std::lock_guard<std::mutex> lock(mutex_);
  roster_ = roster;
  if (roster_.players.size() > static_cast<std::size_t>(kMaxSessionPlayers))
    roster_.players.resize(kMaxSessionPlayers);
}

SessionRoster GameMessageRouter::Roster() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return roster_;
}

void GameMessageRouter::SetFriendChatSink(FriendChatSink* sink) {
  std::lock_guard<std::mutex> lock(mutex_);
  friendSink_ = sink;
}

void GameMessageRouter::PauseMs(uint32_t ms) const {
  if (ms != 0) platform::SleepMs(ms);
}

// --- sending

bool GameMessageRouter::QueueOutgoingMessage(const uint8_t* bytes, std::size_t size, SendMode mode,
                                             int32_t target) {
  if (bytes == nullptr || size == 0) return false;
  auto* record = new OutgoingRecord{mode, target, GameMessage(bytes, bytes + size)};
  std::lock_guard<std::mutex> lock(mutex_);
  if (outgoing_.Push(0, record) == ItemQueue::kStored) return true;
  delete record;
  return false;
}

int32_t GameMessageRouter::QueueTextLineAndWait(const GameMessage& message) {
  const uint32_t size = OnlineGameMessageSize(TypeOf(message));
  const SendMode mode = Roster().hosting ? SendMode::kBroadcast : SendMode::kToHost;
  QueueOutgoingMessage(message.data(), std::min<std::size_t>(size, message.size()), mode, -1);
  if (pacing_.waitAfterQueuedLine) PauseMs(size / 10 + 50);
  return 0;
}

void GameMessageRouter::SendChatLine(const char* text) {
  const GameMessage line = BuildChatLine(Roster().localSlot, text);
  QueueTextLineAndWait(line);
  PostBytesToSlot(kGameWindowSlot, kMsgEchoChatLine, 0, line.data(), line.size());
}

void GameMessageRouter::FlushOutgoingMessages() {
  for (;;) {
    ItemQueue::Entry entry;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (outgoing_.Pop(&entry) != ItemQueue::kStored) return;
    }
    std::unique_ptr<OutgoingRecord> record(static_cast<OutgoingRecord*>(entry.item));
    SendQueuedMessage(*record);
    PauseMs(pacing_.afterFlushedMessageMs);
  }
}

void GameMessageRouter::ClearOutgoingMessages() {
  std::lock_guard<std::mutex> lock(mutex_);
  ItemQueue::Entry entry;
  while (outgoing_.Pop(&entry) == ItemQueue::kStored)
    delete static_cast<OutgoingRecord*>(entry.item);
}

int32_t GameMessageRouter::OutgoingCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return outgoing_.Count();
}

std::vector<int32_t> GameMessageRouter::Recipients(const OutgoingRecord& record) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const int32_t count = static_cast<int32_t>(roster_.players.size());
  std::vector<int32_t> slots;
  switch (record.mode) {
    case SendMode::kToSlot:
      slots.push_back(record.target);
      break;
    case SendMode::kRelay: {
      if (!IsRelayableMessage(TypeOf(record.message))) break;
      const int32_t sender = SlotOf(record.message);
      for (int32_t s = 0; s < count; ++s)
        if (s != roster_.localSlot && s != sender) slots.push_back(s);
      break;
    }
    case SendMode::kBroadcast: {
      const auto connected = std::count_if(roster_.players.begin(), roster_.players.end(),
                                           [](const RosterPlayer& p) { return p.connected; });
      if (!roster_.hosting || connected < 2) break;
      for (int32_t s = 1; s < count; ++s)
        slots.push_back(s);
      break;
    }
    case SendMode::kToHost:
      slots.push_back(0);
      break;
  }
  return slots;
}

void GameMessageRouter::SendQueuedMessage(const OutgoingRecord& record) {
  const std::size_t size = std::min<std::size_t>(record.message.size(), kMaxGameMessageSize);
  for (int32_t slot : Recipients(record))
    SendToPlayer(slot, record.message.data(), size);
}

void GameMessageRouter::SendToPlayer(int32_t slot, const uint8_t* bytes, std::size_t size) {
  OX_Toolbox::PlayerID id;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (slot < 0 || slot >= static_cast<int32_t>(roster_.players.size())) return;
    if (!roster_.players[slot].connected) return;
    id = roster_.players[slot].id;
  }
  size = std::min<std::size_t>(size, kMaxGameMessageSize);
  OX_Toolbox::Blob blob(bytes, static_cast<uint32_t>(size),
                        OX_Toolbox::BLOB_EXTRACT_AND_WRITE_ENABLED);
  OnlineLockGuard lock;
  sender_->SendToPeer(id, kGameMessageKind, blob);  // a lost message is not retried
}

// --- receiving

void GameMessageRouter::OnPeerMessage(int32_t localPlayerIndex, OX_Toolbox::Blob& message) {
  (void)localPlayerIndex;
  const uint32_t size = message.remaining(0);
  if (size == 0) return;
  unsigned char* bytes = message.extractBytes(0, size);
  if (bytes == nullptr) return;
  GameMessage copy(bytes, bytes + size);
  if (!message.isReadOnly()) OX_Toolbox::ToolboxFree(bytes);

  bool relay = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const int32_t count = static_cast<int32_t>(roster_.players.size());
    if (CheckGameMessage(copy.data(), copy.size(), count) != GameMessageCheck::kOk) {
      ++dropped_;
      return;
    }
    const int32_t sender = SlotOf(copy);
    relay = roster_.hosting && IsRelayableMessage(TypeOf(copy)) && sender >= 0 &&
            sender != roster_.localSlot;
  }
  if (relay) QueueOutgoingMessage(copy.data(), copy.size(), SendMode::kRelay, -1);
  Receive(std::move(copy));
}

void GameMessageRouter::OnFriendChatLine(const uint8_t* bytes, std::size_t size) {
  if (CheckFriendChatLine(bytes, size) != GameMessageCheck::kOk) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++dropped_;
    return;
  }
  Receive(GameMessage(bytes, bytes + size));
}

void GameMessageRouter::Receive(GameMessage message) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (IsChatType(TypeOf(message)))
    chatList_.push_back(std::move(message));
  else
    lobbyList_.push_back(std::move(message));
}

bool GameMessageRouter::StepLobbyMessage() {
  GameMessage message;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (lobbyList_.empty()) return false;
    message = std::move(lobbyList_.front());
    lobbyList_.pop_front();
    receiveBuffer_ = message;
  }
  const uint32_t type = TypeOf(message);
  if (type == kMsgHostDescription || type == kMsgPlayerData) HandleGameMessage(message);
  return true;  // any other type is dropped here
}

void GameMessageRouter::DrainChatList() {
  std::deque<GameMessage> lines;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines.swap(chatList_);
  }
  for (const GameMessage& line : lines)
    HandleGameMessage(line);
}

void GameMessageRouter::HandleGameMessage(const GameMessage& message) {
  const uint32_t type = TypeOf(message);
  const int32_t slot = SlotOf(message);
  std::unique_lock<std::mutex> lock(mutex_);
  const bool own = slot == roster_.localSlot;
  switch (type) {
    case kMsgHostDescription:
      if (own || message.size() != kDescriptionMessageSize) return;
      hostDescription_ = message;
      hostDescriptionSet_ = true;
      return;
    case kMsgPlayerData: {
      if (!own && message.size() == kDescriptionMessageSize)
        pendingDescriptions_.push_back(message);
      lock.unlock();
      // Wakes the game screen, which waits for the others' data.
      if (OnlineWindowPort* port = GetOnlineWindowPort())
        port->PostToForeground(kWmLButtonUp, 0, 0);
      return;
    }
    case kMsgChatLine:
      if (roster_.hosting && own) return;  // the host echoed its own line when sending it
      lock.unlock();
      PostBytesToSlot(kGameWindowSlot, kMsgEchoChatLine, 0, message.data(), message.size());
      return;
    case kMsgFriendChatLine: {
      FriendChatSink* sink = friendSink_;
      lock.unlock();
      if (sink == nullptr || message.size() != kFriendChatLineSize) return;
      ByteReader in(message.data() + 8, 8);
      sink->OnFriendChatLine(in.U64(), GameMessageText(message));
      return;
    }
    default:
      return;
  }
}

bool GameMessageRouter::ApplyPendingGameDescription() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (pendingDescriptions_.empty()) return false;
  GameMessage message = std::move(pendingDescriptions_.front());
  pendingDescriptions_.pop_front();
  const int32_t slot = SlotOf(message);
  if (TypeOf(message) == kMsgHostDescription) {
    hostDescription_ = std::move(message);
    hostDescriptionSet_ = true;
  } else if (slot >= 0 && slot < kMaxSessionPlayers) {
    playerDescriptions_[slot] = std::move(message);
  }
  return true;
}

void GameMessageRouter::ResetForGameStart() {
  std::lock_guard<std::mutex> lock(mutex_);
  hostDescription_.clear();
  hostDescriptionSet_ = false;
  for (GameMessage& slot : playerDescriptions_)
    slot.clear();
  pendingDescriptions_.clear();
  chatList_.erase(std::remove_if(chatList_.begin(), chatList_.end(),
                                 [](const GameMessage& m) { return TypeOf(m) == kMsgChatLine; }),
                  chatList_.end());
}

void GameMessageRouter::ClearDescriptionSlots() {
  std::lock_guard<std::mutex> lock(mutex_);
  hostDescription_.clear();
  hostDescriptionSet_ = false;
  for (GameMessage& slot : playerDescriptions_)
    slot.clear();
}

void GameMessageRouter::ClearHostDescriptionFlag() {
  std::lock_guard<std::mutex> lock(mutex_);
  hostDescriptionSet_ = false;
}

bool GameMessageRouter::HasHostDescription() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return hostDescriptionSet_;
}

GameMessage GameMessageRouter::HostDescription() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return hostDescription_;
}

bool GameMessageRouter::HasPlayerDescription(int32_t slot) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return slot >= 0 && slot < kMaxSessionPlayers && !playerDescriptions_[slot].empty();
}

GameMessage GameMessageRouter::PlayerDescription(int32_t slot) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (slot < 0 || slot >= kMaxSessionPlayers) return {};
  return playerDescriptions_[slot];
}

std::size_t GameMessageRouter::PendingDescriptionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pendingDescriptions_.size();
}

std::size_t GameMessageRouter::ChatListSize() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return chatList_.size();
}

std::size_t GameMessageRouter::LobbyListSize() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lobbyList_.size();
}

GameMessage GameMessageRouter::ReceiveBuffer() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return receiveBuffer_;
}

uint32_t GameMessageRouter::DroppedCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}

}  // namespace online
