#pragma once
// The fixed benchmark positions of bench/data/selfplay_positions.txt (written
// by tools/selfplay), read into board grids, racks and bags.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "rules/board.h"
#include "rules/letters.h"

namespace benchfile {

struct Position {
  char grid[kBoardSquares] = {};
  char rack[kRackTextSize] = {};
  std::string bag;
  bool HasBlank() const { return std::strchr(rack, kUnassignedBlank) != nullptr; }
};

// Every position of the file; empty when the file cannot be read or a line
// is malformed (the benchmarks then skip).
inline std::vector<Position> Load(const std::string& path) {
  std::vector<Position> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t squares = static_cast<size_t>(kMaxBoardSide) * kMaxBoardSide;
    const size_t space = line.find(' ', squares + 1);
    if (line.size() < squares + 2 || line[squares] != ' ' || space == std::string::npos ||
        space - squares - 1 >= static_cast<size_t>(kRackTextSize))
      return {};
    Position p;
    for (size_t i = 0; i < squares; ++i) {
      const char c = line[i];
      if (c == '.') continue;
      if (!IsPlacedLetter(c)) return {};
      p.grid[(i / kMaxBoardSide) * kBoardStride + i % kMaxBoardSide] = c;
    }
    std::memcpy(p.rack, line.data() + squares + 1, space - squares - 1);
    p.bag = line.substr(space + 1);
    if (p.bag == "-") p.bag.clear();
    out.push_back(p);
  }
  return out;
}

}  // namespace benchfile
