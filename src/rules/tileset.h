#pragma once
// The four built-in tile sets. Each gives, per letter index (slot 0 the blank,
// then A..Z, and three extra letters in set 2), the letter code (index plus
// kLetterCodeVowel for a vowel), the letter value, the number of tiles and the
// computer opponent's leave weight. Slots past a set's letters are zero.
#include <cstdint>

#include "rules/letters.h"

struct TileSet {
  int32_t codes[kLetterSlots];
  int32_t values[kLetterSlots];
  int32_t counts[kLetterSlots];
  int32_t leaveWeights[kLetterSlots];
};

constexpr int kTileSetCount = 4;
constexpr int kTileSetEnglish = 0;
constexpr int kTileSetFrench = 1;

// Null for an index outside 0..kTileSetCount-1.
const TileSet* GetTileSet(int index);
// 26, or 29 for set 2.
int TileSetLetterCount(int index);
