#include "rules/layouts.h"

namespace {

// Each table is kept as its first rows; the lower half mirrors the upper
// (row side-1-r = row r).
constexpr int32_t k15[8][15] = {
    {8, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 8}, {0, 4, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 4, 0},
    {0, 0, 4, 0, 0, 0, 1, 0, 1, 0, 0, 0, 4, 0, 0}, {1, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 1},
    {0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0}, {0, 2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 2, 0},
    {0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 0, 0}, {8, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 8},
};

// Letter premiums only; rows as stored (not symmetric left to right).
constexpr int32_t k11[6][11] = {
    {2, 0, 0, 1, 0, 2, 0, 1, 0, 0, 2}, {0, 2, 0, 0, 1, 0, 1, 0, 0, 2, 0},
    {0, 0, 2, 0, 0, 1, 0, 0, 2, 0, 0}, {1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1},
    {0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0}, {2, 0, 1, 0, 0, 1, 0, 0, 1, 0, 2},
};

struct RowLayout {
  int length;
  int32_t values[12];
};

constexpr RowLayout kRows[] = {
    {5, {0, 1, 0, 2, 4, 8, 16}},
    {6, {0, 1, 0, 2, 4, 8, 16}},
    {7, {0, 1, 0, 2, 4, 8, 16}},
    {8, {0, 0, 1, 0, 2, 4, 8, 16}},
    {9, {0, 0, 1, 0, 2, 4, 0, 8, 16}},
    {10, {0, 0, 1, 0, 2, 0, 4, 0, 8, 16}},
    {11, {0, 0, 0, 1, 0, 2, 0, 4, 0, 8, 16}},
    {12, {0, 0, 0, 0, 1, 0, 2, 0, 4, 0, 8, 16}},
};

int Mirror(int side, int row) { return row < side / 2 + 1 ? row : side - 1 - row; }

}  // namespace

int32_t SquareLayoutPremium(int side, int row, int column) {
  if (row < 0 || column < 0 || row >= side || column >= side) return kPremiumNone;
  switch (side) {
    case 15:
      return k15[Mirror(15, row)][column];
    case 11:
      return k11[Mirror(11, row)][column];
    default:
      return kPremiumNone;  // the 7 x 7 board has no premiums
  }
}

int32_t RowLayoutPremium(int length, int place) {
  for (const RowLayout& r : kRows)
    if (r.length == length) return place >= 0 && place < length ? r.values[place] : kPremiumNone;
  return kPremiumNone;
}
