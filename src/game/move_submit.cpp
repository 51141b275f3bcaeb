// The local human's move from the board view, and the board buttons'
// handlers.
#include "game/move_submit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "game/player_message.h"
#include "game/turn_ports.h"
#include "game/game_strings.h"
#include "game/turn_support.h"
#include "game/ui_port.h"
#include "platform/crand.h"
#include "platform/message_sink.h"

namespace {

// Program-wide marks of the board view's dialogs.
bool g_exchangeDialogOpen = false;
bool g_skipPassConfirmation = false;

// The two grids of a submission, read with bounds.
struct Placement {
  const char* view;
  const char* grid;
  int side;

  bool Inside(int r, int c) const { return r >= 0 && c >= 0 && r < side && c < side; }
  bool OnGrid(int r, int c) const {
    return Inside(r, c) && !IsEmptySquare(grid[r * kBoardStride + c]);
  }
  bool InView(int r, int c) const {
    return Inside(r, c) && IsPlacedLetter(view[r * kBoardStride + c]);
  }
  bool IsNew(int r, int c) const {
    return InView(r, c) && view[r * kBoardStride + c] != grid[r * kBoardStride + c];
  }
  bool Any(int r, int c) const { return OnGrid(r, c) || InView(r, c); }
  char Letter(int r, int c) const {
    return OnGrid(r, c) ? grid[r * kBoardStride + c] : view[r * kBoardStride + c];
  }
};

struct NewTiles {
  int count = 0;
  int minRow = kMaxBoardSide, maxRow = -1, minColumn = kMaxBoardSide, maxColumn = -1;
  bool onOccupied = false;  // a view tile over a different game letter
};

NewTiles FindNewTiles(const Placement& p) {
  NewTiles t;
  for (int r = 0; r < p.side; ++r)
    for (int c = 0; c < p.side; ++c) {
      if (!p.IsNew(r, c)) continue;
      ++t.count;
      t.onOccupied = t.onOccupied || p.OnGrid(r, c);
      t.minRow = std::min(t.minRow, r);
      t.maxRow = std::max(t.maxRow, r);
      t.minColumn = std::min(t.minColumn, c);
      t.maxColumn = std::max(t.maxColumn, c);
    }
  return t;
}

// The run of letters through (r, c) along the direction, as a record.
RobotMove RunThrough(const Placement& p, int r, int c, int down) {
  const int dr = down ? 1 : 0, dc = down ? 0 : 1;
  while (p.Any(r - dr, c - dc)) {
    r -= dr;
    c -= dc;
  }
  RobotMove m;
  m.row = static_cast<uint8_t>(r);
  m.column = static_cast<uint8_t>(c);
  m.direction = static_cast<uint8_t>(down ? 1 : 0);
  int n = 0;
  for (; p.Any(r, c) && n < kMoveWordSize - 1; r += dr, c += dc)
    m.word[n++] = p.Letter(r, c);
  m.length = static_cast<uint8_t>(n);
  return m;
}

// Direction of the main word, or a refusal.
int ChooseDirection(const Placement& p, const NewTiles& t, bool duplicateFirstMove, int* down) {
  if (t.minRow == t.maxRow && t.minColumn < t.maxColumn) {
    *down = 0;
  } else if (t.minColumn == t.maxColumn && t.minRow < t.maxRow) {
    if (duplicateFirstMove) return kPlacementFirstNotAcross;
    *down = 1;
  } else if (t.minRow != t.maxRow) {
    return kPlacementScattered;
  } else {
    const int r = t.minRow, c = t.minColumn;
    if (p.OnGrid(r, c - 1) || p.OnGrid(r, c + 1))
      *down = 0;
    else if (p.OnGrid(r - 1, c) || p.OnGrid(r + 1, c))
      *down = 1;
    else
      return kPlacementIsolated;
  }
  return 1;
}

}  // namespace

