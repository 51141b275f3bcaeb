#pragma once
// The turn message a network game sends to the other players after every
// decision of a local or computer player (message type 20, 553 bytes,
// little-endian):
//
//   0    type (20)
//   4    the game's turnIndex
//   8    the player's request (1, 2, 3, 4, -1 or -2)
//   12   16 word entries of 32 bytes: text (16 bytes, NUL-terminated), score
//        (the record's move total), column, row, direction (non-zero down);
//        the list ends at the first empty text
//   524  the rack text after the decision (21 bytes)
//   545  rackCount
//   549  timeLeftMs (0 unless clocks run)
//
// A peer's message is untrusted: DecodePlayerMessage checks the frame,
// CheckPlayerMessage every field against the game before anything is
// applied.
#include <cstddef>
#include <cstdint>

#include "rules/robot_move.h"
#include "rules/letters.h"

constexpr int32_t kPlayerMessageType = 20;
constexpr size_t kPlayerMessageSize = 553;
constexpr int kMessageWordCount = 16;
constexpr int kMessageWordTextSize = 16;  // 15 letters and the NUL
// A move's score cannot come near this; a larger one is a damaged message.
constexpr int32_t kMaxMessageScore = 10000;

// The player's request as carried by the message (GamePlayer::request).
enum PlayerRequest : int32_t {
  kRequestNone = 0,
  kRequestPass = 1,
  kRequestExchange = 2,
  kRequestPlay = 3,
  kRequestChallenge = 4,
  kRequestOutOfTime = -1,
  kRequestForfeit = -2,
};

struct PlayerMessageWord {
  char text[kMessageWordTextSize] = {};
  int32_t score = 0;
  int32_t column = 0;
  int32_t row = 0;
  int32_t direction = 0;
};

struct PlayerDataMessage {
  int32_t type = kPlayerMessageType;
  int32_t turnIndex = 0;
  int32_t request = kRequestNone;
  PlayerMessageWord words[kMessageWordCount];
  char rack[kRackTextSize] = {};
  int32_t rackCount = 0;
  int32_t timeLeftMs = 0;

  // Entries before the first empty text.
  int WordCount() const;
  // Fills the entries from move records (at most kMessageWordCount; a
  // longer text is cut to 15 letters). Each entry's score is the record's
  // score field (the move total in the first record).
  void SetWords(const RobotMove* moves, int n);
  // The entry as a move record: text, length, score in the move-total
  // field, column, row, direction 0 or 1.
  RobotMove WordAsMove(int i) const;
};

void EncodePlayerMessage(const PlayerDataMessage& message, uint8_t out[kPlayerMessageSize]);
// False (message unchanged) unless exactly kPlayerMessageSize bytes of type
// 20 are given. Texts are NUL-terminated on reading whatever the peer sent.
bool DecodePlayerMessage(const uint8_t* data, size_t size, PlayerDataMessage& message);

// Reasons CheckPlayerMessage refuses a message.
enum class MessageFault {
  kNone,
  kRequest,    // not one of the six requests
  kNoWords,    // a play or challenge without words
  kWordText,   // a text that is not 2..side letters
  kPlacement,  // off the board, or a direction other than 0/1
  kScore,      // negative or beyond kMaxMessageScore
  kRack,       // a byte that is no tile, blank or empty place, or beyond the rack
  kRackCount,  // outside 0..rack size, or not the tiles the rack text holds
};

// Checks every field of a received message against the board side and rack
// size of the game it is meant for. Only a message that passes is applied.
MessageFault CheckPlayerMessage(const PlayerDataMessage& message, int boardSide, int rackSize);
