// The turn machine: CGame::Update once per frame, the standard game's turn
// (a player begins, decides, and its decision is carried out), passing the
// turn on, and the end of the game.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/robot.h"
#include "game/game.h"
#include "game/game_clock.h"
#include "game/net_port.h"
#include "game/player_message.h"
#include "game/turn_ports.h"
#include "game/game_strings.h"
#include "game/turn_support.h"
#include "game/ui_port.h"

namespace {

constexpr int32_t kRoundLimit = 100;  // cycles of turns that end any standard game
constexpr int32_t kChallengeWindowMs = 15000;
constexpr double kExpectedScoreScale = 0.0025;  // 1/400

bool IsHuman(const GamePlayer* p) { return p && p->Type() == kPlayerHuman; }

}  // namespace

namespace turns {

void RunPendingAction(CGame& game) {
  PendingUiAction action = PendingBoardAction();
  if (!action) return;
  PendingBoardAction() = nullptr;
  action(&game);
}

bool EveryoneOutOfTime(const CGame& game) {
  if (game.setup.clockMode != kClockPerGame) return false;
  for (int i = 0; i < game.PlayerCount(); ++i) {
    const GamePlayer* p = game.Player(i);
    if (p && !p->outOfTime) return false;
  }
  return true;
}

}  // namespace turns

int32_t CGame::Update() {
  // A new game: its end is still to be settled.
  if (state == kStateTurnStart || state == kStateNoGame) endSettled = 0;
  UpdateClocks();
  if (hold) return state;
  switch (state) {
    case kStateTurnStart:
      if (Kind() == kKindStandard)
        StartStandardTurn();
      else if (Kind() == kKindDuplicate)
        StartDuplicateTurn();
      else if (Kind() == kKindAnagram)
        StartAnagramTurn();
      else if (Kind() == kKindConundrum || Kind() == kKindExercise)
        BeginRunningTurn();
      else if (Kind() == kKindCrossagram)
        state = kStateTurnRunning;
      break;
    case kStateTurnRunning:
      UpdateSceneButtons();
      if (Kind() == kKindStandard)
        RunStandardTurn();
      else if (Kind() == kKindDuplicate)
        RunDuplicateTurn();
      else if (Kind() == kKindAnagram)
        RunAnagramTurn();
      else if (Kind() == kKindConundrum)
        RunConundrumTurn();
      else if (Kind() == kKindExercise)
        RunExerciseTurn();
      else if (Kind() == kKindCrossagram)
        turns::RunPendingAction(*this);
      break;
    case kStatePaused:
      UpdateSceneButtons();
      break;
    case kStateLastChallenge:
      if (Kind() == kKindStandard) {
        UpdateSceneButtons();
        ResolveLastTurnChallenge();
      }
      break;
    default:
      break;
  }
  if (state == kStateOver && !endSettled) return FinishGame();
  return state;
}

void CGame::UpdateClocks() {
  const uint32_t now = GameTickCount();
  const bool first = lastTick == kNoTick;
  const int32_t elapsed = static_cast<int32_t>(now - lastTick);
  lastTick = now;
  if (first || clockPaused) return;
  if (state != kStateTurnRunning && state != kStateLastChallenge) return;
  gameElapsedMs += elapsed;
  turnElapsedMs += elapsed;
  if (setup.clockMode != kClockNone && currentPlayer) currentPlayer->timeLeftMs -= elapsed;
}

void CGame::PauseTurn() {
  UpdateClocks();
  clockPaused = 1;
}

void CGame::BeginRunningTurn() {
  if (currentPlayer) currentPlayer->turnPhase = kPhaseBegin;
  state = kStateTurnRunning;
}

void CGame::StartStandardTurn() {
  const int count = PlayerCount();
  if (prepareIndex < 0 || prepareIndex >= count) prepareIndex = 0;
  GamePlayer* p = Player(prepareIndex);
  if (!p) {  // no players: nothing can be played
    state = kStateOver;
    return;
  }
  if (!p->PrepareTurn(*this)) return;
  if (IsHuman(p) && !viewingPlayer) {
    viewingPlayer = p;
    // The panels mark the player whose rack is shown.
    GetGameUiPort().RefreshPlayerPanels();
  }
  prepareIndex = (prepareIndex + 1) % count;
  if (prepareIndex == startPlayerIndex) {
    if (GamePlayer* first = Player(startPlayerIndex)) first->turnPhase = kPhaseBegin;
    state = kStateTurnRunning;
  }
  GetGameUiPort().RefreshRemainderWindow();
}

