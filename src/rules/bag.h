#pragma once
// The tile bag: tiles left per letter and a shuffled draw order holding one
// letter index per tile. Invariant kept by every operation: tileCount equals
// the sum of counts and the first tileCount draw places hold exactly those
// tiles.
#include <cstddef>
#include <cstdint>

#include "rules/game_kind.h"
#include "rules/letters.h"

struct GameRules;

constexpr int kBagCapacity = 220;

// What a bag operation follows of the game it belongs to. The default is a
// standard game under GlobalRules(): what a bag copy of the robot plays.
struct BagPolicy {
  const GameRules* rules = nullptr;  // null: GlobalRules()
  int32_t kind = kKindStandard;
  // The duplicate "joker" game hands its blanks out itself (kFlagBlankPerPlayer).
  bool blankPerPlayer = false;

  const GameRules& Rules() const;
  bool HandsOutBlanks() const { return kind == kKindDuplicate && blankPerPlayer; }
};

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

  // Copies the contents.
  void CopyFrom(const TileBag& other);
  // Fills the bag with the rules' tile counts and shuffles it.
  void Fill(const BagPolicy& policy);
  // Draws one tile under `mode`: its byte (a blank as '`'), or '_' when no
  // tile of the bag fits. Removes it only when `take` is set.
  char DrawRack(const BagPolicy& policy, int mode, bool take);
  // Takes one tile of this letter when the bag holds one (anagram and
  // conundrum bags are never drawn from): true when it held one.
  bool HasLetter(const BagPolicy& policy, char letter);
  // Why DrawGivenLetters refused.
  enum class GivenRefusal { kNone, kNoMoreLetter, kNoBlankLeft };
  struct GivenResult {
    GivenRefusal refusal = GivenRefusal::kNone;
    char letter = 0;  // the missing letter of kNoMoreLetter
    bool ok() const { return refusal == GivenRefusal::kNone; }
  };
  // Takes exactly these letters (NUL and '_' skipped), or none: the result
  // names what was missing and the bag is unchanged. In the blank-per-player
  // game a blank comes off *blanksToHandOut instead of the bag.
  GivenResult DrawGivenLetters(const BagPolicy& policy, const char* text, int n,
                               int32_t* blanksToHandOut);
  // Puts letters back (NUL and '_' skipped, none beyond the tile set's
  // count) and reshuffles; returns how many went back.
  int ReturnLetters(const BagPolicy& policy, const char* text, int n);

  bool IsEmpty() const { return tileCount <= 0; }

  int32_t counts[kLetterSlots];
  int32_t drawOrder[kBagCapacity];
  int8_t firstLetter;  // lowest index with tiles left, -1 when empty
  int32_t tileCount;

 private:
  bool Accepts(const BagPolicy& policy, int mode, int index) const;
  bool AnyAccepted(const BagPolicy& policy, int mode) const;
  void TakePlace(int place);
  void Shuffle();
  void RefreshFirstLetter();
};
