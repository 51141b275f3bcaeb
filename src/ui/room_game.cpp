#include "ui/room_game.h"

#include <cstring>
#include <vector>

#include "game/game.h"
#include "game/saved_game.h"
#include "game/session_registry.h"
#include "game/ui_port.h"
#include "ui/room_port.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr int32_t kMainGameId = 1;
constexpr int32_t kCrossagramGameId = 7;

bool g_loading = false;
RoomGameWindows g_windows;

void EnableControl(int slot, int control, bool enable) {
  if (g_windows.enableControl) g_windows.enableControl(slot, control, enable);
}

// The game registered under `id` gives way to `game`, which takes the id.
void ReplaceRegisteredGame(CGame* game, int32_t id, bool stop) {
  GameSessionRegistry* registry = GetGameSessionRegistry();
  if (!registry) return;
  CGame* old = registry->FindGameById(id);
  if (old && old != game) {
    if (stop) {
      old->StopGame();
    } else {
      old->CancelAllRobots();
      old->state = kStateOver;
    }
    registry->Unregister(old->guid);
    DeleteGame(old);
  }
  if (!registry->IsRegistered(game)) registry->Register(game, id);
}

// Walking back from the end of a classic game's history, each player gets
// the words of the last move he played (entry n was played by the player
// n - 2 turns after the first).
void GiveLastWords(CGame& game) {
  const int count = game.PlayerCount();
  if (count <= 0 || !game.history) return;
  std::vector<bool> given(static_cast<size_t>(count), false);
  for (int32_t n = game.history->Count(); n >= 2; --n) {
    const HistoryRecord* entry = game.history->RecordAt(n);
    const int index = (game.startPlayerIndex + n - 2) % count;
    GamePlayer* player = game.Player(index);
    if (!entry || !player || given[static_cast<size_t>(index)]) continue;
    given[static_cast<size_t>(index)] = true;
    player->moveWords.clear();
    if (entry->HasMove()) {
      player->moveWords.push_back(entry->move);
      player->lastMoveRecord = entry->move;
    }
  }
}

}  // namespace

bool IsGameLoading() { return g_loading; }
void SetRoomGameWindows(const RoomGameWindows& windows) { g_windows = windows; }

void PrepareLoadedGame(CGame& game) {
  const int32_t kind = game.Kind();
  EnableControl(kSlotMentor, kMentorControlA, kind != kKindDuplicate);
  EnableControl(kSlotMentor, kMentorControlB, kind != kKindDuplicate);
  GameUiPort& ui = GetGameUiPort();
  ui.PostFrameMessage(kMsgViewsChanged);
  if (kind == kKindStandard) GiveLastWords(game);
  if (HistoryRecord* last = game.GoToLastHistoryEntry()) game.ReplayToMove(last);
  std::vector<RobotMove> best;
  game.FindBestMoveInHistory(best);
  for (int i = 0; i < game.PlayerCount(); ++i)
    if (GamePlayer* p = game.Player(i)) p->ClearRack("_______");
  ui.BroadcastGameChanged(&game, kGameChangedRebuild);
  RoomCommandPort& room = GetRoomCommandPort();
  room.FillGridsFromGame(game);
  if (kind == kKindDuplicate)
    std::memcpy(game.duplicateBoardCopy, game.board.letters, sizeof game.duplicateBoardCopy);
  for (int i = 0; i < game.PlayerCount(); ++i)
    if (GamePlayer* p = game.Player(i))
      p->turnPhase = kind == kKindDuplicate || p == game.currentPlayer ? kPhaseBegin : kPhaseIdle;
  EnableControl(kSlotRoomPanel, kSlotRoomPanelPlayersControl, game.PlayerCount() > 2);
  room.SetGamePlayerCount(game.PlayerCount());
  if (game.state == kStatePaused) game.state = kStateTurnRunning;
  game.hold = 0;
  game.StartTurnTimer();
  ui.RefreshPlayerPanels();
}

int NewRoomGame(const char* file) {
  g_loading = true;
  CGame* game = file ? OpenSavedGame(file) : nullptr;
  if (!game) {
    g_loading = false;
    return -1;
  }
  const int32_t kind = game->Kind();
  ReplaceRegisteredGame(game, kind == kKindCrossagram ? kCrossagramGameId : kMainGameId,
                        kind == kKindCrossagram);
  if (!GetGameSessionRegistry() || !GetGameSessionRegistry()->IsRegistered(game)) {
    // Nowhere to keep it: the game goes rather than leak.
    DeleteGame(game);
    g_loading = false;
    return -1;
  }
  GetGameSessionRegistry()->SetCurrentGame(game);
  game->rules->Setup(game->setup.language, game->rackSize, &game->setup);
  GetRoomCommandPort().ResetBoardScene(game->rules->boardSide);
  game->hold = 0;
  if (kind == kKindCrossagram)
    GetRoomCommandPort().FillCrossagramGrids(*game);
  else
    PrepareLoadedGame(*game);
  g_loading = false;
  return 1;
}

}  // namespace ui
