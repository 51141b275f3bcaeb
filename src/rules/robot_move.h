#pragma once
// RobotMove: the one record that describes a move everywhere (found moves,
// the human move built from the board, players' moves, history entries,
// side-game solutions, saved games). Its file image is exactly
// kRobotMoveImageSize bytes, little-endian, written and read field by field
// by EncodeRobotMove / DecodeRobotMove; the in-memory struct is plain data
// and copied by value.
#include <cstddef>
#include <cstdint>

#include "platform/binio.h"
#include "rules/letters.h"

constexpr size_t kRobotMoveImageSize = 412;
constexpr int kMoveWordSize = 20;       // word text with its NUL (at most 15 letters)
constexpr int kPlacedLettersSize = 21;  // one byte per place along the word
constexpr int kEvaluationTermCount = 14;
// The ranking value of a move the ranking pass rejected, or of a cleared slot.
constexpr float kRejectedRank = -1000.0f;

// column, row, direction, length packed as one 32-bit value (column lowest),
// as the move generator hands positions around.
struct MovePosition {
  uint8_t column = 0;
  uint8_t row = 0;
  uint8_t direction = 0;  // 0 across, non-zero down
  uint8_t length = 0;

  uint32_t Packed() const {
    return column | (uint32_t{row} << 8) | (uint32_t{direction} << 16) | (uint32_t{length} << 24);
  }
  static MovePosition FromPacked(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
  }
};

struct RobotMove {
  // Field order follows the file image; the comment gives the image offset.
  char word[kMoveWordSize];                // 0: whole word along the line, NUL-terminated
  char placedLetters[kPlacedLettersSize];  // 20: tiles laid, by place; 0 where a tile stood
  uint8_t pad41[3];                        // 41: padding, kept as read
  int32_t playedCounts[kLetterSlots];      // 44: tiles taken from the rack, by letter index
  int32_t leaveCounts[kLetterSlots];       // 172: tiles left on the rack, by letter index
  float terms[kEvaluationTermCount];       // 300: evaluation term of each component
  float termSum;                           // 356
  int32_t reserved360;                     // 360
  uint8_t reserved364;                     // 364
  uint8_t column;                          // 365
  uint8_t row;                             // 366
  uint8_t direction;                       // 367: 0 across, 1 down
  uint8_t length;                          // 368: letters in word
  uint8_t pad369[3];                       // 369: padding, kept as read
  int32_t wordScore;                       // 372: main word's score
  int32_t score;                           // 376: whole move, bonuses included
  float evalValue;                         // 380
  int32_t reportRL;                        // 384
  int32_t reportRB;                        // 388
  float reportBL;                          // 392
  int32_t reportOP;                        // 396
  int32_t reserved400;                     // 400
  int32_t ownerIndex;                      // 404: -1 when constructed
  float rankValue;                         // 408: ranking value, sorted descending

  // Every field zero (padding included) and ownerIndex -1, so that records
  // written to files never carry stale memory.
  RobotMove() { Reset(); }
  // As a new record, with rankValue kRejectedRank: an empty slot.
  void Clear();

  MovePosition Position() const { return {column, row, direction, length}; }
  void SetPosition(const MovePosition& p);
  bool IsDown() const { return direction != 0; }
  // Sum of playedCounts: the number of tiles the move lays.
  int TilesPlayed() const;

 private:
  void Reset();
};

// Writes the 412-byte image; false when the writer ran out of room.
bool WriteRobotMove(ByteWriter& out, const RobotMove& move);
// Reads a 412-byte image; false (and `move` unchanged) when fewer bytes remain.
bool ReadRobotMove(ByteReader& in, RobotMove& move);

// Convenience forms over a fixed buffer of kRobotMoveImageSize bytes.
void EncodeRobotMove(const RobotMove& move, uint8_t out[kRobotMoveImageSize]);
bool DecodeRobotMove(const uint8_t* data, size_t size, RobotMove& move);
