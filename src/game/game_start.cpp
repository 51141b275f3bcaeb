// The game object's life: creation, set-up of a new game, its players and
// bag, the information block and the board-view copies.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "game/crossagram_settings.h"
#include "game/game.h"
#include "game/game_clock.h"
#include "game/game_strings.h"
#include "game/net_port.h"
#include "game/ui_port.h"
#include "platform/message_sink.h"

PendingUiAction& PendingBoardAction() {
  static PendingUiAction action = nullptr;
  return action;
}

CGame* CreateGame() {
  CGame* game = new (std::nothrow) CGame;
  if (!game) return nullptr;
  game->guid = platform::CreateGuid();
  game->ClearBoardLetters();
  game->state = kStateNoGame;
  return game;
}

void DeleteGame(CGame* game) { delete game; }

void NotifyGameViewsChanged() {
  GameUiPort& ui = GetGameUiPort();
  ui.PostFrameMessage(kMsgViewsChanged);
  ui.RefreshPlayerPanels();
  ui.RedrawGameInfoStrip();
  ui.RefreshRemainderWindow();
}

void CGame::Init() {
  GetGameUiPort().DebugOutput("CGame::Init()\n");
  rules->Setup(setup.language, rackSize, &setup);
  ClearBoardLetters();
  if (IsNetworkGame()) startPlayerIndex = turnIndex = 0;
}

void CGame::StartNewGame() {
  Init();
  turnIndex = startPlayerIndex;
  consecutivePasses = scorelessTurns = 0;
  CreatePlayers();
  FillBag();
  GameUiPort& ui = GetGameUiPort();
  if (Kind() == kKindCrossagram) ui.PrepareCrossagramGrid(*this);
  ui.BroadcastGameChanged(this, kGameChangedRebuild);
  PendingBoardAction() = nullptr;
  gameElapsedMs = turnElapsedMs = 0;
  clockPaused = 0;
  clockBytes[0] = clockBytes[1] = 0;
  // The opening entry: replay and the best-move search count the moves from
  // entry 2, so a previous game's entries must not stay in front of it.
  if (history) history->Clear();
  RecordMove(nullptr);
  tournamentMode = kTournamentNone;
  prepareIndex = startPlayerIndex;
  state = kStateTurnStart;
  lastTick = kNoTick;
  ui.RefreshPlayerPanels();
}

void CGame::ClearGame() {
  if (history) history->Clear();
  DropPlayers();
  referencePlayer.reset();
  anagramWords.clear();
  anagramSolutions.clear();
  turnIndex = startPlayerIndex = roundCount = 0;
  previousRound = -1;
  ClearBoardLetters();
  state = kStateNoGame;
}

void CGame::Restart() {
  ClearGame();
  StartNewGame();
}

void CGame::DropPlayers() {
  // The pointers into the array go first so that nothing points at a
  // deleted player.
  previousPlayer = currentPlayer = viewingPlayer = nullptr;
  for (std::unique_ptr<GamePlayer>& p : players)
    p.reset();
}

void CGame::CreatePlayers() {
  int32_t time = kNoClock;
  if (setup.clockMode == kClockPerGame) time = setup.gameTimeMs;
  if (setup.clockMode == kClockPerMove) time = setup.moveTimeMs;

  DropPlayers();
  const int count = PlayerCount();
  for (int i = 0; i < count; ++i) {
    // A duplicate game starts every seat's working word afresh.
    if (Kind() == kKindDuplicate) setup.entries[i].extra = 0;
    auto player = std::make_unique<GamePlayer>(setup.entries[i], i);
    player->AttachGame(this);
    if (player->Type() == kPlayerHuman) player->ConfigureRobot();
    player->Reset();
    player->perTurnField = 0;
    player->timeLeftMs = time;
    player->blankOwed = 1;
    player->turnPhase = kPhaseIdle;
    players[i] = std::move(player);
  }
  currentPlayer = turnIndex >= 0 && turnIndex < count ? players[turnIndex].get() : nullptr;
  previousPlayer = nullptr;
}

void CGame::FillBag() {
  if (Kind() == kKindCrossagram) LoadCrossagramSettings(*this);
  bag.Fill(BagRules());
  if (Kind() == kKindDuplicate && HasFlag(kFlagBlankPerPlayer)) blanksToHandOut = kBlanksToHandOut;
  balanceMinimum = 2;
  bag.firstLetter = 0;
}

bool CGame::DrawGivenLetters(const char* text, int n) {
  const TileBag::GivenResult r = bag.DrawGivenLetters(BagRules(), text, n, &blanksToHandOut);
  if (r.ok()) return true;
  if (r.refusal == TileBag::GivenRefusal::kNoMoreLetter) {
    char message[64];
    std::snprintf(message, sizeof message, GameText(kStrNoMoreLetter).c_str(), r.letter);
    platform::ShowNotice(message, kGameMessageCaption, 0);
  } else {
    platform::ShowNotice(GameText(kStrNoJokersLeft).c_str(), kGameMessageCaption, 0);
  }
  return false;
}

void CGame::ClearBoardLetters() { std::memset(board.letters, 0, sizeof board.letters); }

void CGame::ShowRackInView(const char* viewCells) {
  if (!viewCells) return;
  const bool crossagram = Kind() == kKindCrossagram;
  for (int r = 0; r < kMaxBoardSide; ++r)
    for (int c = 0; c < kMaxBoardSide; ++c) {
      char letter = viewCells[r * kViewRowBytes + c * kViewCellBytes];
      if (crossagram && letter == kCrossagramPlaceholder) letter = kEmptySquare;
      board.letters[r * kBoardStride + c] = letter;
    }
}

bool CGame::BoardViewDiffers(const char* viewCells) const {
  if (!viewCells) return false;
  for (int r = 0; r < kMaxBoardSide; ++r)
    for (int c = 0; c < kMaxBoardSide; ++c) {
      const char cell = viewCells[r * kViewRowBytes + c * kViewCellBytes];
      if (static_cast<uint8_t>(cell) >= 'A' && cell != board.letters[r * kBoardStride + c])
        return true;
    }
  return false;
}

void CGame::StartTurnTimer() {
  lastTick = GameTickCount();  // the clock the turn's updates read
  clockPaused = 0;
}

bool CGame::HasLocalHuman() const {
  for (int i = 0; i < PlayerCount(); ++i)
    if (setup.entries[i].playerType == kPlayerHuman) return true;
  return false;
}

void CGame::SetFileSafeName(const char* text) {
  MakeFileSafeName(info.fileSafeName, sizeof info.fileSafeName, text);
}

void CGame::SetInfoText1(const char* text) {
  CopyInfoText(info.infoText1, sizeof info.infoText1, text);
}

void CGame::SetInfoText2(const char* text) {
  CopyInfoText(info.infoText2, sizeof info.infoText2, text);
}

void CGame::SetInfoPath(const char* text) { CopyInfoText(info.path, sizeof info.path, text); }

void CGame::SetDateText(const char* text) {
  CopyInfoText(info.dateText, sizeof info.dateText, text);
}

void CGame::CopyGameInfo(const CGame& from) {
  if (&from != this) info = from.info;
}

void CGame::ResetGameInfo() {
  info.Clear();
  const std::string title = GameText(kStrProgramTitle);
  CopyInfoText(info.title, sizeof info.title, title.c_str());
  info.markA = kGameInfoMarkA;
  info.markB = kGameInfoMarkB;
  tournamentMode = kTournamentNone;
  FormatDateText(info.dateText, sizeof info.dateText);
}
