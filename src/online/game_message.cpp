#include "online/game_message.h"

#include <cstring>

#include "platform/binio.h"

namespace online {

namespace {

void PutText(GameMessage& message, std::size_t offset, const char* text) {
  if (text == nullptr) return;
  std::size_t n = 0;
  while (n < kChatTextSize - 1 && text[n] != '\0')
    ++n;
  std::memcpy(message.data() + offset, text, n);  // the rest is already zero
}

bool Terminated(const uint8_t* bytes, std::size_t offset) {
  return std::memchr(bytes + offset, 0, kChatTextSize) != nullptr;
}

GameMessage Header(uint32_t type, int32_t slot) {
  GameMessage message(OnlineGameMessageSize(type), 0);
  ByteWriter out(message.data(), message.size());
  out.U32(type);
  out.I32(slot);
  return message;
}

}  // namespace

uint32_t OnlineGameMessageSize(uint32_t type) {
  switch (type) {
    case kMsgHostDescription:
    case kMsgPlayerData:
      return kDescriptionMessageSize;
    case kMsgChatLine:
      return kChatLineSize;
    case kMsgFriendChatLine:
      return kFriendChatLineSize;
    default:
      return kShortMessageSize;
  }
}

bool IsRelayableMessage(uint32_t type) {
  return type == kMsgHostDescription || type == kMsgPlayerData || type == kMsgChatLine;
}

uint32_t GameMessageType(const uint8_t* bytes, std::size_t size) {
  ByteReader in(bytes, size);
  return size < kShortMessageSize ? 0 : in.U32();
}

int32_t GameMessageSlot(const uint8_t* bytes, std::size_t size) {
  if (size < kShortMessageSize) return -1;
  ByteReader in(bytes, size);
  in.Skip(4);
  return in.I32();
}

GameMessageCheck CheckGameMessage(const uint8_t* bytes, std::size_t size, int32_t playerCount) {
  if (bytes == nullptr || size < kShortMessageSize) return GameMessageCheck::kTooShort;
  const uint32_t type = GameMessageType(bytes, size);
  if (size != OnlineGameMessageSize(type)) return GameMessageCheck::kWrongSize;
  if (type == kMsgFriendChatLine) return GameMessageCheck::kNotFromPeer;
  if (!IsRelayableMessage(type)) return GameMessageCheck::kOk;  // type and value only
  const int32_t slot = GameMessageSlot(bytes, size);
  if (slot < 0 || slot >= playerCount || slot >= kMaxSessionPlayers)
    return GameMessageCheck::kBadSlot;
  if (type == kMsgChatLine && !Terminated(bytes, kChatTextOffset))
    return GameMessageCheck::kUnterminated;
  return GameMessageCheck::kOk;
}

GameMessageCheck CheckFriendChatLine(const uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr || size < kShortMessageSize) return GameMessageCheck::kTooShort;
  if (GameMessageType(bytes, size) != kMsgFriendChatLine || size != kFriendChatLineSize)
    return GameMessageCheck::kWrongSize;
  if (GameMessageSlot(bytes, size) != -1) return GameMessageCheck::kBadSlot;
  if (!Terminated(bytes, kFriendChatTextOffset)) return GameMessageCheck::kUnterminated;
  return GameMessageCheck::kOk;
}

GameMessage BuildChatLine(int32_t slot, const char* text) {
  GameMessage message = Header(kMsgChatLine, slot);
  PutText(message, kChatTextOffset, text);
  return message;
}

GameMessage BuildFriendChatLine(uint64_t friendId, const char* text) {
  GameMessage message = Header(kMsgFriendChatLine, -1);
  ByteWriter out(message.data() + 8, 8);
  out.U64(friendId);
  PutText(message, kFriendChatTextOffset, text);
  return message;
}

GameMessage BuildShortMessage(uint32_t type, uint32_t value) {
  GameMessage message(kShortMessageSize, 0);
  ByteWriter out(message.data(), message.size());
  out.U32(type);
  out.U32(value);
  return message;
}

GameMessage BuildDescriptionMessage(uint32_t type, int32_t slot, const void* contents,
                                    std::size_t size) {
  GameMessage message = Header(type, slot);
  const std::size_t room = kDescriptionMessageSize - 8;
  if (contents != nullptr) std::memcpy(message.data() + 8, contents, size < room ? size : room);
  return message;
}

const char* GameMessageText(const GameMessage& message) {
  const uint32_t type = GameMessageType(message.data(), message.size());
  const std::size_t offset = type == kMsgFriendChatLine ? kFriendChatTextOffset : kChatTextOffset;
  if (message.size() < offset + kChatTextSize) return "";
  return reinterpret_cast<const char*>(message.data() + offset);
}

}  // namespace online