int ExtractPlayedWords(const char* view, const char* grid, const GameRules& rules, int32_t kind,
                       RobotMove* out, int capacity) {
  if (!view || !grid || !out || capacity < 1) return kPlacementNoWord;
  const Placement p{view, grid, std::clamp<int>(rules.boardSide, 0, kMaxBoardSide)};
  const int centre = rules.centre;
  const bool centreOnGrid = p.OnGrid(centre, centre);
  const NewTiles t = FindNewTiles(p);

  if ((kind == kKindStandard || kind == kKindDuplicate) && !centreOnGrid &&
      !p.InView(centre, centre))
    return kPlacementOffCentre;
  if (t.count == 0) return kPlacementNoWord;
  // A tile shown over another letter was never really placed.
  if (t.onOccupied) return kPlacementScattered;

  int down = 0;
  const int chosen = ChooseDirection(p, t, kind == kKindDuplicate && !centreOnGrid, &down);
  if (chosen < 0) return chosen;
  const int dr = down ? 1 : 0, dc = down ? 0 : 1;

  // Walk the line from its first letter: every new tile must lie on it
  // without a gap, and it must touch a letter already played.
  int r = t.minRow, c = t.minColumn;
  while (p.OnGrid(r - dr, c - dc)) {
    r -= dr;
    c -= dc;
  }
  int covered = 0;
  bool touches = false;
  for (int wr = r, wc = c; p.Any(wr, wc); wr += dr, wc += dc) {
    if (p.IsNew(wr, wc)) {
      ++covered;
      touches = touches || p.OnGrid(wr - dc, wc - dr) || p.OnGrid(wr + dc, wc + dr);
    } else {
      touches = true;
    }
  }
  if (covered != t.count) return kPlacementScattered;
  if (centreOnGrid && !touches) return kPlacementIsolated;

  out[0] = RunThrough(p, r, c, down);
  if (out[0].length < 2) return kPlacementNoWord;
  int n = 1;
  for (int i = 0; i < out[0].length && n < capacity; ++i) {
    const int wr = r + i * dr, wc = c + i * dc;
    if (!p.IsNew(wr, wc)) continue;
    const RobotMove cross = RunThrough(p, wr, wc, !down);
    if (cross.length >= 2) out[n++] = cross;
  }
  return n;
}

int32_t ScorePlayedWords(const GameBoard& board, RobotMove* words, int n) {
  int32_t total = 0;
  for (int i = 0; i < n; ++i) {
    RobotMove& w = words[i];
    // Records built elsewhere may start with NULs; the text starts after.
    int skip = 0;
    while (skip < kMoveWordSize - 1 && w.word[skip] == 0 && w.word[skip + 1] != 0)
      ++skip;
    if (skip) std::memmove(w.word, w.word + skip, kMoveWordSize - skip);
    total += board.ScoreWord(w);
  }
  if (n > 0) words[0].score = total;
  return total;
}

