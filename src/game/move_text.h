#pragma once
// The display text of a move: its bracketed position, its word and its
// points, as the move list, the mentor, the player panels and the game's own
// messages show it.
#include <cstdint>
#include <string>

class CGame;
struct RobotMove;

// Parts of FormatMoveText's text.
enum MoveTextPart : uint32_t {
  kMoveTextScore = 1,
  kMoveTextPosition = 2,
  kMoveTextWord = 4,
  kMoveTextAll = 7,
};

// Appends the chosen parts to `out`: "[8h] " (notation 0: across the row
// number then the column letter, down the other way round; notation 1 the
// roles swapped; any other notation "[] "), the word as stored and a blank,
// then the points (none in a crossagram game).
void FormatMoveText(const RobotMove& move, std::string& out, int32_t notation, const CGame* game,
                    uint32_t parts);
