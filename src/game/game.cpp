#include "game/game.h"

#include <algorithm>
#include <cstring>

#include "game/ui_port.h"

CGame::CGame() : rules(&GlobalRules()), board(&GlobalRules()) {
  setup.language = GetGameUiPort().CurrentUserLanguage();
  for (RobotMove* m : {&workMove, &extraMove, &extraMoves[0], &extraMoves[1], &extraMoves[2]})
    m->Clear();
}

// Players go first: their robots may still be reading the game.
CGame::~CGame() { DropPlayers(); }

GamePlayer* CGame::Player(int i) const {
  return i >= 0 && i < kMaxPlayers ? players[i].get() : nullptr;
}

namespace {

struct RackMix {
  int tiles = 0;  // 'a'..'z'
  int vowels = 0;
  int blanks = 0;
};

RackMix CountRack(const char* rack, int places) {
  RackMix m;
  m.tiles = CountTiles(rack, places);
  m.blanks = CountBlanks(rack, places);
  for (int i = 0; i < places; ++i)
    if (IsVowel(rack[i])) ++m.vowels;
  return m;
}

}  // namespace

void CGame::GiveOwedBlank(char* rack, int places, GamePlayer* player) {
  if (!player || !player->blankOwed || blanksToHandOut == 0) return;
  if (CountBlanks(rack, places) > 0) return;
  for (int i = 0; i < places; ++i) {
    if (!IsEmptyRackPlace(rack[i])) continue;
    rack[i] = kUnassignedBlank;  // owed, so it does not come out of the bag
    if (Kind() != kKindDuplicate) player->blankOwed = 0;
    return;
  }
}

void CGame::FillRack(char* rack, int32_t* count, GamePlayer* player) {
  const int places = std::clamp<int>(rules->rackSize, 0, kMaxRackPlaces);
  int32_t n = places;
  if (HasFlag(kFlagBlankPerPlayer)) GiveOwedBlank(rack, places, player);

  const bool balanced = Kind() == kKindDuplicate || Kind() == kKindConundrum;
  const int m = roundCount < kBalanceRounds ? 2 : 1;
  for (int i = 0; i < places; ++i) {
    if (!IsEmptyRackPlace(rack[i])) continue;
    char drawn;
    if (!balanced) {
      drawn = bag.DrawRack(BagRules(), kDrawAny, true);
    } else {
      const RackMix mix = CountRack(rack, places);
      const int consonants = mix.tiles - mix.blanks - mix.vowels;
      if (consonants >= m && mix.vowels + mix.blanks < m)
        drawn = bag.DrawRack(BagRules(), kDrawVowel, true);
      else if (mix.vowels >= m && consonants + mix.blanks < m)
        drawn = bag.DrawRack(BagRules(), kDrawNonVowel, true);
      else
        drawn = bag.DrawRack(BagRules(), kDrawAny, true);
      // A third blank is refused; it goes back so no tile is lost.
      if (drawn == kUnassignedBlank && mix.blanks >= 2) {
        bag.ReturnLetters(BagRules(), &drawn, 1);
        drawn = kEmptyRackPlace;
      }
    }
    rack[i] = drawn;
    if (drawn == kEmptyRackPlace) --n;
  }

  if (balanced) {
    const RackMix mix = CountRack(rack, places);
    if (mix.tiles < 2 || mix.vowels + mix.blanks < m || mix.tiles - mix.vowels < m) n = 0;
  }
  if (count) *count = n;
}

bool CGame::IsBlankPerPlayerTurn() const {
  return Kind() == kKindDuplicate && duplicatePhase == 2 && HasFlag(kFlagBlankPerPlayer) &&
         blanksToHandOut > 0;
}

RobotMove* CGame::ApplyMove(RobotMove& move, char* out, char* grid) {
  if (move.word[0] == 0) return &lastMove;
  if (Kind() == kKindAnagram && currentPlayer) {
    std::memcpy(currentPlayer->anagramAnswer, move.word, kRackTextSize - 1);
    currentPlayer->anagramAnswer[kRackTextSize - 1] = 0;
  }
  if (!grid) grid = board.letters;
  std::memset(move.placedLetters, 0, sizeof move.placedLetters);
  lastMove = move;

  const int n = std::min<int>(move.length, kMoveWordSize);
  int r = move.row;
  int c = move.column;
  for (int i = 0; i < n && r < kMaxBoardSide && c < kMaxBoardSide; ++i) {
    char& square = grid[r * kBoardStride + c];
    char letter = move.word[i];
    char placed = 0;
    if (IsEmptySquare(square)) {
      if (IsBlankLetter(letter) && IsBlankPerPlayerTurn()) {
        // A real tile of that letter, when the bag has one, replaces the
        // blank, which goes back to the bag.
        const char tile = static_cast<char>(letter | 0x20);
        if (bag.HasLetter(BagRules(), tile)) {
          const char blank = kUnassignedBlank;
          bag.ReturnLetters(BagRules(), &blank, 1);
          letter = tile;
          move.word[i] = lastMove.word[i] = tile;
        } else {
          --blanksToHandOut;
        }
      }
      square = letter;
      placed = IsBlankLetter(letter) ? kUnassignedBlank : letter;
    }
    move.placedLetters[i] = lastMove.placedLetters[i] = placed;
    if (move.direction)
      ++r;
    else
      ++c;
  }
  if (out) std::memcpy(out, move.placedLetters, sizeof move.placedLetters);
  return &lastMove;
}

void CGame::RemoveMoveLetters(const RobotMove& move) {
  const int n = std::min<int>(move.length, kMoveWordSize);
  int r = move.row;
  int c = move.column;
  for (int i = 0; i < n && r < kMaxBoardSide && c < kMaxBoardSide; ++i) {
    if (move.placedLetters[i]) board.letters[r * kBoardStride + c] = kEmptySquare;
    if (move.direction)
      ++r;
    else
      ++c;
  }
}

void CGame::SettleFinalRacks() {
  if (Kind() != kKindStandard) return;
  int32_t sum = 0;
  GamePlayer* finisher = nullptr;
  const int count = std::clamp<int>(setup.playerCount, 0, kMaxPlayers);
  for (int i = 0; i < count; ++i) {
    GamePlayer* p = Player(i);
    if (!p) continue;
    if (p->HasTilesLeft(*rules)) {
      const int32_t value = p->RackValue(*rules);
      p->score -= value;
      sum += value;
    } else {
      finisher = p;
    }
  }
  if (finisher) finisher->score += sum;
}