namespace {

// A play: the words are looked up when nobody can challenge them; a move
// that stands is scored, taken off the rack, laid, recorded and the rack
// refilled.
void CarryOutPlay(CGame& game, GamePlayer& p, PlayerDataMessage* message) {
  RobotMove& first = p.moveWords.front();
  const bool lookUp = game.setup.challengeMode == 0 || !game.OthersCanStillPlay();
  for (const RobotMove& w : p.moveWords) {
    if (!lookUp || turns::IsLexiconWord(w.word)) continue;
    turns::ShowInvalidWord(w.word);
    if (game.setup.invalidWordForfeits) {
      p.lastAction = kLastInvalidWord;
      // The other machines judge the same words and forfeit the move too.
      if (message) {
        message->SetWords(p.moveWords.data(), static_cast<int>(p.moveWords.size()));
        turns::SendTurnMessage(*message);
      }
      p.ClearPlayedWords();  // never laid, so nothing to challenge
      // Every turn has its entry, as a lost turn has on the other machines.
      game.RecordMove(nullptr);
      p.turnPhase = kPhaseOver;
    } else if (p.Type() == kPlayerComputer) {
      // Its search would find the same move again: it passes.
      p.lastAction = kLastPassed;
      p.ClearPlayedWords();
      game.RecordMove(nullptr);
      game.CountPass();
      p.turnPhase = kPhaseOver;
    } else {
      p.RetryTurn(game);
    }
    return;
  }

  const std::string used = turns::UsedLetters(game, first);
  if (used.empty() || !turns::RackHolds(p, used)) {
    // Tiles that are not on the rack would be made from nothing.
    turns::Debug("Move of player %d refused: its tiles are not on the rack\n", p.playerIndex);
    p.ClearPlayedWords();
    p.RetryTurn(game);
    return;
  }
  p.score += first.score;
  p.RemoveFromRack(used.c_str());
  RobotMove laid = first;
  game.ApplyMove(laid);
  std::memcpy(first.placedLetters, laid.placedLetters, sizeof first.placedLetters);
  game.RecordMove(&first);
  game.consecutivePasses = game.scorelessTurns = 0;
  if (!game.IsBestSolutionGame()) {
    if (p.Type() == kPlayerRemote)
      p.RefillRack();
    else
      turns::DrawStandardRack(game, p);
    if (message) {
      std::memcpy(message->rack, p.rack, sizeof message->rack);
      message->rackCount = p.rackCount;
      message->SetWords(p.moveWords.data(), static_cast<int>(p.moveWords.size()));
      turns::SendTurnMessage(*message);
    }
  }
  p.turnPhase = kPhaseOver;
  turns::LoadViewBoard(game);
}

// A pass, an exchange or a lost turn: recorded without a move.
void CarryOutNoMove(CGame& game, GamePlayer& p, int32_t code, PlayerDataMessage* message) {
  if (code == kActionExchange) {
    if (p.Type() == kPlayerRemote && !game.IsBestSolutionGame()) p.RefillRack();
    if (message) {
      std::memcpy(message->rack, p.rack, sizeof message->rack);
      message->rackCount = p.rackCount;
    }
  }
  if (message) turns::SendTurnMessage(*message);
  game.RecordMove(nullptr);
  p.ClearPlayedWords();
  if (code == kActionPass) game.CountPass();
  p.turnPhase = kPhaseOver;
}

void DecideAndCarryOut(CGame& game, GamePlayer& p) {
  PlayerAction action;
  if (!p.DecideAction(game, action)) return;
  p.hasActed = 1;
  PlayerDataMessage message;
  const bool sends = turns::SendsMessagesFor(p);
  if (sends) message = turns::PrepareTurnMessage(game, p);
  PlayerDataMessage* out = sends ? &message : nullptr;
  switch (action.code) {
    case kActionPlay:
      if (p.moveWords.empty()) {
        p.RetryTurn(game);
        return;
      }
      CarryOutPlay(game, p, out);
      break;
    case kActionPass:
    case kActionTurnLost:
    case kActionExchange:
      CarryOutNoMove(game, p, action.code, out);
      break;
    case kActionChallenge:
      turns::ResolveChallenge(game, p, action, out);
      break;
    default:
      break;
  }
}

}  // namespace

