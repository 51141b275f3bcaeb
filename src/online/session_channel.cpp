#include "online/session_channel.h"

#include "Modules/Core/Src/Types/String.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "online/game_message.h"
#include "online/online_lock.h"
#include "online/online_window_port.h"
#include "online/peer_sender.h"

namespace online {

namespace {

using OX_Toolbox::Blob;
using OX_Toolbox::BlobField;
using OX_Toolbox::String;

// The window shows narrow text: characters past Latin-1 become '?'.
std::string NarrowCopy(const String& text) {
  std::string narrow;
  for (const char16_t* c = text.c_wstr(); c != nullptr && *c != 0; ++c) {
    if (narrow.size() == static_cast<std::size_t>(kSessionChatMaxChars)) break;
    narrow.push_back(*c <= 0xff ? static_cast<char>(*c) : '?');
  }
  return narrow;
}

bool ReadTag(Blob& blob, int32_t& tag) {
  BlobField field{OX_Toolbox::OX_INT32, &tag, nullptr, 0};
  return blob.readFields(&field, 1);
}

}  // namespace

Blob MakeSessionChat(int32_t slot, const char* text) {
  std::string narrow(text != nullptr ? text : "");
  if (narrow.size() > static_cast<std::size_t>(kSessionChatMaxChars))
    narrow.resize(kSessionChatMaxChars);
  Blob blob;
  blob.writeInt32(blob.getSize(), kTagSessionChat);
  blob.writeInt32(blob.getSize(), slot);
  blob.writeString(blob.getSize(), String(narrow.c_str()));
  return blob;
}

Blob MakePlayerData(int32_t slot, const std::array<int32_t, 3>& values) {
  Blob blob;
  blob.writeInt32(blob.getSize(), kTagPlayerData);
  blob.writeInt32(blob.getSize(), slot);
  for (int32_t v : values)
    blob.writeInt32(blob.getSize(), v);
  return blob;
}

Blob MakeEjection() {
  Blob blob;
  blob.writeInt32(0, kTagEjection);
  return blob;
}

SessionChannel::SessionChannel(SessionWindowHost* host, PeerSender* sender,
                               OX_Toolbox::PeerMessenger* messenger)
    : PeerMessageSink(kSessionChannelKind),
      host_(host),
      sender_(sender != nullptr ? sender : &NetworkPeerSender()),
      messenger_(messenger) {}

SessionChannel::~SessionChannel() { Hide(); }

void SessionChannel::SetRecords(const std::vector<SessionPlayerRecord>& records, int32_t localSlot,
                                bool hosting) {
  std::lock_guard<std::mutex> lock(mutex_);
  records_ = records;
  if (records_.size() > static_cast<std::size_t>(kMaxSessionPlayers))
    records_.resize(kMaxSessionPlayers);
  localSlot_ = localSlot;
  hosting_ = hosting;
}

std::vector<SessionPlayerRecord> SessionChannel::Records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_;
}

int32_t SessionChannel::LocalSlot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return localSlot_;
}

uint32_t SessionChannel::DroppedCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}

void SessionChannel::Register(bool on) {
  OnlineLockGuard lock;
  OX_Toolbox::PeerMessenger* messenger = messenger_;
  if (messenger == nullptr) {
    OX_Toolbox::NetworkService* service = OX_Toolbox::NetworkService::find();
    messenger = service ? service->getMessenger() : nullptr;
  }
  if (messenger == nullptr) return;
  if (on)
    messenger->addSink(this);
  else
    messenger->removeSink(this);
}

void SessionChannel::Show() {
  if (shown_) return;
  if (host_ != nullptr) host_->ShowSessionWindow();
  shown_ = true;
  Register(true);
}

void SessionChannel::Hide() {
  if (!shown_) return;
  // Unregistered first, so no message reaches a channel on its way out.
  Register(false);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.clear();
    localSlot_ = -1;
  }
  if (host_ != nullptr) host_->DestroySessionWindow();
  shown_ = false;
}

