#include "rules/bag.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/crand.h"
#include "rules/board.h"
#include "rules/rules.h"

const GameRules& BagPolicy::Rules() const { return rules ? *rules : GlobalRules(); }

TileBag::TileBag() : counts{}, drawOrder{}, firstLetter(-1), tileCount(0) {}

void TileBag::CopyFrom(const TileBag& other) {
  firstLetter = other.firstLetter;
  std::memcpy(drawOrder, other.drawOrder, sizeof drawOrder);
  std::memcpy(counts, other.counts, sizeof counts);
  tileCount = other.tileCount;
}

void TileBag::Fill(const BagPolicy& policy) {
  // The counts come from the rules; the bag never holds more than its places.
  const GameRules& rules = policy.Rules();
  int32_t room = kBagCapacity;
  for (int i = 0; i < kLetterSlots; ++i) {
    counts[i] = std::clamp(rules.tileCounts[i], 0, room);
    room -= counts[i];
  }
  tileCount = kBagCapacity - room;
  Shuffle();
  RefreshFirstLetter();
}

void TileBag::Shuffle() {
  // Random places, retried until free, as the game has always shuffled (so a
  // seeded game deals the same racks).
  tileCount = 0;
  for (int32_t c : counts)
    tileCount += std::max(c, 0);
  tileCount = std::min(tileCount, kBagCapacity);
  for (int p = 0; p < tileCount; ++p)
    drawOrder[p] = -1;
  int placed = 0;
  for (int i = 0; i < kLetterSlots; ++i) {
    for (int k = 0; k < counts[i] && placed < tileCount; ++k, ++placed) {
      int p;
      do
        p = platform::Random() % tileCount;
      while (drawOrder[p] != -1);
      drawOrder[p] = i;
    }
  }
}

void TileBag::RefreshFirstLetter() {
  firstLetter = -1;
  for (int i = 0; i < kLetterSlots; ++i)
    if (counts[i] > 0) {
      firstLetter = static_cast<int8_t>(i);
      return;
    }
}

bool TileBag::Accepts(const BagPolicy& policy, int mode, int index) const {
  const bool vowel = policy.Rules().IsVowelIndex(index);
  switch (mode) {
    case kDrawVowel:
      return vowel;
    case kDrawBlank:
      return index == kBlankIndex;
    case kDrawNoBlank:
      return index != kBlankIndex;
    case kDrawNonVowel:
      if (vowel) return false;
      break;
    default:
      break;
  }
  // The blank-per-player duplicate game hands its blanks out itself: a blank
  // is drawn at random only as the bag's last tile.
  if (index == kBlankIndex && policy.HandsOutBlanks()) return tileCount == 1;
  return true;
}

bool TileBag::AnyAccepted(const BagPolicy& policy, int mode) const {
  for (int i = 0; i < kLetterSlots; ++i)
    if (counts[i] > 0 && Accepts(policy, mode, i)) return true;
  return false;
}

void TileBag::TakePlace(int place) {
  --counts[drawOrder[place]];
  std::memmove(drawOrder + place, drawOrder + place + 1,
               sizeof(int32_t) * static_cast<size_t>(tileCount - place - 1));
  --tileCount;
  if (firstLetter < 0 || counts[firstLetter] <= 0) RefreshFirstLetter();
}

char TileBag::DrawRack(const BagPolicy& policy, int mode, bool take) {
  const GameRules& rules = policy.Rules();
  if (firstLetter < 0) return kEmptyRackPlace;
  if (mode == kDrawVowel && !HasVowel(counts, rules)) return kEmptyRackPlace;
  if (mode == kDrawNonVowel && !HasConsonant(counts, rules)) return kEmptyRackPlace;
  if (mode == kDrawBlank && counts[kBlankIndex] <= 0) return kEmptyRackPlace;
  // Random picks until one fits; checked first so that they always end.
  if (!AnyAccepted(policy, mode)) return kEmptyRackPlace;
  for (;;) {
    if (tileCount <= 0) return kEmptyRackPlace;
    const int p = platform::Random() % tileCount;
    const int index = drawOrder[p];
    if (index < 0 || index >= kLetterSlots || counts[index] <= 0) continue;
    if (!Accepts(policy, mode, index)) continue;
    if (take) TakePlace(p);
    return TileForIndex(index);
  }
}

bool TileBag::HasLetter(const BagPolicy& policy, char letter) {
  const int index = LetterIndex(letter);
  if (counts[index] <= 0) return false;
  if (IsSingleRowKind(policy.kind)) return true;
  for (int p = 0; p < tileCount; ++p)
    if (drawOrder[p] == index) {
      TakePlace(p);
      return true;
    }
  // Counts without draw places cannot happen while the invariant holds.
  --counts[index];
  RefreshFirstLetter();
  return true;
}

TileBag::GivenResult TileBag::DrawGivenLetters(const BagPolicy& policy, const char* text, int n,
                                               int32_t* blanksToHandOut) {
  int32_t left[kLetterSlots];
  std::memcpy(left, counts, sizeof left);
  int32_t blanksLeft = blanksToHandOut ? *blanksToHandOut : 0;
  const bool blankPerPlayer = policy.blankPerPlayer;
  int taken = 0;
  for (int i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == 0 || c == kEmptyRackPlace) continue;
    if (IsTileLetter(c)) {
      if (left[LetterIndex(c)] <= 0) return {GivenRefusal::kNoMoreLetter, c};
      --left[LetterIndex(c)];
      ++taken;
    } else if (blankPerPlayer && IsBlankLetter(c)) {
      if (blanksLeft <= 0) return {GivenRefusal::kNoBlankLeft, c};
      --blanksLeft;
    } else {
      if (left[kBlankIndex] <= 0) return {GivenRefusal::kNoBlankLeft, c};
      --left[kBlankIndex];
      ++taken;
    }
  }
  if (blanksToHandOut) *blanksToHandOut = blanksLeft;
  // Anagram and conundrum bags only lend their tiles: they stay as they are.
  if (IsSingleRowKind(policy.kind) || taken == 0) return {};
  std::memcpy(counts, left, sizeof counts);
  Shuffle();
  RefreshFirstLetter();
  return {};
}

int TileBag::ReturnLetters(const BagPolicy& policy, const char* text, int n) {
  const GameRules& rules = policy.Rules();
  int added = 0;
  for (int i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == 0 || c == kEmptyRackPlace) continue;
    const int index = LetterIndex(c);
    if (counts[index] >= rules.tileCounts[index] || tileCount >= kBagCapacity) continue;
    ++counts[index];
    ++tileCount;
    ++added;
  }
  Shuffle();
  RefreshFirstLetter();
  return added;
}
