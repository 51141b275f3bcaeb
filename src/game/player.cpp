#include "game/player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "game/game.h"
#include "game/net_port.h"
#include "rules/rules.h"
#include "game/ui_port.h"
#include "platform/crand.h"

namespace {

int PlacesOf(const GameRules& rules) { return std::clamp<int>(rules.rackSize, 0, kMaxRackPlaces); }

// '_' in each of the first `places` places, NUL after them.
void FillEmpty(char* rack, int places) {
  std::memset(rack, 0, kRackTextSize);
  std::memset(rack, kEmptyRackPlace, static_cast<size_t>(places));
}

// Bytes that stand for a blank on a rack: unassigned, or showing a letter.
bool IsRackBlank(char c) { return c == kUnassignedBlank || IsBlankLetter(c); }

// Counts per letter index of the tiles among the first `places` bytes.
void CountLetters(const char* rack, int places, int32_t counts[kLetterSlots]) {
  std::fill(counts, counts + kLetterSlots, 0);
  for (int i = 0; i < places; ++i)
    if (!IsEmptyRackPlace(rack[i])) ++counts[LetterIndex(rack[i])];
}

}  // namespace

GamePlayer::GamePlayer() {
  std::memset(rack, kEmptyRackPlace, 7);
  workMove.Clear();
  secondMove.Clear();
}

GamePlayer::GamePlayer(int index) : GamePlayer() {
  playerIndex = index;
  robot_.Setup(entry.options, &GlobalRules());
  Reset();
  std::snprintf(displayName, sizeof displayName, "Player %d", index);
}

GamePlayer::GamePlayer(const PlayerSetupEntry& setupEntry, int index) : GamePlayer() {
  playerIndex = index;
  entry = setupEntry;
  entry.name[sizeof entry.name - 1] = 0;
  robot_.Setup(entry.options, &GlobalRules());
  Reset();
  std::snprintf(displayName, sizeof displayName, "Player %d", index);
}

GamePlayer::GamePlayer(const GamePlayer& other) : PlayerState(other), game_(other.game_) {
  robot_.CopyFrom(other.robot_, entry.options);
}

GamePlayer::~GamePlayer() = default;

GamePlayer& GamePlayer::CopyFrom(const GamePlayer& other) {
  if (this == &other) return *this;
  PlayerState::operator=(other);
  game_ = other.game_;
  robot_.CopyFrom(other.robot_, entry.options);
  return *this;
}

void GamePlayer::Setup(const int32_t options[kPlayerOptionCount]) {
  std::memmove(entry.options, options, sizeof entry.options);
  ConfigureRobot();
}

void GamePlayer::ConfigureRobot() {
  robot_.Setup(entry.options, game_ && game_->rules ? game_->rules : &GlobalRules());
}

void GamePlayer::Reset() {
  moveScore = rackCount = score = 0;
  std::memset(rack, 0, sizeof rack);
  std::memset(rack, kEmptyRackPlace, 7);
  moveWords.clear();
  moveWords.shrink_to_fit();
  workMove.Clear();
  secondMove.Clear();
  for (PlayerMoveStats& s : stats)
    s.Clear();
  statsRecorded = 0;
  othersMark = 0;
}

void GamePlayer::ResetForNewGame() {
  entry.playerType = kPlayerNone;
  othersMark = 1;
  newGameCounters[0] = newGameCounters[1] = kNewGameCounter;
  moveWords.clear();
  moveWords.shrink_to_fit();
  moveScore = 0;
  workMove.Clear();
  secondMove.Clear();
}

int GamePlayer::RackPlaces() const {
  return PlacesOf(game_ && game_->rules ? *game_->rules : GlobalRules());
}

int GamePlayer::CountRackTiles() const {
  int n = 0;
  for (int i = 0; i < RackPlaces(); ++i)
    if (!IsEmptyRackPlace(rack[i])) ++n;
  return n;
}

void GamePlayer::SetRack(const char* viewRow, size_t cellStride) {
  FillEmpty(rack, RackPlaces());
  rackCount = 0;
  if (!viewRow) return;
  for (int i = 0; i < RackPlaces(); ++i) {
    const char c = viewRow[static_cast<size_t>(i) * cellStride];
    if (IsEmptyRackPlace(c)) continue;
    rack[i] = c;
    ++rackCount;
  }
  std::memcpy(rackAsDealt, rack, sizeof rack);
}

