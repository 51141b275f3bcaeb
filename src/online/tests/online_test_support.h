#pragma once
// Fakes of the online front-end's window side and transport.
#include <algorithm>
#include <cstdint>
#include <string>
#include <map>
#include <mutex>
#include <vector>

#include "online/game_message_router.h"
#include "online/online_window_port.h"
#include "online/peer_sender.h"

namespace online_test {

struct Post {
  enum Target { kSlot, kForeground, kSession } target;
  int32_t slot;
  uint32_t message;
  uintptr_t wParam;
  std::vector<uint8_t> bytes;  // the lParam copy, when one was posted
};

// Records every post; byte copies are taken and freed as a window would.
class RecordingWindowPort : public online::OnlineWindowPort {
 public:
  RecordingWindowPort() { previous_ = online::SetOnlineWindowPort(this); }
  ~RecordingWindowPort() override { online::SetOnlineWindowPort(previous_); }

  bool PostToSlot(int32_t slot, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    return Record(Post::kSlot, slot, message, wParam, lParam);
  }
  bool PostToForeground(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    return Record(Post::kForeground, -1, message, wParam, lParam);
  }
  bool PostToSessionWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    return Record(Post::kSession, -1, message, wParam, lParam);
  }
  void DebugOutput(const char* text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    debug.push_back(text);
  }

  std::vector<Post> Posts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return posts;
  }

  std::vector<Post> posts;
  std::vector<std::string> debug;

 private:
  bool Record(Post::Target target, int32_t slot, uint32_t message, uintptr_t wParam,
              intptr_t lParam) {
    std::lock_guard<std::mutex> lock(mutex_);
    Post post{target, slot, message, wParam, {}};
    if (lParam != 0 &&
        (message == online::kMsgEchoChatLine || message == online::kMsgSessionChat)) {
      auto* bytes = reinterpret_cast<unsigned char*>(lParam);
      post.bytes.assign(bytes, bytes + online::PostedBytesSize(bytes));
      online::FreePostedBytes(bytes);
    }
    posts.push_back(post);
    return true;
  }

  std::mutex mutex_;
  online::OnlineWindowPort* previous_;
};

// Routers in one process: a send to a player's id reaches the router of the
// machine that player sits at, as the transport would deliver it.
class LoopbackSender : public online::PeerSender {
 public:
  struct Sent {
    uint64_t to;
    uint32_t kind;
    std::vector<uint8_t> bytes;
  };

  void Attach(uint64_t playerId, online::GameMessageRouter* router) { machines[playerId] = router; }
  void AttachChannel(uint64_t playerId, OX_Toolbox::PeerMessageSink* sink) {
    channels[playerId] = sink;
  }

  OX_Toolbox::ERRORID SendToPeer(const OX_Toolbox::PlayerID& player, uint32_t kind,
                                 const OX_Toolbox::Blob& message) override {
    std::vector<uint8_t> bytes(message.getData(), message.getData() + message.getSize());
    sent.push_back(Sent{player.getId(), kind, bytes});
    OX_Toolbox::Blob delivered(bytes.data(), static_cast<uint32_t>(bytes.size()),
                               OX_Toolbox::BLOB_READONLY);
    if (kind == online::kSessionChannelKind) {
      auto it = channels.find(player.getId());
      if (it == channels.end()) return OX_Toolbox::ERRORID_FAILED;
      it->second->onMessage(0, delivered);
      return OX_Toolbox::ERRORID_SUCCEEDED;
    }
    auto it = machines.find(player.getId());
    if (it == machines.end()) return OX_Toolbox::ERRORID_FAILED;
    it->second->OnPeerMessage(0, delivered);
    return OX_Toolbox::ERRORID_SUCCEEDED;
  }

  std::map<uint64_t, online::GameMessageRouter*> machines;
  std::map<uint64_t, OX_Toolbox::PeerMessageSink*> channels;
  std::vector<Sent> sent;
};

}  // namespace online_test
