#pragma once
// The rules of the running game: premium map, rack size, board side, centre
// square and the tile set in use. One global instance (GlobalRules()) serves
// the game, its board and every computer player; tests may use their own.
#include <cstdint>

#include "rules/layouts.h"
#include "rules/letters.h"

struct GameSetup;

struct GameRules {
  // Row-major with row stride 15; one further byte kept 0.
  uint8_t premiumMap[kBoardSquares + 1] = {};
  int32_t rackSize = 0;
  int32_t boardSide = 0;
  // Row and column of the square a first move must cover (0 on single rows).
  int32_t centre = 0;
  int32_t tileSetIndex = 0;
  int32_t totalTiles = 0;
  int32_t letterCount = 0;
  int32_t letterValues[kLetterSlots] = {};
  int32_t tileCounts[kLetterSlots] = {};
  int32_t letterCodes[kLetterSlots] = {};
  int32_t leaveWeights[kLetterSlots] = {};

  // Stores the index, loads the tile set, then the layout for the rack size.
  // `currentGame` is the set-up of the game being played, or null outside a
  // game.
  void Setup(int tileSetIndex, int rackSize, const GameSetup* currentGame = nullptr);
  // Copies set 0..3; any other index keeps the arrays and leaves totalTiles 0.
  void LoadTileSet(int index);
  void LoadBoardLayout(int rackSize, const GameSetup* currentGame = nullptr);

  // A tile's value by its index; a byte below 0x60 (a blank showing a letter,
  // an empty place, or any byte >= 0x80 read as signed) is worth 0.
  int32_t LetterValue(char letter) const {
    return static_cast<signed char>(letter) >= 0x60 ? letterValues[LetterIndex(letter)] : 0;
  }
  bool IsVowelIndex(int index) const { return CodeIsVowel(letterCodes[index & 31]); }
  int32_t Premium(int row, int column) const { return premiumMap[row * kBoardStride + column]; }
  // Sums the tile counts again (after they were changed in place).
  void RecountTiles();
};

GameRules& GlobalRules();