bool SessionChannel::Send(const Blob& blob, int32_t target) {
  std::vector<OX_Toolbox::PlayerID> ids;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const int32_t count = static_cast<int32_t>(records_.size());
    const int32_t first = target >= 0 ? target : -1 - target;
    const int32_t end = target >= 0 ? target + 1 : count;
    for (int32_t i = first; i < end && i < count; ++i)
      ids.push_back(records_[i].id);
    if (target >= count) return false;
  }
  bool all = true;
  for (const OX_Toolbox::PlayerID& id : ids) {
    OnlineLockGuard lock;
    all =
        sender_->SendToPeer(id, kSessionChannelKind, blob) == OX_Toolbox::ERRORID_SUCCEEDED && all;
  }
  return all;
}

bool SessionChannel::SendPlayerRecord(int32_t index, int32_t target) {
  std::array<int32_t, 3> values;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index < 0 || index >= static_cast<int32_t>(records_.size())) return false;
    values = records_[index].values;
  }
  return Send(MakePlayerData(index, values), target);
}

bool SessionChannel::SendChat(const char* text) {
  if (text == nullptr || *text == '\0') return false;
  return Send(MakeSessionChat(LocalSlot(), text), 0);
}

bool SessionChannel::SendEjection(int32_t slot) {
  if (slot < 0) return false;  // a notice goes to one player only
  return Send(MakeEjection(), slot);
}

void SessionChannel::onMessage(int localPlayerIndex, Blob& message) {
  (void)localPlayerIndex;
  int32_t tag = 0;
  bool ok = ReadTag(message, tag);
  if (ok && tag == kTagSessionChat) {
    int32_t slot = -1;
    String text;
    BlobField fields[] = {{OX_Toolbox::OX_INT32, &slot, nullptr, 0},
                          {OX_Toolbox::OX_STRING, &text, nullptr, 0}};
    ok = message.readFields(fields, 2);
    if (ok) return OnChat(slot, NarrowCopy(text), message);
  } else if (ok && tag == kTagPlayerData) {
    int32_t slot = -1;
    std::array<int32_t, 3> values{};
    BlobField fields[] = {{OX_Toolbox::OX_INT32, &slot, nullptr, 0},
                          {OX_Toolbox::OX_INT32, &values[0], nullptr, 0},
                          {OX_Toolbox::OX_INT32, &values[1], nullptr, 0},
                          {OX_Toolbox::OX_INT32, &values[2], nullptr, 0}};
    ok = message.readFields(fields, 4);
    if (ok) return OnPlayerData(slot, values);
  } else if (ok && tag == kTagEjection) {
    if (OnlineWindowPort* port = GetOnlineWindowPort())
      port->PostToSessionWindow(kMsgEjected, 0, 0);
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  ++dropped_;
}

void SessionChannel::OnChat(int32_t slot, const std::string& text, Blob& original) {
  (void)original;
  bool relay;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (slot < 0 || slot >= static_cast<int32_t>(records_.size())) {
      ++dropped_;
      return;
    }
    relay = hosting_;
  }
  PostBytesToSessionWindow(kMsgSessionChat, static_cast<uintptr_t>(slot), text.c_str(),
                           text.size() + 1);
  if (relay) Send(MakeSessionChat(slot, text.c_str()), -2);
}

void SessionChannel::OnPlayerData(int32_t slot, const std::array<int32_t, 3>& values) {
  int32_t count;
  bool hosting;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    count = static_cast<int32_t>(records_.size());
    if (slot < 0 || slot >= count) {
      ++dropped_;
      return;
    }
    records_[slot].values = values;
    hosting = hosting_;
  }
  if (!hosting || slot < 1) return;
  SendPlayerRecord(slot, -2);
  for (int32_t i = 0; i < count; ++i)
    SendPlayerRecord(i, slot);
  if (host_ != nullptr) host_->OnPlayerRecordsChanged();
}

}  // namespace online
