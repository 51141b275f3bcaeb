// The game's side of its move history: the entry made after every turn,
// replay to an entry, take-back, the best moves of the game, and pause.
#include <algorithm>
#include <cstring>
#include <string>

#include "game/game.h"
#include "game/game_strings.h"
#include "game/turn_support.h"
#include "game/ui_port.h"
#include "platform/message_sink.h"

namespace {

// The clock an entry keeps: the mover's, or in a duplicate game the first
// local human's.
int32_t MoverClock(const CGame& game) {
  const GamePlayer* mover = game.currentPlayer;
  if (game.Kind() == kKindDuplicate) {
    for (int i = 0; i < game.PlayerCount(); ++i) {
      const GamePlayer* p = game.Player(i);
      if (p && p->Type() == kPlayerHuman) {
        mover = p;
        break;
      }
    }
  }
  return mover ? mover->timeLeftMs : 0;
}

// Counts the tiles on the first `places` places of a rack.
int32_t RackTiles(const char* rack, int places) {
  int32_t n = 0;
  for (int i = 0; i < places && i < kMaxRackPlaces; ++i)
    if (!IsEmptyRackPlace(rack[i])) ++n;
  return n;
}

// The table's text with its "%s" filled in; never used as a printf format,
// since a translated table could hold any directive.
std::string FillIn(std::string format, const char* value) {
  const size_t at = format.find("%s");
  if (at != std::string::npos) format.replace(at, 2, value);
  return format;
}

void ShowImportedTurn(const HistoryRecord& r) {
  std::string text;
  if (r.entryKind == kEntryPass) {
    text = GameText(kStrPlayerPassed);
  } else if (r.entryKind == kEntryExchange) {
    char letters[kMoveWordSize + 1] = {};
    std::memcpy(letters, r.move.word, kMoveWordSize);
    text = FillIn(GameText(kStrPlayerSwapped), letters);
  } else {
    return;
  }
  platform::ShowNotice(text.c_str(), kGameMessageCaption, 0);
}

}  // namespace

PausedRacks& PausedDuplicateRacks() {
  static PausedRacks store;
  return store;
}

void CGame::RecordMove(const RobotMove* move) {
  if (!history) return;
  HistoryRecord r;
  if (move && move->word[0]) r.move = *move;
  r.comment = GetGameUiPort().PendingHistoryComment();
  r.turnElapsedMs = turnElapsedMs;
  r.timeLeftMs = MoverClock(*this);
  // Racks and scores as they stand: penalties and take-backs applied since
  // the previous entry stay applied.
  for (int i = 0; i < PlayerCount(); ++i) {
    const GamePlayer* p = Player(i);
    if (!p) continue;
    std::memcpy(r.racks[i], p->rack, kRackTextSize - 1);
    r.scores[i] = p->score;
  }
  history->AddMove(r);
  GameUiPort& ui = GetGameUiPort();
  ui.BroadcastGameChanged(this, kGameChangedMoveAdded);
  ui.RefreshRemainderWindow();
}

bool CGame::ReplayToMove(const HistoryRecord* target) {
  if (!history || !target) return false;
  const std::vector<const HistoryRecord*> path = history->PathTo(target);
  if (path.empty()) return false;
  history->Select(target);

  ClearBoardLetters();
  for (const HistoryRecord* r : path)
    LayMoveLetters(board.letters, r->move);
  lastMove = target->move;
  ShowImportedTurn(*target);

  const int places = rules ? rules->rackSize : kDefaultRackSize;
  for (int i = 0; i < PlayerCount(); ++i) {
    GamePlayer* p = Player(i);
    if (!p) continue;
    RobotMove none;
    p->SetPlayedWords(&none, 1);
    p->score = target->scores[i];
    std::memset(p->rack, 0, sizeof p->rack);
    std::memcpy(p->rack, target->racks[i], kRackTextSize - 1);
    p->rackCount = RackTiles(p->rack, places);
  }

  // The view shows the board and the rack of the player to move after the
  // entry (entry 1 opens the game, entry i + 1 is the move of player
  // start + i - 1).
  turns::LoadViewBoard(*this);
  if (PlayerCount() > 0) {
    const int n = PlayerCount();
    const int toMove =
        static_cast<int>(((startPlayerIndex + static_cast<int64_t>(path.size()) - 1) % n + n) % n);
    if (const GamePlayer* p = Player(toMove)) turns::LoadViewRack(*this, *p);
  }

  if (history->AtEndOfLine()) {
    if (state == kStatePaused) ResumeFromPause();
  } else {
    TogglePause();
  }
  // The scores and the player to move changed: the panels must show them,
  // not the position the player stepped away from.
  GameUiPort& ui = GetGameUiPort();
  ui.RefreshPlayerPanels();
  ui.RefreshRemainderWindow();
  return true;
}

