#include "game/bag.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "game/board.h"
#include "game/game.h"
#include "game/game_strings.h"
#include "game/program_folder.h"
#include "game/rules.h"
#include "platform/crand.h"
#include "platform/message_sink.h"
#include "platform/path.h"

namespace {

// Rack size a crossagram game starts from when its settings file names none.
constexpr int32_t kCrossagramDefaultRack = 10;
// Digits beyond this add nothing: no value the file sets can be larger.
constexpr int64_t kSettingCeiling = 1000000000;

void ShowBagNotice(const char* text) { platform::ShowNotice(text, kGameMessageCaption, 0); }

}  // namespace

TileBag::TileBag() : counts{}, drawOrder{}, firstLetter(-1), tileCount(0) {}

void TileBag::CopyFrom(const TileBag& other) {
  firstLetter = other.firstLetter;
  std::memcpy(drawOrder, other.drawOrder, sizeof drawOrder);
  std::memcpy(counts, other.counts, sizeof counts);
  tileCount = other.tileCount;
}

const GameRules& TileBag::Rules() const {
  return game_ && game_->rules ? *game_->rules : GlobalRules();
}

int32_t TileBag::Kind() const { return game_ ? game_->Kind() : kKindStandard; }

bool TileBag::HasFlag(int32_t flag) const { return game_ && game_->HasFlag(flag); }

void TileBag::Fill() {
  if (game_ && Kind() == kKindCrossagram) {
    game_->rules->rackSize = kCrossagramDefaultRack;
    std::vector<uint8_t> text;
    if (platform::ReadWholeFile(GameProgramPath(kCrossagramSettingsFile).c_str(), text))
      ApplyCrossagramSettings(
          ParseCrossagramSettings(reinterpret_cast<const char*>(text.data()), text.size()), *game_);
  }
  // The counts come from the rules; the bag never holds more than its places.
  const GameRules& rules = Rules();
  int32_t room = kBagCapacity;
  for (int i = 0; i < kLetterSlots; ++i) {
    counts[i] = std::clamp(rules.tileCounts[i], 0, room);
    room -= counts[i];
  }
  tileCount = kBagCapacity - room;
  if (game_ && Kind() == kKindDuplicate && HasFlag(kFlagBlankPerPlayer))
    game_->blanksToHandOut = kBlanksToHandOut;
  Shuffle();
  RefreshFirstLetter();
  if (game_) game_->balanceMinimum = 2;
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

bool TileBag::Accepts(int mode, int index) const {
  const bool vowel = Rules().IsVowelIndex(index);
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
  if (index == kBlankIndex && Kind() == kKindDuplicate && HasFlag(kFlagBlankPerPlayer))
    return tileCount == 1;
  return true;
}

bool TileBag::AnyAccepted(int mode) const {
  for (int i = 0; i < kLetterSlots; ++i)
    if (counts[i] > 0 && Accepts(mode, i)) return true;
  return false;
}

void TileBag::TakePlace(int place) {
  --counts[drawOrder[place]];
  std::memmove(drawOrder + place, drawOrder + place + 1,
               sizeof(int32_t) * static_cast<size_t>(tileCount - place - 1));
  --tileCount;
  if (firstLetter < 0 || counts[firstLetter] <= 0) RefreshFirstLetter();
}

char TileBag::DrawRack(int mode, bool take) {
  const GameRules& rules = Rules();
  if (firstLetter < 0) return kEmptyRackPlace;
  if (mode == kDrawVowel && !HasVowel(counts, rules)) return kEmptyRackPlace;
  if (mode == kDrawNonVowel && !HasConsonant(counts, rules)) return kEmptyRackPlace;
  if (mode == kDrawBlank && counts[kBlankIndex] <= 0) return kEmptyRackPlace;
  // Random picks until one fits; checked first so that they always end.
  if (!AnyAccepted(mode)) return kEmptyRackPlace;
  for (;;) {
    if (tileCount <= 0) return kEmptyRackPlace;
    const int p = platform::Random() % tileCount;
    const int index = drawOrder[p];
    if (index < 0 || index >= kLetterSlots || counts[index] <= 0) continue;
    if (!Accepts(mode, index)) continue;
    if (take) TakePlace(p);
    return TileForIndex(index);
  }
}

bool TileBag::HasLetter(char letter) {
  const int index = LetterIndex(letter);
  if (counts[index] <= 0) return false;
  if (IsSingleRowKind(Kind())) return true;
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

bool TileBag::DrawGivenLetters(const char* text, int n) {
  int32_t left[kLetterSlots];
  std::memcpy(left, counts, sizeof left);
  int32_t blanksLeft = game_ ? game_->blanksToHandOut : 0;
  const bool blankPerPlayer = HasFlag(kFlagBlankPerPlayer);
  int taken = 0;
  for (int i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == 0 || c == kEmptyRackPlace) continue;
    if (IsTileLetter(c)) {
      if (left[LetterIndex(c)] <= 0) {
        char message[64];
        std::snprintf(message, sizeof message, GameText(kStrNoMoreLetter).c_str(), c);
        ShowBagNotice(message);
        return false;
      }
      --left[LetterIndex(c)];
      ++taken;
    } else if (blankPerPlayer && IsBlankLetter(c)) {
      if (blanksLeft <= 0) {
        ShowBagNotice(GameText(kStrNoJokersLeft).c_str());
        return false;
      }
      --blanksLeft;
    } else {
      if (left[kBlankIndex] <= 0) {
        ShowBagNotice(GameText(kStrNoJokersLeft).c_str());
        return false;
      }
      --left[kBlankIndex];
      ++taken;
    }
  }
  if (game_) game_->blanksToHandOut = blanksLeft;
  // Anagram and conundrum bags only lend their tiles: they stay as they are.
  if (IsSingleRowKind(Kind()) || taken == 0) return true;
  std::memcpy(counts, left, sizeof counts);
  Shuffle();
  RefreshFirstLetter();
  return true;
}

int TileBag::ReturnLetters(const char* text, int n) {
  const GameRules& rules = Rules();
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

CrossagramSettings ParseCrossagramSettings(const char* text, size_t size) {
  CrossagramSettings s;
  size_t i = 0;
  while (i < size && s.valueCount < static_cast<int>(std::size(s.values))) {
    if (text[i++] != '=') continue;
    int64_t value = 0;
    while (i < size && text[i] != ';' && text[i] != '#') {
      if (text[i] >= '0' && text[i] <= '9')
        value = std::min(value * 10 + (text[i] - '0'), kSettingCeiling);
      ++i;
    }
    s.values[s.valueCount++] = value;
    if (i < size && text[i] == '#') break;
  }
  return s;
}

void ApplyCrossagramSettings(const CrossagramSettings& s, CGame& game) {
  for (int p = 0; p < 2 && p < s.valueCount; ++p)
    if (GamePlayer* player = game.Player(p))
      player->entry.options[2] = static_cast<int32_t>(s.values[p]);
  GameRules& rules = *game.rules;
  if (s.valueCount > 2)
    rules.rackSize = static_cast<int32_t>(std::clamp<int64_t>(s.values[2], 1, kMaxBoardSide));
  for (int i = 0; i + 3 < s.valueCount && i < kLetterSlots; ++i)
    rules.tileCounts[i] = static_cast<int32_t>(std::min<int64_t>(s.values[i + 3], kBagCapacity));
  // Together the counts must fit the bag's draw places.
  int32_t room = kBagCapacity;
  for (int32_t& c : rules.tileCounts) {
    c = std::clamp(c, 0, room);
    room -= c;
  }
  rules.RecountTiles();
}
