#pragma once
// The bonus a move earns for the number of tiles it lays: +50 for 7, +75 for
// 8, +100 for 9, nothing otherwise. The board's word scoring and the robot's
// candidate scoring share this rule.
#include <cstdint>

constexpr int32_t kMoveTileBonus7 = 50;
constexpr int32_t kMoveTileBonus8 = 75;
constexpr int32_t kMoveTileBonus9 = 100;

inline int32_t MoveTileBonus(int newTiles) {
  switch (newTiles) {
    case 7:
      return kMoveTileBonus7;
    case 8:
      return kMoveTileBonus8;
    case 9:
      return kMoveTileBonus9;
    default:
      return 0;
  }
}