namespace {

uint32_t RefusalTextId(int code) {
  switch (code) {
    case kPlacementFirstNotAcross:
      return kStrFirstWordAcross;
    case kPlacementOffCentre:
      return kStrCentreSquare;
    case kPlacementIsolated:
      return kStrIsolatedWord;
    case kPlacementScattered:
    case kPlacementScattered2:
      return kStrIllegalPosition;
    default:
      return kStrNoWordFound;
  }
}

// Reads the view and extracts its words; a refusal is shown and returned.
int ExtractFromView(CGame& game, RobotMove* out, int capacity) {
  char view[kBoardSquares] = {};
  GetBoardViewPort().ReadBoardLetters(view);
  const int n =
      ExtractPlayedWords(view, game.board.letters, *game.rules, game.Kind(), out, capacity);
  if (n <= 0) turns::ShowGameNotice(GameText(RefusalTextId(n)).c_str());
  return n;
}

// Tiles still in the rack and carrier grids.
int TilesInHand() {
  BoardViewPort& view = GetBoardViewPort();
  char cells[2 * kBoardStride + 2] = {};
  int n = view.ReadRackCells(cells, kMaxRackPlaces);
  n += view.ReadCarrierCells(cells + n, static_cast<int>(sizeof cells) - n);
  return static_cast<int>(std::count_if(
      cells, cells + n, [](char c) { return IsTileLetter(c) || c == kUnassignedBlank; }));
}

int RackLetters(const GamePlayer& p) {
  int n = 0;
  for (int i = 0; i < p.RackPlaces(); ++i)
    n += !IsEmptyRackPlace(p.rack[i]);
  return n;
}

void LayRack(CGame& game, GamePlayer& p, const std::string& letters) {
  const int places = p.RackPlaces();
  std::memset(p.rack, 0, sizeof p.rack);
  std::memset(p.rack, kEmptyRackPlace, static_cast<size_t>(places));
  std::memcpy(p.rack, letters.data(), std::min<size_t>(letters.size(), places));
  turns::LoadViewRack(game, p);
}

// The grid-only forms of the best-solution room, whose tiles may lie on the
// board: the player's rack is left alone.
std::string RackGridLetters() {
  char cells[kRackTextSize] = {};
  const int n = GetBoardViewPort().ReadRackCells(cells, kMaxRackPlaces);
  std::string letters;
  for (int i = 0; i < n; ++i)
    if (IsTileLetter(cells[i]) || cells[i] == kUnassignedBlank) letters += cells[i];
  return letters;
}

std::string Shuffled(const std::string& letters) {
  std::string out(letters.size(), 0);
  for (char c : letters) {
    size_t place;
    do
      place = static_cast<size_t>(platform::Random()) % letters.size();
    while (out[place] != 0);
    out[place] = c;
  }
  return out;
}

void LoadGridOnly(const std::string& letters, int places) {
  std::string text = letters;
  text.resize(static_cast<size_t>(std::max<int>(places, 0)), kEmptyRackPlace);
  GetBoardViewPort().LoadRackLetters(text.c_str(), places);
}

}  // namespace

bool SubmitHumanMove(CGame* game) {
  if (!game || !game->viewingPlayer) return false;
  GamePlayer& p = *game->viewingPlayer;
  GetBoardViewPort().EndTileDrag();
  if (game->HasFlag(kFlagSevenOfEight) && RackLetters(p) == 8 && TilesInHand() == 0) {
    turns::ShowGameNotice(GameText(kStrOnlySevenLetters).c_str());
    RefreshBoardView(game);
  }
  RobotMove words[kSubmitRecords];
  const int n = ExtractFromView(*game, words, kSubmitRecords);
  if (n <= 0) return false;
  ScorePlayedWords(game->board, words, n);
  p.SetPlayedWords(words, n);
  p.request = kRequestPlay;
  return true;
}

bool EvaluatePlacement(CGame* game) {
  if (!game) return false;
  if (game->Kind() == kKindExercise && !GetBoardViewPort().ExerciseMatchesProfile()) {
    turns::ShowGameNotice(GameText(kStrOtherLanguage).c_str());
    return false;
  }
  RobotMove words[kEvaluateRecords];
  const int n = ExtractFromView(*game, words, kEvaluateRecords);
  if (n <= 0) return false;
  const int32_t total = ScorePlayedWords(game->board, words, n);
  std::string word = words[0].word;
  for (char& ch : word)
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  char text[128];
  std::snprintf(text, sizeof text, GameText(kStrPlacementScore).c_str(), word.c_str(), total);
  turns::ShowGameNotice(text);
  return true;
}

bool PassTurn(CGame* game) {
  if (!game) return false;
  BoardViewPort& view = GetBoardViewPort();
  view.ReleaseBoardButton();
  if (g_skipPassConfirmation) {
    g_skipPassConfirmation = false;
  } else if (turns::ShowGameNotice(GameText(kStrConfirmPass).c_str(), 4) != platform::kResultYes) {
    return false;
  }
  GamePlayer* p = game->currentPlayer;
  if (!p) return false;
  p->ClearPlayedWords();
  p->request = kRequestPass;
  view.EndTileDrag();
  return true;
}

bool OpenExchangeDialog(CGame* game) {
  if (!game || g_exchangeDialogOpen) return false;
  RefreshBoardView(game);
  if (game->bag.tileCount < kMinBagForExchange) {
    turns::ShowGameNotice(GameText(kStrCannotSwap).c_str());
    g_exchangeDialogOpen = false;
    return false;
  }
  g_exchangeDialogOpen = true;
  GetBoardViewPort().OpenExchangeDialog(*game);
  return true;
}

