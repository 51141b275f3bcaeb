#pragma once
// Game kinds and set-up flags of a game's set-up record, in one place.
#include <cstdint>

enum GameKind : int32_t {
  kKindNone = -1,
  kKindStandard = 0,
  kKindDuplicate = 1,
  kKindAnagram = 2,
  kKindConundrum = 3,
  kKindCrossagram = 4,
  kKindExercise = 5,
  kKindHintsList = 7,
  kKindQuiz = 8,
};

enum GameSetupFlag : int32_t {
  kFlagBlankPerPlayer = 0x1,  // the "joker" game: each player is owed one blank
  kFlagBlitz = 0x2,
  kFlagSevenOfEight = 0x4,  // rack of 8, at most 7 laid
  kFlagEightOfEight = 0x8,  // rack of 8, all 8 may be laid
  kFlagBestSolution = 0x20,
};

// Anagram and conundrum games play on a single row from its first square.
inline bool IsSingleRowKind(int32_t kind) { return kind == kKindAnagram || kind == kKindConundrum; }
