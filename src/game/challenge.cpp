// Challenges: the challenge button, a challenge within the running turn,
// the last-turn challenge window after a player went out, and taking a
// false move back.
#include <algorithm>
#include <cstring>

#include "engine/robot.h"
#include "game/game.h"
#include "game/move_submit.h"
#include "game/player_message.h"
#include "game/turn_ports.h"
#include "game/game_strings.h"
#include "game/turn_support.h"
#include "game/ui_port.h"

namespace {

// A failed challenge costs this much per valid word where it costs points.
constexpr int32_t kChallengePenalty = 5;

bool IsHuman(const GamePlayer* p) { return p && p->Type() == kPlayerHuman; }

// A false contested word: counted against the player who played it.
void CountFalseWord(GamePlayer* challenged, GamePlayer& challenger) {
  if (IsHuman(challenged)) ++challenged->invalidWordsPlayed;
  if (IsHuman(&challenger)) ++challenger.challengesWon;
  if (challenged) challenged->lastAction = kLastInvalidWord;
}

void CountValidWord(GamePlayer& challenger) {
  challenger.lastAction = kLastChallengeFailed;
  if (IsHuman(&challenger)) ++challenger.challengesLost;
}

void SendChallenge(const PlayerAction& action, PlayerDataMessage* message) {
  if (!message) return;
  message->SetWords(action.contestedWords.data(), static_cast<int>(action.contestedWords.size()));
  turns::SendTurnMessage(*message);
}

// The challenger begins its turn again on the restored board.
void RestartChallenger(GamePlayer& challenger) {
  if (challenger.Type() == kPlayerComputer && challenger.GetRobot())
    challenger.GetRobot()->CancelThinking();
  challenger.turnPhase = kPhaseBegin;
}

void RefreshAfterChallenge() {
  GameUiPort& ui = GetGameUiPort();
  ui.RefreshPlayerPanels();
  NotifyGameViewsChanged();
}

}  // namespace

bool RequestChallenge(CGame* game) {
  if (!game || !game->previousPlayer || !game->currentPlayer) return false;
  GamePlayer& challenger = *game->currentPlayer;
  challenger.contestedWords.clear();
  const bool chosen = GetBoardViewPort().RunChallengeDialog(game->previousPlayer->moveWords,
                                                            challenger.contestedWords);
  if (chosen && game->viewingPlayer) game->viewingPlayer->request = kRequestChallenge;
  return chosen;
}

namespace turns {

void TakeBackMove(CGame& game, GamePlayer& p, bool runningTurn) {
  if (p.moveWords.empty()) return;
  const RobotMove move = p.moveWords.front();
  p.score -= move.score;
  game.RemoveMoveLetters(move);
  if (runningTurn) {
    // The move's history entry goes; the cursor stays at the last entry.
    game.TakeBackLastMove();
    game.GoToLastHistoryEntry();
    GetGameUiPort().BroadcastGameChanged(&game, kGameChangedRebuild);
    GetBoardViewPort().RedrawBoardWindow();
  }
  p.ClearPlayedWords();
  LoadViewBoard(game);

  // The bag gets the move's tiles and the rack drawn after it; the rack as
  // it was before the move comes out of the bag again.
  char used[kPlacedLettersSize + 1] = {};
  int n = 0;
  for (char c : move.placedLetters)
    if (c) used[n++] = c;
  game.bag.ReturnLetters(game.BagRules(), used, n);
  const int places = p.RackPlaces();
  game.bag.ReturnLetters(game.BagRules(), p.rack, places);
  std::memset(p.rack, 0, sizeof p.rack);
  std::memcpy(p.rack, p.rackBeforeMove, kMaxRackPlaces);
  p.rackCount = 0;
  for (int i = 0; i < kMaxRackPlaces && p.rack[i]; ++i) {
    if (p.rack[i] == kEmptyRackPlace) continue;
    game.bag.HasLetter(game.BagRules(), p.rack[i]);
    ++p.rackCount;
  }

  GetGameUiPort().RefreshRemainderWindow();
  NotifyGameViewsChanged();
  if (IsHuman(&p)) LoadViewRack(game, p);
  game.RecordMove(nullptr);
}

void ResolveChallenge(CGame& game, GamePlayer& challenger, const PlayerAction& action,
                      PlayerDataMessage* message) {
  SendChallenge(action, message);
  GamePlayer* challenged = game.previousPlayer;
  bool falseWord = false;
  for (const RobotMove& w : action.contestedWords) {
    if (!IsLexiconWord(w.word)) {
      falseWord = true;
      CountFalseWord(challenged, challenger);
      continue;
    }
    if (game.setup.challengeMode == 1) challenger.turnPhase = kPhaseOver;
    if (game.setup.challengeMode == 3) challenger.score -= kChallengePenalty;
    CountValidWord(challenger);
  }
  if (challenged && !challenged->moveWords.empty()) {
    if (falseWord) {
      TakeBackMove(game, *challenged, true);
      RestartChallenger(challenger);
    } else if (game.setup.challengeMode == 2) {
      ShowGameNotice(GameText(kStrChallengeFailed).c_str());
      challenger.RetryTurn(game);
    }
  }
  RefreshAfterChallenge();
  challenger.request = kRequestNone;
}

}  // namespace turns

void CGame::ResolveLastTurnChallenge() {
  GamePlayer* p = turns::StartTurnStep(*this);
  if (!p) return;
  if (p->turnPhase == kPhaseBegin) {
    p->BeginTurn(*this);
    p->turnPhase = kPhaseDeciding;
    return;
  }
  if (p->turnPhase != kPhaseDeciding) return;

  const bool sends = turns::SendsMessagesFor(*p);
  // A computer never challenges: it lets the window close at once rather
  // than search (and perhaps swap letters) after the game is decided.
  if (p->Type() == kPlayerComputer || (!CanChallenge() && p->Type() != kPlayerRemote)) {
    if (sends) {
      PlayerDataMessage pass = turns::PrepareTurnMessage(*this, *p);
      pass.request = kRequestPass;
      turns::SendTurnMessage(pass);
    }
    state = kStateOver;
    return;
  }

  PlayerAction action;
  if (!p->DecideAction(*this, action)) return;
  p->hasActed = 1;
  if (action.code != kActionChallenge) {
    // A pass, or any other decision, closes the window (a remote player's
    // too, whose next message would never come).
    state = kStateOver;
    return;
  }
  PlayerDataMessage message;
  if (sends) {
    message = turns::PrepareTurnMessage(*this, *p);
    SendChallenge(action, &message);
  }
  GamePlayer* challenged = previousPlayer;
  bool falseWord = false;
  for (const RobotMove& w : action.contestedWords) {
    turns::Debug("Contest word %s\n", w.word);
    if (!turns::IsLexiconWord(w.word)) {
      turns::Debug("  word %s is false\n", w.word);
      falseWord = true;
      CountFalseWord(challenged, *p);
      continue;
    }
    turns::Debug("  word %s is true\n", w.word);
    p->score -= kChallengePenalty;
    if (IsHuman(p)) ++p->challengesLost;
  }
  if (falseWord && challenged && !challenged->moveWords.empty()) {
    turns::TakeBackMove(*this, *challenged, false);
    state = kStateTurnRunning;
    p->request = kRequestNone;
    RestartChallenger(*p);
  } else {
    state = kStateOver;
  }
  turns::Debug("Last turn Contest\n");
}