void GamePlayer::ClearRack(const char* text) {
  FillEmpty(rack, RackPlaces());
  rackCount = 0;
  if (!text) return;
  const int places = RackPlaces();
  for (int i = 0; i < places && text[i]; ++i) {
    if (text[i] == kEmptyRackPlace) continue;
    rack[i] = text[i];
    ++rackCount;
  }
}

int GamePlayer::RemoveFromRack(const char* letters, char* taken) {
  if (taken) taken[0] = 0;
  if (!letters || (game_ && IsSingleRowKind(game_->Kind()))) return 0;
  std::memcpy(rackBeforeMove, rack, sizeof rack);
  const int places = RackPlaces();
  rackCount = CountRackTiles();
  int n = 0;
  for (const char* l = letters; *l && n < kMaxRackPlaces; ++l) {
    if (*l == kEmptyRackPlace) continue;
    char* place = std::find(rack, rack + places, *l);
    if (place == rack + places) continue;
    *place = kEmptyRackPlace;
    --rackCount;
    if (taken) taken[n] = *l;
    ++n;
  }
  if (taken) taken[n] = 0;
  return n;
}

bool GamePlayer::RefillRack() {
  if (!game_) return false;
  if (Type() == kPlayerRemote) {
    if (!TakePeerRack()) return false;
  } else {
    rack[RackPlaces()] = 0;
    game_->FillRack(rack, &rackCount, this);
    if (rackCount > 0) ArrangeRack(GetGameUiPort().RackSortingSetting());
  }
  std::memcpy(rackAsDealt, rack, sizeof rack);
  return true;
}

// A peer's rack is taken only when it could have come from this bag: every
// byte a tile of the tile set, a blank or an empty place, nothing beyond the
// rack size, and every tile it holds beyond the player's current rack still
// in the bag. Letters the player held that the new rack lacks went back to
// the peer's bag (an exchange), so they go back into ours too: the two bags
// stay equal and no tile is made or lost.
bool GamePlayer::TakePeerRack() {
  char received[kRackTextSize] = {};
  int32_t count = 0;
  if (!GetGameNetPort().GetReceivedRack(playerIndex, received, &count)) return false;
  received[kMaxRackPlaces] = 0;
  const int places = RackPlaces();
  auto refuse = [this](const char* why) {
    char line[96];
    std::snprintf(line, sizeof line, "Rack of player %d refused: %s\n", playerIndex, why);
    GetGameUiPort().DebugOutput(line);
    return false;
  };
  if (count < 0 || count > places) return refuse("count");

  char next[kRackTextSize];
  FillEmpty(next, places);
  bool ended = false;
  for (int i = 0; i < kMaxRackPlaces; ++i) {
    const char c = received[i];
    ended = ended || c == 0;
    if (ended || c == kEmptyRackPlace) continue;
    if (c != kUnassignedBlank && !IsTileLetter(c)) return refuse("letter");
    if (i >= places) return refuse("length");
    next[i] = c;
  }

  int32_t have[kLetterSlots], want[kLetterSlots];
  CountLetters(rack, places, have);
  CountLetters(next, places, want);
  for (int i = 0; i < kLetterSlots; ++i)
    if (want[i] - have[i] > game_->bag.counts[i]) return refuse("not in the bag");

  std::string gone;
  for (int i = 0; i < kLetterSlots; ++i) {
    for (int k = have[i]; k < want[i]; ++k)
      game_->bag.HasLetter(game_->BagRules(), TileForIndex(i));
    if (have[i] > want[i]) gone.append(static_cast<size_t>(have[i] - want[i]), TileForIndex(i));
  }
  if (!gone.empty())
    game_->bag.ReturnLetters(game_->BagRules(), gone.data(), static_cast<int>(gone.size()));
  std::memcpy(rack, next, sizeof rack);
  rackCount = CountRackTiles();
  return true;
}

void GamePlayer::ReturnRackToBag() {
  if (game_) game_->bag.ReturnLetters(game_->BagRules(), rack, RackPlaces());
  FillEmpty(rack, RackPlaces());
  rackCount = 0;
}

