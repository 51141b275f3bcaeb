#include "game/player_message.h"

#include <algorithm>
#include <cstring>

#include "platform/binio.h"

int PlayerDataMessage::WordCount() const {
  int n = 0;
  while (n < kMessageWordCount && words[n].text[0] != 0)
    ++n;
  return n;
}

void PlayerDataMessage::SetWords(const RobotMove* moves, int n) {
  for (PlayerMessageWord& w : words)
    w = PlayerMessageWord();
  n = std::clamp(n, 0, moves ? kMessageWordCount : 0);
  for (int i = 0; i < n; ++i) {
    const RobotMove& m = moves[i];
    PlayerMessageWord& w = words[i];
    const char* text = m.word;
    while (text < m.word + kMoveWordSize && *text == 0)
      ++text;  // records built from the view may carry leading NULs
    const size_t room = static_cast<size_t>(m.word + kMoveWordSize - text);
    const size_t len = std::min(strnlen(text, room), sizeof w.text - 1);
    std::memcpy(w.text, text, len);
    w.score = m.score;
    w.column = m.column;
    w.row = m.row;
    w.direction = m.direction ? 1 : 0;
  }
}

RobotMove PlayerDataMessage::WordAsMove(int i) const {
  RobotMove m;
  if (i < 0 || i >= kMessageWordCount) return m;
  const PlayerMessageWord& w = words[i];
  const size_t len = strnlen(w.text, sizeof w.text - 1);
  std::memcpy(m.word, w.text, len);
  m.length = static_cast<uint8_t>(len);
  m.score = w.score;
  m.column = static_cast<uint8_t>(std::clamp(w.column, 0, 255));
  m.row = static_cast<uint8_t>(std::clamp(w.row, 0, 255));
  m.direction = w.direction ? 1 : 0;
  return m;
}

void EncodePlayerMessage(const PlayerDataMessage& message, uint8_t out[kPlayerMessageSize]) {
  ByteWriter w(out, kPlayerMessageSize);
  w.I32(message.type);
  w.I32(message.turnIndex);
  w.I32(message.request);
  for (const PlayerMessageWord& word : message.words) {
    w.Bytes(word.text, sizeof word.text);
    w.I32(word.score);
    w.I32(word.column);
    w.I32(word.row);
    w.I32(word.direction);
  }
  w.Bytes(message.rack, sizeof message.rack);
  w.I32(message.rackCount);
  w.I32(message.timeLeftMs);
}

bool DecodePlayerMessage(const uint8_t* data, size_t size, PlayerDataMessage& message) {
  if (!data || size != kPlayerMessageSize) return false;
  ByteReader r(data, size);
  PlayerDataMessage m;
  m.type = r.I32();
  if (m.type != kPlayerMessageType) return false;
  m.turnIndex = r.I32();
  m.request = r.I32();
  for (PlayerMessageWord& word : m.words) {
    r.Bytes(word.text, sizeof word.text);
    word.text[sizeof word.text - 1] = 0;
    word.score = r.I32();
    word.column = r.I32();
    word.row = r.I32();
    word.direction = r.I32();
  }
  r.Bytes(m.rack, sizeof m.rack);
  m.rack[kRackTextSize - 1] = 0;
  m.rackCount = r.I32();
  m.timeLeftMs = r.I32();
  if (!r.ok()) return false;
  message = m;
  return true;
}

namespace {

bool IsKnownRequest(int32_t request) {
  switch (request) {
    case kRequestPass:
    case kRequestExchange:
    case kRequestPlay:
    case kRequestChallenge:
    case kRequestOutOfTime:
    case kRequestForfeit:
      return true;
    default:
      return false;
  }
}

MessageFault CheckWord(const PlayerMessageWord& w, int side) {
  const int len = static_cast<int>(strnlen(w.text, sizeof w.text));
  if (len < 2 || len > side) return MessageFault::kWordText;
  for (int i = 0; i < len; ++i)
    if (!IsPlacedLetter(w.text[i])) return MessageFault::kWordText;
  const int along = w.direction ? w.row : w.column;
  const int across = w.direction ? w.column : w.row;
  if (across < 0 || across >= side || along < 0 || along > side - len)
    return MessageFault::kPlacement;
  if (w.score < 0 || w.score > kMaxMessageScore) return MessageFault::kScore;
  return MessageFault::kNone;
}

MessageFault CheckRack(const PlayerDataMessage& m, int rackSize) {
  int tiles = 0;
  for (int i = 0; i < kRackTextSize; ++i) {
    const char c = m.rack[i];
    if (IsEmptyRackPlace(c)) continue;
    if (i >= rackSize || !(IsTileLetter(c) || c == kUnassignedBlank)) return MessageFault::kRack;
    ++tiles;
  }
  if (m.rackCount != tiles) return MessageFault::kRackCount;
  return MessageFault::kNone;
}

}  // namespace

MessageFault CheckPlayerMessage(const PlayerDataMessage& message, int boardSide, int rackSize) {
  if (!IsKnownRequest(message.request)) return MessageFault::kRequest;
  boardSide = std::clamp(boardSide, 0, kMessageWordTextSize - 1);
  rackSize = std::clamp(rackSize, 0, kMaxRackPlaces);
  const int n = message.WordCount();
  if (message.request == kRequestPlay && n == 0) return MessageFault::kNoWords;
  for (int i = 0; i < n; ++i) {
    const MessageFault fault = CheckWord(message.words[i], boardSide);
    if (fault != MessageFault::kNone) return fault;
  }
  return CheckRack(message, rackSize);
}
