#pragma once
// Game messages: the small fixed-size records the players' machines exchange
// during a network game, little-endian, each starting with its 32-bit type.
//
//   type 19 host game description  553 bytes: u32 type, i32 slot, contents
//   type 20 player data            553 bytes: u32 type, i32 slot, contents
//   type 38 chat line              520 bytes: u32 type, i32 slot, char[512]
//   type 39 friend chat line       528 bytes: u32 type, i32 -1, u64 friend id,
//                                             char[512]
//   any other type                   8 bytes: u32 type, u32 value
//
// Everything received is checked with CheckGameMessage before it is kept:
// the exact size of its type, a sender slot inside the session's players and
// a terminated text.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace online {

constexpr uint32_t kMsgHostDescription = 19;
constexpr uint32_t kMsgPlayerData = 20;
constexpr uint32_t kMsgChatLine = 38;
constexpr uint32_t kMsgFriendChatLine = 39;

constexpr uint32_t kDescriptionMessageSize = 553;
constexpr uint32_t kChatLineSize = 520;
constexpr uint32_t kFriendChatLineSize = 528;
constexpr uint32_t kShortMessageSize = 8;
constexpr uint32_t kChatTextSize = 512;
constexpr uint32_t kChatTextOffset = 8;
constexpr uint32_t kFriendChatTextOffset = 16;
constexpr uint32_t kMaxGameMessageSize = 1024;

// The peer message kinds of the game's two channels.
constexpr uint32_t kGameMessageKind = 8;
constexpr uint32_t kSessionChannelKind = 9;

// A game set-up holds at most this many players.
constexpr int32_t kMaxSessionPlayers = 200;

using GameMessage = std::vector<uint8_t>;

uint32_t OnlineGameMessageSize(uint32_t type);
// Host descriptions, player data and chat lines are relayed by the host.
bool IsRelayableMessage(uint32_t type);

// The type and sender slot of a message of at least 8 bytes (0 and -1 for a
// shorter one).
uint32_t GameMessageType(const uint8_t* bytes, std::size_t size);
int32_t GameMessageSlot(const uint8_t* bytes, std::size_t size);

enum class GameMessageCheck {
  kOk,
  kTooShort,      // fewer than 8 bytes
  kWrongSize,     // not the size of its type
  kBadSlot,       // sender slot outside the session's players
  kUnterminated,  // a chat text without its terminator
  kNotFromPeer,   // a friend chat line, which only this machine makes
};

// Checks a message received from a peer of a session of playerCount players.
GameMessageCheck CheckGameMessage(const uint8_t* bytes, std::size_t size, int32_t playerCount);
// The same for a friend chat line made on this machine.
GameMessageCheck CheckFriendChatLine(const uint8_t* bytes, std::size_t size);

// Texts keep at most 511 characters and always end with a terminator.
GameMessage BuildChatLine(int32_t slot, const char* text);
GameMessage BuildFriendChatLine(uint64_t friendId, const char* text);
GameMessage BuildShortMessage(uint32_t type, uint32_t value);
// A description or player-data message around contents of up to 545 bytes.
GameMessage BuildDescriptionMessage(uint32_t type, int32_t slot, const void* contents,
                                    std::size_t size);

// The text of a checked chat line or friend chat line.
const char* GameMessageText(const GameMessage& message);

}  // namespace online
