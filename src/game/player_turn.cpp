// The player's side of a turn: beginning, getting ready, retrying and
// ending it. Deciding is in decide.cpp.
#include <cstring>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "game/game.h"
#include "game/robot_view.h"
#include "game/turn_support.h"

namespace {

// The player's previous move goes into its statistics once.
void EnterLastMoveInStats(GamePlayer& p) {
  if (p.statsRecorded) return;
  p.statsRecorded = 1;
  if (p.lastAction != kLastPlayed || p.moveWords.empty()) return;
  bool allValid = true;
  for (const RobotMove& w : p.moveWords)
    allValid = allValid && turns::IsLexiconWord(w.word);
  p.stats[kStandardStats].RecordMove(p.moveWords.front(), static_cast<int>(p.moveWords.size()),
                                     allValid);
}

}  // namespace

void GamePlayer::BeginTurn(CGame& game) {
  request = kRequestNone;
  hasActed = 0;
  turnByte = secondTurnByte = 0;
  perTurnField = 0;
  contestedWords.clear();
  if (game.setup.clockMode == kClockPerMove) timeLeftMs = game.setup.moveTimeMs;
  if (Type() != kPlayerHuman) return;
  EnterLastMoveInStats(*this);
  game.viewingPlayer = this;
  turns::LoadViewBoard(game);
  turns::LoadViewRack(game, *this);
  RobotFindBestMove(game);
}

void GamePlayer::RobotFindBestMove(CGame& game) {
  Robot* robot = GetRobot();
  if (!robot) return;
  StopRobotLook();
  RobotGameView view = MakeRobotGameView(game, robot);
  view.hasCurrent = true;
  view.current = MakeRobotPlayerView(*this);
  robot->SetGameView(view);
  robot->BeginSearch();
  robot->StartThinking(game.board.letters, rack);
}

void GamePlayer::StopRobotLook() {
  if (Robot* robot = GetRobot(); robot && robot->IsThinking()) robot->CancelThinking();
}

bool GamePlayer::PrepareTurn(CGame& game) {
  if (game.Kind() != kKindStandard) return true;
  if (Type() == kPlayerRemote)
    RefillRack();  // the peer's rack, once its first message has come
  else
    turns::DrawStandardRack(game, *this);
  return true;
}

void GamePlayer::RetryTurn(CGame& game) {
  (void)game;
  // hasActed stays: a player who has acted may not challenge any more.
  request = kRequestNone;
  turnPhase = kPhaseDeciding;
}

void GamePlayer::EndTurn(CGame& game) {
  (void)game;
  // A local human's background look ends with its turn; a computer's
  // search is spent.
  if (Type() == kPlayerHuman) StopRobotLook();
  if (Type() == kPlayerComputer && GetRobot()) GetRobot()->ClearMoveSlots();
}

void GamePlayer::ClearPlayedWords() {
  moveWords.clear();
  moveWords.shrink_to_fit();
}