void CGame::RunStandardTurn() {
  GamePlayer* p = turns::StartTurnStep(*this);
  if (!p) return;
  switch (p->turnPhase) {
    case kPhaseBegin:
      p->BeginTurn(*this);
      p->turnPhase = kPhaseDeciding;
      break;
    case kPhaseDeciding:
      DecideAndCarryOut(*this, *p);
      break;
    case kPhaseOver: {
      if (IsHuman(p)) p->statsRecorded = 0;
      if (p->lastAction == kLastPlayed && !p->moveWords.empty())
        p->lastMoveRecord = p->moveWords.front();
      p->EndTurn(*this);
      if (IsBestSolutionGame()) {
        state = kStatePaused;
        p->turnPhase = kPhaseIdle;
        NotifyGameViewsChanged();
        break;
      }
      AdvanceTurn();
      if (p->rackCount == 0 && state != kStateOver) state = kStateLastChallenge;
      break;
    }
    default:
      break;
  }
}

void CGame::AdvanceTurn() {
  previousRound = roundCount;
  GamePlayer* old = currentPlayer;
  if (old) old->turnPhase = kPhaseIdle;
  const int count = PlayerCount();
  const bool sideGame = IsSingleRowKind(Kind());
  if (Kind() == kKindStandard || sideGame) {
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
      if (++turnIndex >= count) {
        turnIndex = 0;
        ++roundCount;
        if (sideGame) {
          if (setup.maxRounds != -1 && roundCount >= setup.maxRounds) {
            state = kStateOver;
            roundCount = setup.maxRounds - 1;
          }
        } else if ((setup.maxRounds != -1 && roundCount >= setup.maxRounds) ||
                   roundCount >= kRoundLimit) {
          state = kStateOver;
        }
      }
      const GamePlayer* next = Player(turnIndex);
      found = sideGame || (next && !next->outOfTime);
    }
    if (!found) state = kStateOver;
    previousPlayer = old;
    currentPlayer = Player(turnIndex);
    if (currentPlayer) currentPlayer->turnPhase = kPhaseBegin;
    GetGameUiPort().RefreshPlayerPanels();
  }
  NotifyGameViewsChanged();
  turnElapsedMs = 0;
}

void CGame::CountPass() {
  if (IsBestSolutionGame()) return;
  ++scorelessTurns;
  ++consecutivePasses;
  if (consecutivePasses >= 2 * PlayerCount()) state = kStateOver;
}

bool CGame::OthersCanStillPlay() const {
  if (setup.clockMode != kClockPerGame) return true;
  for (int i = 0; i < PlayerCount(); ++i) {
    const GamePlayer* p = Player(i);
    if (p && p != currentPlayer && !p->outOfTime) return true;
  }
  return false;
}

bool CGame::CanChallenge() const {
  if (setup.challengeMode == 0) return false;
  if (!previousPlayer || previousPlayer->Type() == kPlayerComputer) return false;
  if (previousPlayer->moveWords.empty()) return false;
  if (currentPlayer && currentPlayer->hasActed) return false;
  return turnElapsedMs < kChallengeWindowMs;
}

namespace {

// The view holds tiles that are not on the game board.
bool ViewHasNewTiles(const CGame& game) {
  char view[kBoardSquares] = {};
  if (!GetBoardViewPort().ReadBoardLetters(view)) return false;
  for (int i = 0; i < kBoardSquares; ++i)
    if (static_cast<uint8_t>(view[i]) >= 'A' && view[i] != game.board.letters[i]) return true;
  return false;
}

}  // namespace

