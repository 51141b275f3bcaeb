#include "ui/history_steps.h"

#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "game/move_text.h"

namespace ui {
namespace {

constexpr uint32_t kHistoryStyle = 7;  // position, word and points

const RobotMove* Step(CGame* game, bool forward, bool replay) {
  MoveHistory* h = game ? game->history.get() : nullptr;
  if (!h || !(forward ? h->PeekNext() : h->PeekPrevious())) return nullptr;
  HistoryRecord* entry = forward ? h->Next() : h->Previous();
  if (!entry) return nullptr;
  if (replay) game->ReplayToMove(entry);
  return &entry->move;
}

}  // namespace

const RobotMove* StepForward(CGame* game, bool replay) { return Step(game, true, replay); }
const RobotMove* StepBack(CGame* game, bool replay) { return Step(game, false, replay); }
int StepForwardAndReplay(CGame* game) { return StepForward(game, true) ? 0 : -1; }
int StepBackAndReplay(CGame* game) { return StepBack(game, true) ? 0 : -1; }

int GoToMove(CGame* game, int32_t n) {
  if (!game || !game->history) return 0;
  int32_t k = game->GetHistoryIndex();
  // Each step must move the cursor, so a short history ends the walk.
  for (; k < n && StepForward(game, true); ++k) {
  }
  for (; k > n && StepBack(game, true); --k) {
  }
  return 1;
}

std::string FormatHistoryEntry(CGame* game, int32_t n) {
  if (!game || !game->history || n < 1) return {};
  if (n == 1) return "-------------------";
  // The entry is read in place, so the cursor never moves.
  const HistoryRecord* entry = game->history->RecordAt(n);
  if (!entry) return {};
  std::string move;
  if (entry->HasMove())
    // Positions are written in the game's own language's notation.
    FormatMoveText(entry->move, move, game->setup.language, game, kHistoryStyle);
  else
    move = "  -  ";
  const int kind = game->Kind();
  const int players = std::max<int32_t>(game->PlayerCount(), 1);
  int32_t number = kind == kKindDuplicate ? n - 1
                   : kind == kKindStandard || kind == kKindAnagram || kind == kKindConundrum
                       ? (n - 2) % players + 1
                       : static_cast<int32_t>(std::strlen(entry->move.word));
  return std::to_string(number) + "- " + move;
}

}  // namespace ui
