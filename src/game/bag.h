#pragma once
// The tile bag: tiles left per letter and a shuffled draw order holding one
// letter index per tile. Invariant kept by every operation: tileCount equals
// the sum of counts and the first tileCount draw places hold exactly those
// tiles.
#include <cstddef>
#include <cstdint>

#include "game/letters.h"

class CGame;
struct GameRules;

constexpr int kBagCapacity = 220;
constexpr char kCrossagramSettingsFile[] = "tessarinData\\Crossagrams.ini";

// Draw modes of TileBag::DrawRack.
enum DrawMode : int {
  kDrawAny = -1,
  kDrawVowel = 0,
  kDrawNonVowel = 1,  // any tile but a vowel (a blank is no vowel)
  kDrawBlank = 2,
  kDrawNoBlank = 3,
};

class TileBag {
 public:
  TileBag();

  // The game whose rules, kind and set-up flags the bag follows (its own
  // game; set by the game). Without one the bag plays a standard game under
  // GlobalRules().
  void AttachGame(CGame* game) { game_ = game; }

  // Copies the contents (not the game it belongs to).
  void CopyFrom(const TileBag& other);
  // Fills and shuffles the bag for a new game of its game (crossagram games
  // first read their settings file).
  void Fill();
  // Draws one tile under `mode`: its byte (a blank as '`'), or '_' when no
  // tile of the bag fits. Removes it only when `take` is set.
  char DrawRack(int mode, bool take);
  // Takes one tile of this letter when the bag holds one (anagram and
  // conundrum bags are never drawn from): true when it held one.
  bool HasLetter(char letter);
  // Takes exactly these letters (NUL and '_' skipped), or none: a notice
  // names the missing letter and the bag is unchanged.
  bool DrawGivenLetters(const char* text, int n);
  // Puts letters back (NUL and '_' skipped, none beyond the tile set's
  // count) and reshuffles; returns how many went back.
  int ReturnLetters(const char* text, int n);

  bool IsEmpty() const { return tileCount <= 0; }

  int32_t counts[kLetterSlots];
  int32_t drawOrder[kBagCapacity];
  int8_t firstLetter;  // lowest index with tiles left, -1 when empty
  int32_t tileCount;

 private:
  const GameRules& Rules() const;
  int32_t Kind() const;
  bool HasFlag(int32_t flag) const;
  bool Accepts(int mode, int index) const;
  bool AnyAccepted(int mode) const;
  void TakePlace(int place);
  void Shuffle();
  void RefreshFirstLetter();

  CGame* game_ = nullptr;
};

// Values read from the crossagram settings text: two player options, the
// rack size and the tile counts in letter order.
struct CrossagramSettings {
  int valueCount = 0;
  int64_t values[3 + kLetterSlots] = {};
};

// Scans the text: each '=' starts a value made of the digits up to the next
// ';' or '#'; the scan ends where a '#' closes a value.
CrossagramSettings ParseCrossagramSettings(const char* text, size_t size);
// Applies the values to the game: the first two to the third option of the
// first two players, the third to the rules' rack size, then the tile
// counts; each clamped to what the rack, the board and the bag can hold.
void ApplyCrossagramSettings(const CrossagramSettings& settings, CGame& game);