HistoryRecord* CGame::GoToMove(int32_t n) {
  if (!history) return nullptr;
  if (n == history->GetIndex()) return history->GetCurrentData();
  HistoryRecord* r = history->GoToIndex(n);
  if (r) ReplayToMove(r);
  return r;
}

HistoryRecord* CGame::GoToHistoryIndex(int32_t n) {
  return history ? history->GoToIndex(n) : nullptr;
}

int32_t CGame::GetHistoryIndex() const { return HistoryIndex(history.get()); }

HistoryRecord* CGame::GetCurrentHistoryEntry() const {
  return history ? history->GetCurrentData() : nullptr;
}

HistoryRecord* CGame::GoToLastHistoryEntry() { return history ? history->GoToLast() : nullptr; }

HistoryRecord* CGame::AddHistoryMove(const HistoryRecord& record) {
  return history ? history->AddMove(record) : nullptr;
}

HistoryRecord* CGame::AddVariation(const HistoryRecord& record) {
  return history ? history->AddVariation(record) : nullptr;
}

HistoryRecord* CGame::PromoteVariation() { return history ? history->PromoteVariation() : nullptr; }

bool CGame::TakeBackLastMove() {
  if (!history || !history->GoToLast()) return false;
  return history->TakeBack() == kHistoryOk;
}

std::vector<HistoryRecord> CGame::ExportMainLine() const {
  return history ? history->ExportMainLine() : std::vector<HistoryRecord>();
}

const RobotMove* CGame::FindBestMoveInHistory(std::vector<RobotMove>& best) const {
  const int n = PlayerCount();
  if (!history || n <= 0) return nullptr;
  if (static_cast<int>(best.size()) < n) best.resize(n, HistoryRecord::EmptyMove());
  const RobotMove* touched = nullptr;
  const std::vector<HistoryRecord> line = history->ExportMainLine();
  for (size_t i = 1; i <= line.size(); ++i) {
    // Entry 1 is the start of the game; entry 2 the opener's first move.
    // The index is kept non-negative whatever the start player.
    const int owner =
        static_cast<int>(((startPlayerIndex + static_cast<int64_t>(i) - 2) % n + n) % n);
    const RobotMove& move = line[i - 1].move;
    if (move.score > best[owner].score) {
      best[owner] = move;
      touched = &best[owner];
    }
  }
  return touched;
}

void CGame::TogglePause() {
  if (state == kStateTurnRunning) {
    savedState = kStateTurnRunning;
    state = kStatePaused;
    if (Kind() != kKindDuplicate) return;
    PausedRacks& store = PausedDuplicateRacks();
    for (int i = 0; i < PlayerCount(); ++i)
      if (const GamePlayer* p = Player(i)) std::memcpy(store.racks[i], p->rack, kRackTextSize);
    store.saved = 1;
  } else if (state == kStateOver) {
    savedState = kStateOver;
    state = kStatePaused;
  }
}

void CGame::ResumeFromPause() {
  if (state != kStatePaused) return;
  if (savedState == kStateTurnRunning || savedState == kStateOver) state = savedState;
  savedState = kStateNoGame;
}

int32_t GetGameState(const CGame* game) { return game ? game->state : kStateNoGame; }