bool GamePlayer::Exchange(const char* letters) {
  if (!game_ || game_->bag.tileCount < kMinBagForExchange) return false;
  ExchangeLetters(letters);
  ++game_->scorelessTurns;
  return true;
}

int GamePlayer::ExchangeLetters(const char* letters) {
  if (!game_ || !letters) return 0;
  const bool keepBlank = game_->HasFlag(kFlagBlankPerPlayer);
  const int limit = std::clamp<int>(game_->bag.tileCount, 0, kMaxRackPlaces);
  char chosen[kRackTextSize] = {};
  int n = 0;
  for (const char* l = letters; *l && n < limit; ++l) {
    if (IsEmptyRackPlace(*l) || (keepBlank && IsRackBlank(*l))) continue;
    chosen[n++] = *l;
  }
  char taken[kRackTextSize];
  const int swapped = RemoveFromRack(chosen, taken);
  RefillRack();
  game_->bag.ReturnLetters(game_->BagRules(), taken, swapped);
  return swapped;
}

void GamePlayer::ArrangeRack(int mode) {
  const int places = RackPlaces();
  std::string letters;
  for (int i = 0; i < places; ++i)
    if (!IsEmptyRackPlace(rack[i])) letters += rack[i];
  if (letters.size() < 2) return;

  std::string laid;
  switch (mode) {
    case kRackRandom:
      while (!letters.empty()) {
        const size_t pick = static_cast<size_t>(platform::Random()) % letters.size();
        laid += letters[pick];
        letters.erase(pick, 1);
      }
      break;
    case kRackAlphabetical: {
      // Every place is sorted, empty ones included: '_' and '`' sort first.
      std::string all(rack, rack + places);
      for (char& c : all)
        if (c == 0) c = kEmptyRackPlace;
      std::sort(all.begin(), all.end());
      std::memcpy(rack, all.data(), all.size());
      return;
    }
    case kRackConsonantsFirst:
    case kRackVowelsFirst: {
      std::sort(letters.begin(), letters.end());
      std::string blanks, vowels, consonants;
      for (char c : letters)
        (IsRackBlank(c) ? blanks : IsVowel(c) ? vowels : consonants) += c;
      laid = blanks + (mode == kRackConsonantsFirst ? consonants + vowels : vowels + consonants);
      break;
    }
    default:
      return;
  }
  std::memset(rack, kEmptyRackPlace, static_cast<size_t>(places));
  std::memcpy(rack, laid.data(), laid.size());
}

int32_t GamePlayer::RackValue(const GameRules& rules) const {
  int32_t sum = 0;
  for (int i = 0; i < PlacesOf(rules); ++i)
    if (!IsEmptyRackPlace(rack[i])) sum += rules.LetterValue(rack[i]);
  return sum;
}

bool GamePlayer::HasTilesLeft(const GameRules& rules) const {
  for (int i = 0; i < PlacesOf(rules); ++i)
    if (!IsEmptyRackPlace(rack[i])) return true;
  return false;
}

void GamePlayer::SetPlayedWords(const RobotMove* words, int n) {
  moveWords.clear();
  if (words && n > 0) moveWords.assign(words, words + n);
}

void GamePlayer::ComputeNewLetters(RobotMove& move, const char* grid) {
  std::memset(move.placedLetters, 0, sizeof move.placedLetters);
  const int n = std::min<int>(move.length, kMoveWordSize);
  int r = move.row, c = move.column;
  for (int i = 0; i < n && r < kMaxBoardSide && c < kMaxBoardSide; ++i) {
    const char square = grid[r * kBoardStride + c];
    const char letter = move.word[i];
    if (square == kEmptySquare || square == kCrossagramPlaceholder)
      move.placedLetters[i] = IsBlankLetter(letter) ? kUnassignedBlank : letter;
    if (move.direction)
      ++r;
    else
      ++c;
  }
}

void GamePlayer::SetRackText(const char* text, int32_t count) {
  std::memset(rack, 0, sizeof rack);
  if (text) std::strncpy(rack, text, kMaxRackPlaces);
  rackCount = std::clamp<int32_t>(count, 0, kMaxRackPlaces);
}