void CGame::UpdateSceneButtons() {
  uint32_t mask = 0;
  if (Kind() == kKindCrossagram) {
    if (state != kStatePaused) mask = kButtonShuffle | kButtonSort | kButtonHint | kButtonSubmit;
  } else if (state == kStatePaused || !viewingPlayer || viewingPlayer->request != kRequestNone) {
    mask = 0;
  } else if (ViewHasNewTiles(*this)) {
    if (IsHuman(currentPlayer)) {
      currentPlayer->hasActed = 1;
      mask = kButtonPlay | kButtonEvaluate | kButtonCancel;
    } else {
      mask = kButtonEvaluate | kButtonCancel;
    }
  } else if (IsHuman(currentPlayer)) {
    const bool best = IsBestSolutionGame();
    if (Kind() == kKindStandard && !best && CanChallenge() && OthersCanStillPlay())
      mask = kButtonChallenge | kButtonSort | kButtonShuffle | kButtonExchange;
    else if (Kind() == kKindStandard && !best)
      mask = kButtonPass | kButtonExchange | kButtonSort | kButtonShuffle;
    else
      mask = kButtonPass | kButtonSort | kButtonShuffle;
  } else {
    mask = kButtonSort | kButtonShuffle;
  }
  GetBoardViewPort().SetSceneButtonMask(mask);
}

namespace {

// The end of a standard game for the local player's profile: the expected
// result of a rated two-player game, then the statistics.
void StoreExpectedScore(CGame& game) {
  if (!game.setup.rankingGame || game.PlayerCount() != 2 || game.setup.noStatistics) return;
  const bool internet = GetGameNetPort().GetNetworkMode() == kNetworkInternet;
  const int local = internet ? std::clamp<int32_t>(GetGameNetPort().LocalPlayerIndex(), 0, 1) : 0;
  const GamePlayer* own = game.Player(local);
  const GamePlayer* other = game.Player(1 - local);
  if (!own || !other) return;
  const double d = static_cast<double>(other->rating) - own->rating;
  const float expected = static_cast<float>(1.0 / (1.0 + std::pow(10.0, d * kExpectedScoreScale)));
  GetGameResultPort().StoreExpectedScore(expected, internet);
}

void EnterLastMoves(CGame& game) {
  for (int i = 0; i < game.PlayerCount(); ++i) {
    GamePlayer* p = game.Player(i);
    if (!p || (p->Type() != kPlayerHuman && p->Type() != kPlayerRemote)) continue;
    p->cyclesPlayed = game.roundCount + 1;
    if (p->statsRecorded || p->lastAction != kLastPlayed || p->moveWords.empty()) continue;
    bool allValid = true;
    for (const RobotMove& w : p->moveWords)
      allValid = allValid && turns::IsLexiconWord(w.word);
    p->stats[kStandardStats].RecordMove(p->moveWords.front(), static_cast<int>(p->moveWords.size()),
                                        allValid);
    p->statsRecorded = 1;
  }
}

}  // namespace

int32_t CGame::FinishGame() {
  endSettled = 1;
  CancelAllRobots();
  if (Kind() == kKindStandard) {
    EnterLastMoves(*this);
    SettleFinalRacks();
    StoreExpectedScore(*this);
    if (!setup.noStatistics && HasLocalHuman() && PlayerCount() >= 2)
      GetGameResultPort().RecordGameStatistics(*this);
    GetGameUiPort().PostFrameMessage(kMsgViewsChanged);
  } else if (Kind() == kKindDuplicate) {
    if (!setup.noStatistics) GetGameResultPort().RecordGameStatistics(*this);
  }
  // The racks' penalties moved the scores: the panels must not keep the old ones.
  GetGameUiPort().RefreshPlayerPanels();
  return state;
}

void CGame::CancelAllRobots() {
  // Computers search for their turns and local humans look in the
  // background: every robot stops.
  for (int i = 0; i < PlayerCount(); ++i) {
    GamePlayer* p = Player(i);
    if (p && p->GetRobot()) p->GetRobot()->CancelThinking();
  }
}

void CGame::StopGame() {
  CancelAllRobots();
  state = kStateOver;
}