bool RequestExchange(CGame* game, const char* letters) {
  if (!game || !game->viewingPlayer || !letters) return false;
  // A duplicate rack is a copy of the common rack: nothing to swap (the
  // game offers no exchange button there).
  if (game->Kind() == kKindDuplicate) return false;
  GamePlayer& p = *game->viewingPlayer;
  if (!p.Exchange(letters)) {
    turns::ShowGameNotice(GameText(kStrCannotSwap).c_str());
    return false;
  }
  p.ClearPlayedWords();
  p.request = kRequestExchange;
  turns::LoadViewRack(*game, p);
  return true;
}

void ExchangeDialogClosed() { g_exchangeDialogOpen = false; }
bool ExchangeDialogOpen() { return g_exchangeDialogOpen; }
void SkipNextPassConfirmation() { g_skipPassConfirmation = true; }

bool RefreshBoardView(CGame* game) {
  if (!game) return false;
  BoardViewPort& view = GetBoardViewPort();
  turns::LoadViewBoard(*game);
  view.RefreshRackTiles();
  if (game->viewingPlayer) turns::LoadViewRack(*game, *game->viewingPlayer);
  view.ClearCarrier();
  view.EndTileDrag();
  return true;
}

bool ShuffleRack(CGame* game) {
  if (!game || !game->viewingPlayer) return false;
  GamePlayer& p = *game->viewingPlayer;
  if (game->IsBestSolutionGame()) {
    const std::string letters = RackGridLetters();
    if (!letters.empty()) LoadGridOnly(Shuffled(letters), p.RackPlaces());
    return true;
  }
  RefreshBoardView(game);
  std::string letters;
  for (int i = 0; i < p.RackPlaces(); ++i)
    if (IsTileLetter(p.rack[i]) || p.rack[i] == kUnassignedBlank) letters += p.rack[i];
  if (!letters.empty()) LayRack(*game, p, Shuffled(letters));
  return true;
}

bool SortRack(CGame* game) {
  if (!game || !game->viewingPlayer) return false;
  GamePlayer& p = *game->viewingPlayer;
  if (game->IsBestSolutionGame()) {
    std::string letters = RackGridLetters();
    std::sort(letters.begin(), letters.end());
    LoadGridOnly(letters, p.RackPlaces());
    return true;
  }
  RefreshBoardView(game);
  // The user's order; "random" would be a shuffle, so the button sorts.
  const int32_t order = GetGameUiPort().RackSortingSetting();
  p.ArrangeRack(order == kRackRandom ? kRackAlphabetical : order);
  turns::LoadViewRack(*game, p);
  return true;
}

void CloseHumanTurnUi(CGame* game) {
  BoardViewPort& view = GetBoardViewPort();
  view.EndTileDrag();
  RefreshBoardView(game);
  view.CloseMessageBox();
  if (g_exchangeDialogOpen) view.CloseExchangeDialog();
  g_exchangeDialogOpen = false;
  view.ReleaseBoardButton();
}

void ClearBoardAndView(CGame* game) {
  if (!game) return;
  game->ClearBoardLetters();
  turns::LoadViewBoard(*game);
}

PendingUiAction BoardButtonAction(uint32_t button) {
  switch (button) {
    case kButtonPlay:
      return [](CGame* g) { SubmitHumanMove(g); };
    case kButtonPass:
      return [](CGame* g) { PassTurn(g); };
    case kButtonEvaluate:
      return [](CGame* g) { EvaluatePlacement(g); };
    case kButtonExchange:
      return [](CGame* g) { OpenExchangeDialog(g); };
    case kButtonCancel:
      return [](CGame* g) { RefreshBoardView(g); };
    case kButtonShuffle:
      return [](CGame* g) { ShuffleRack(g); };
    case kButtonSort:
      return [](CGame* g) { SortRack(g); };
    case kButtonChallenge:
      return [](CGame* g) { RequestChallenge(g); };
    default:
      return nullptr;
  }
}
