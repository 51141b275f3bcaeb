#pragma once
// Premium-square codes and the built-in premium layouts.
#include <cstdint>

enum PremiumCode : int32_t {
  kPremiumNone = 0,
  kPremiumDoubleLetter = 1,
  kPremiumTripleLetter = 2,
  kPremiumDoubleWord = 4,
  kPremiumTripleWord = 8,
  // Marks the last square of a single-row board; word scoring ignores it.
  kPremiumRowEnd = 16,
};

// Board grids are 15 x 15, row-major, whatever part of them a game uses.
constexpr int kBoardStride = 15;
constexpr int kMaxBoardSide = 15;
constexpr int kBoardSquares = kBoardStride * kBoardStride;

// Premium code of square (row, column) of the square layout of this side
// (7, 11 or 15); 0 for any other side or a square outside it.
int32_t SquareLayoutPremium(int side, int row, int column);
// Premium code of a place of the single row of this length (5..12); 0 for any
// other length or a place outside it.
int32_t RowLayoutPremium(int length, int place);
