// GamePlayer::DecideAction: what a local human asked for with the board
// buttons, what a computer player's search found, or what a remote player's
// turn message says, as the action the turn carries out.
#include <algorithm>
#include <cstring>

#include "engine/robot.h"
#include "game/robot_view.h"
#include "game/game.h"
#include "game/move_submit.h"
#include "game/net_port.h"
#include "game/turn_support.h"

namespace {

// A clock that has run out turns the request into "out of time"; a
// per-game clock also takes the player out of the game.
void CheckClock(const CGame& game, GamePlayer& p) {
  if (game.setup.clockMode == kClockNone || p.timeLeftMs >= 1) return;
  p.request = kRequestOutOfTime;
  if (game.setup.clockMode == kClockPerGame) p.outOfTime = 1;
}

void Decide(GamePlayer& p, PlayerAction& a, int32_t code, int32_t lastAction) {
  a.code = code;
  p.lastAction = lastAction;
}

bool DecideHuman(CGame& game, GamePlayer& p, PlayerAction& a) {
  CheckClock(game, p);
  switch (p.request) {
    case kRequestPass:
      Decide(p, a, kActionPass, kLastPassed);
      return true;
    case kRequestExchange:
      Decide(p, a, kActionExchange, kLastExchanged);
      return true;
    case kRequestPlay:
      if (p.moveWords.empty()) {  // nothing to play: ask again
        p.request = kRequestNone;
        return false;
      }
      a.move = p.moveWords.front();
      Decide(p, a, kActionPlay, kLastPlayed);
      return true;
    case kRequestChallenge:
      a.contestedWords = p.contestedWords;
      Decide(p, a, kActionChallenge, kLastChallenged);
      return true;
    case kRequestOutOfTime:
    case kRequestForfeit:
      Decide(p, a, kActionTurnLost, p.request);
      return true;
    default:
      return false;
  }
}

bool DecideComputer(CGame& game, GamePlayer& p, PlayerAction& a) {
  CheckClock(game, p);
  Robot* robot = p.GetRobot();
  if (!robot) {  // nothing to think with
    Decide(p, a, kActionPass, kLastPassed);
    return true;
  }
  if (!robot->IsThinking()) {
    // A new search: the game it plays for, no found moves, fresh ranges.
    RobotGameView view = MakeRobotGameView(game, robot);
    view.hasCurrent = true;
    view.current = MakeRobotPlayerView(p);
    robot->SetGameView(view);
    robot->BeginSearch();
  }
  const bool done = robot->StartThinking(game.board.letters, p.rack);
  if (p.request == kRequestOutOfTime) {
    robot->CancelThinking();
    Decide(p, a, kActionTurnLost, kLastOutOfTime);
    return true;
  }
  if (!done) return false;

  switch (robot->GetResultState()) {
    case kResultNoMove:
      Decide(p, a, kActionPass, kLastPassed);
      return true;
    case kResultPlay: {
      const RobotMove* move = robot->SortedFirstMove(MoveSortKey::kRankValue);
      if (!move || move->word[0] == 0) {
        Decide(p, a, kActionPass, kLastPassed);
        return true;
      }
      p.SetPlayedWords(move, 1);
      a.move = *move;
      p.request = kRequestPlay;
      Decide(p, a, kActionPlay, kLastPlayed);
      return true;
    }
    case kResultAdvice3:
      // An exchange the bag refuses changes nothing: it is a pass, here and
      // on the other machines, which see the rack unchanged. A duplicate
      // player's rack is a copy of the common rack, so swapping it would
      // put tiles in the bag that are still on the common rack: it passes.
      if (game.Kind() == kKindDuplicate || !p.Exchange(robot->GetRack())) {
        p.request = kRequestPass;
        Decide(p, a, kActionPass, kLastPassed);
        return true;
      }
      p.request = kRequestExchange;
      Decide(p, a, kActionExchange, kLastExchanged);
      return true;
    default:
      return false;
  }
}

// The rack places of a message and of the player hold the same tiles in the
// same places ('_' and NUL both empty).
bool SameRack(const char* a, const char* b, int places) {
  for (int i = 0; i < places; ++i) {
    const bool emptyA = IsEmptyRackPlace(a[i]);
    if (emptyA != IsEmptyRackPlace(b[i]) || (!emptyA && a[i] != b[i])) return false;
  }
  return true;
}

// The slot's new message, decoded and checked; false (the message dropped)
// when none came or it is damaged.
bool TakeMessage(const CGame& game, const GamePlayer& p, PlayerDataMessage& m) {
  GameNetPort& net = GetGameNetPort();
  net.ApplyPendingGameDescription();
  uint8_t bytes[kPlayerMessageSize + 1];
  const size_t n = net.TakeReceivedMessage(p.playerIndex, bytes, sizeof bytes);
  if (n == 0) return false;
  if (!DecodePlayerMessage(bytes, n, m)) {
    turns::Debug("Turn message of player %d dropped: bad frame\n", p.playerIndex);
    return false;
  }
  const MessageFault fault = CheckPlayerMessage(m, game.rules->boardSide, p.RackPlaces());
  if (fault != MessageFault::kNone || m.turnIndex != game.turnIndex) {
    turns::Debug("Turn message of player %d dropped: fault %d\n", p.playerIndex,
                 static_cast<int>(fault));
    return false;
  }
  return true;
}

bool DecideRemote(CGame& game, GamePlayer& p, PlayerAction& a) {
  PlayerDataMessage m;
  if (!TakeMessage(game, p, m)) return false;
  if (game.Kind() == kKindStandard) CloseHumanTurnUi(&game);
  p.request = m.request;
  if (game.setup.clockMode != kClockNone) p.timeLeftMs = m.timeLeftMs;

  switch (m.request) {
    case kRequestPass:
    case kRequestExchange:
      if (m.rackCount == 0 || SameRack(m.rack, p.rack, p.RackPlaces()))
        Decide(p, a, kActionPass, kLastPassed);
      else
        Decide(p, a, kActionExchange, kLastExchanged);
      return true;
    case kRequestPlay: {
      std::vector<RobotMove> words;
      for (int i = 0; i < m.WordCount(); ++i)
        words.push_back(m.WordAsMove(i));
      p.SetPlayedWords(words.data(), static_cast<int>(words.size()));
      a.move = words.front();  // a play carries words (checked)
      Decide(p, a, kActionPlay, kLastPlayed);
      return true;
    }
    case kRequestChallenge:
      a.contestedWords.clear();
      for (int i = 0; i < m.WordCount(); ++i)
        a.contestedWords.push_back(m.WordAsMove(i));
      p.contestedWords = a.contestedWords;
      Decide(p, a, kActionChallenge, kLastChallenged);
      return true;
    case kRequestOutOfTime:
      if (game.setup.clockMode == kClockPerGame) p.outOfTime = 1;
      Decide(p, a, kActionTurnLost, kLastOutOfTime);
      return true;
    case kRequestForfeit:
      Decide(p, a, kActionTurnLost, kLastInvalidWord);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool GamePlayer::DecideAction(CGame& game, PlayerAction& action) {
  switch (Type()) {
    case kPlayerHuman:
      if (!DecideHuman(game, *this, action)) return false;
      // The decision changes the board and the bag the look reads.
      StopRobotLook();
      return true;
    case kPlayerComputer:
      return DecideComputer(game, *this, action);
    case kPlayerRemote:
      return DecideRemote(game, *this, action);
    default:
      return false;
  }
}
