#pragma once
// The session window's channel: while players gather before a game, their
// data, the session chat and the host's ejection notice travel as typed
// blobs under peer message kind 9. The host relays chat lines and player
// data to the other players; an ejection notice goes to its player alone.
//
// Every blob starts with an int32 tag:
//   0x12002 session chat   int32 sender slot, string text (at most 511)
//   0x12004 player data    int32 slot, three int32 values
//   0x12008 ejection       nothing more
// A blob whose values do not have these types, or a slot outside the
// player records, is dropped.
//
// Threads: onMessage runs on the pump thread with the online lock held and
// only posts to the session window; the rest runs on the interface thread.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"

namespace online {

class PeerSender;

constexpr int32_t kTagSessionChat = 0x12002;
constexpr int32_t kTagPlayerData = 0x12004;
constexpr int32_t kTagEjection = 0x12008;
constexpr int32_t kSessionChatMaxChars = 511;

struct SessionPlayerRecord {
  OX_Toolbox::PlayerID id;
  bool connected = false;
  std::array<int32_t, 3> values{};
};

// The window side of the channel.
class SessionWindowHost {
 public:
  virtual ~SessionWindowHost() = default;
  // Creates (when missing) and shows the staging area; false when it could
  // not be made.
  virtual bool ShowSessionWindow() = 0;
  virtual void DestroySessionWindow() = 0;
  // Pump thread, online lock held: the host's records changed (a player's
  // data arrived); the session's player list is published from here.
  virtual void OnPlayerRecordsChanged() {}
};

class SessionChannel : public OX_Toolbox::PeerMessageSink {
 public:
  // Null sender: the network service's transport. Null messenger: the
  // network service's, looked up when the channel is shown or hidden.
  SessionChannel(SessionWindowHost* host, PeerSender* sender = nullptr,
                 OX_Toolbox::PeerMessenger* messenger = nullptr);
  ~SessionChannel() override;

  void SetRecords(const std::vector<SessionPlayerRecord>& records, int32_t localSlot, bool hosting);
  std::vector<SessionPlayerRecord> Records() const;
  int32_t LocalSlot() const;
  bool IsShown() const { return shown_; }

  // Shows the session window and starts listening; Hide stops listening,
  // drops the records and destroys the window.
  void Show();
  void Hide();

  // target >= 0: that record; target < 0: every record from -1 - target
  // (-1 all, -2 all but the host). True when every send succeeded.
  bool Send(const OX_Toolbox::Blob& blob, int32_t target);
  bool SendPlayerRecord(int32_t index, int32_t target);
  // The session chat line from the window's edit box, to the host.
  bool SendChat(const char* text);
  // The host ejects the player of that slot.
  bool SendEjection(int32_t slot);

  void onMessage(int localPlayerIndex, OX_Toolbox::Blob& message) override;

  // Messages refused by the checks since construction.
  uint32_t DroppedCount() const;

 private:
  void OnChat(int32_t slot, const std::string& text, OX_Toolbox::Blob& original);
  void OnPlayerData(int32_t slot, const std::array<int32_t, 3>& values);
  void Register(bool on);

  SessionWindowHost* host_;
  PeerSender* sender_;
  OX_Toolbox::PeerMessenger* messenger_;
  bool shown_ = false;
  mutable std::mutex mutex_;  // a leaf: never held while sending or posting
  std::vector<SessionPlayerRecord> records_;
  int32_t localSlot_ = -1;
  bool hosting_ = false;
  uint32_t dropped_ = 0;
};

// The blobs of the channel.
OX_Toolbox::Blob MakeSessionChat(int32_t slot, const char* text);
OX_Toolbox::Blob MakePlayerData(int32_t slot, const std::array<int32_t, 3>& values);
OX_Toolbox::Blob MakeEjection();

}  // namespace online
