#pragma once
// Playing a computer player's chosen move on a bare grid and rack, for the
// benchmarks' self-play games and the tool that writes their positions.
#include <string>

#include "engine/robot.h"
#include "rules/rules.h"

namespace benchpos {

// Lays the move's letters on the grid; returns the rack with them taken off.
inline std::string Play(const RobotMove& m, char* grid, std::string rack) {
  for (int i = 0; i < m.length; ++i) {
    const int r = m.row + (m.direction ? i : 0);
    const int c = m.column + (m.direction ? 0 : i);
    char& square = grid[r * kBoardStride + c];
    if (square) continue;
    square = m.word[i];
    const char tile = IsBlankLetter(m.word[i]) ? kUnassignedBlank : m.word[i];
    const size_t at = rack.find(tile);
    if (at != std::string::npos) rack.erase(at, 1);
  }
  return rack;
}

}  // namespace benchpos
