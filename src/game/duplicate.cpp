// The duplicate game: every player plays from the same rack on the same
// board; each scores its own move, but only the reference player's top move
// is laid. A cycle has three phases (duplicatePhase): 0 draw the common rack
// and find the top move, 1 the players play, 2 lay the top move and score.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/robot.h"
#include "game/robot_view.h"
#include "engine/robot_settings.h"
#include "game/duplicate.h"
#include "game/game.h"
#include "game/game_clock.h"
#include "game/net_port.h"
#include "game/player_message.h"
#include "game/player_turn.h"
#include "game/turn_ports.h"
#include "game/game_strings.h"
#include "game/turn_support.h"
#include "game/ui_port.h"

namespace {

// The duplicate game's slots in the game's variables block (saved with the
// game): players finished in phase 1 of the cycle.
constexpr int kVarPlayersDone = 0;

bool IsAbsent(const GamePlayer& p) { return p.Type() == kPlayerNone; }
bool IsHuman(const GamePlayer& p) { return p.Type() == kPlayerHuman; }

// The cycle's top move: the game's working move record, saved with it.
RobotMove& TopMove(CGame& game) { return game.workMove; }
int32_t& PlayersDone(CGame& game) { return game.variables[kVarPlayersDone]; }

void RefreshAfterTurnChange() {
  GameUiPort& ui = GetGameUiPort();
  ui.PostFrameMessage(kMsgViewsChanged);
  ui.RedrawGameInfoStrip();
  ui.RefreshPlayerPanels();
  ui.RefreshRemainderWindow();
}

// The reference robot's best move: the first the ranking kept (it keeps no
// move laid down in the first cycle while an across one exists). In the
// first cycle with only down moves, the best-scoring of them. An empty
// record when there is none.
RobotMove ChooseTopMove(CGame& game, GamePlayer& reference) {
  RobotMove none;
  Robot* robot = reference.GetRobot();
  if (!robot || robot->GetMoveCount() == 0) return none;
  const RobotMove* best = robot->SortedFirstMove(MoveSortKey::kRankValue);
  if (best && best->word[0] && best->rankValue > kRejectedRank) return *best;
  if (game.roundCount != 0) return none;
  best = robot->SortedFirstMove(MoveSortKey::kScore);
  return best && best->word[0] ? *best : none;
}

void DropMove(GamePlayer& p) {
  p.ClearPlayedWords();
  p.moveScore = 0;
}

// A decided play: every word is looked up (there is no challenge). True
// when the player is finished with the cycle.
bool CarryOutPlay(CGame& game, GamePlayer& p, PlayerDataMessage* message) {
  for (const RobotMove& w : p.moveWords) {
    if (turns::IsLexiconWord(w.word)) continue;
    turns::ShowInvalidWord(w.word);
    if (!game.setup.invalidWordForfeits) {
      p.RetryTurn(game);
      return false;
    }
    DropMove(p);
    return true;
  }
  RobotMove first = p.moveWords.front();
  const std::string used = turns::UsedLetters(game, first);
  if (used.empty() || !turns::RackHolds(p, used)) {
    // Tiles that are not on the common rack would be made from nothing.
    DropMove(p);
    p.RetryTurn(game);
    return false;
  }
  std::memcpy(p.moveWords.front().placedLetters, first.placedLetters, sizeof first.placedLetters);
  p.moveScore = first.score;
  if (message) {
    std::memcpy(message->rack, p.rack, sizeof message->rack);
    message->rackCount = p.rackCount;
    message->SetWords(&p.moveWords.front(), 1);
    turns::SendTurnMessage(*message);
  }
  return true;
}

void CarryOutNoMove(CGame& game, GamePlayer& p, PlayerDataMessage* message) {
  DropMove(p);
  if (IsHuman(p)) {
    GetBoardViewPort().EndTileDrag();
    turns::LoadViewRack(game, p);
    turns::LoadViewBoard(game);
  }
  if (message) turns::SendTurnMessage(*message);
}

// Phase 2 of a player: its decision, carried out once made.
void Decide(CGame& game, GamePlayer& p, int index) {
  if (IsAbsent(p)) {
    DropMove(p);
    p.turnPhase = kPhaseOver;
    return;
  }
  PlayerAction action;
  if (!p.DecideAction(game, action)) return;
  p.hasActed = 1;
  PlayerDataMessage message;
  const bool sends = turns::SendsMessagesFor(p);
  if (sends) {
    message = turns::PrepareTurnMessage(game, p);
    message.turnIndex = index;
  }
  PlayerDataMessage* out = sends ? &message : nullptr;
  switch (action.code) {
    case kActionPlay:
      if (p.moveWords.empty() || CarryOutPlay(game, p, out)) p.turnPhase = kPhaseOver;
      break;
    case kActionPass:
    case kActionTurnLost:
      CarryOutNoMove(game, p, out);
      p.turnPhase = kPhaseOver;
      break;
    default:
      break;  // no challenge and no exchange in this game
  }
}

// Phase 3 of a player: done for the cycle. A local human hands the screen
// to the next local human who has not played yet (hot-seat play).
void Finish(CGame& game, GamePlayer& p, int index) {
  if (IsHuman(p) && !p.moveWords.empty()) {
    RobotMove move = p.moveWords.front();
    turns::UsedLetters(game, move);
    p.playedMoves.push_back(move);
  }
  p.turnPhase = kPhaseIdle;
  ++PlayersDone(game);
  if (!IsHuman(p)) return;
  for (int j = index + 1; j < game.PlayerCount(); ++j) {
    GamePlayer* next = game.Player(j);
    if (!next || !IsHuman(*next)) continue;
    next->turnPhase = kPhaseBegin;
    game.viewingPlayer = game.currentPlayer = next;
    game.turnIndex = j;
    break;
  }
}

void Begin(CGame& game, GamePlayer& p) {
  if (IsAbsent(p)) {
    ++PlayersDone(game);
    p.turnPhase = kPhaseIdle;
    return;
  }
  const GamePlayer& reference = *game.referencePlayer;
  std::memcpy(p.rack, reference.rack, kMaxRackPlaces);
  p.rack[kMaxRackPlaces] = 0;
  p.rackCount = reference.rackCount;
  p.BeginTurn(game);
  RefreshAfterTurnChange();
  p.turnPhase = kPhaseDeciding;
}

void RunDrawPhase(CGame& g) {
  GamePlayer& reference = *g.referencePlayer;
  RobotMove top;
  if (g.DrawPlayerRack(reference)) top = ChooseTopMove(g, reference);
  g.lastTick = GameTickCount();
  g.clockPaused = 0;
  g.viewingPlayer = nullptr;
  TopMove(g) = top;
  reference.score += top.score;
  if (!top.word[0]) {  // the rack admits no move: the game is over
    g.state = kStateOver;
    return;
  }
  BeginDuplicatePlay(g);
}

void RunPlayPhase(CGame& g) {
  turns::RunPendingAction(g);
  const int n = g.PlayerCount();
  for (int i = 0; i < n; ++i) {
    GamePlayer* p = g.Player(i);
    if (!p) {
      ++PlayersDone(g);  // an empty seat plays nothing
      continue;
    }
    switch (p->turnPhase) {
      case kPhaseBegin:
        Begin(g, *p);
        break;
      case kPhaseDeciding:
        Decide(g, *p, i);
        break;
      case kPhaseOver:
        Finish(g, *p, i);
        break;
      default:
        break;
    }
  }
  if (PlayersDone(g) >= n) g.duplicatePhase = 2;
}

void LayTopMovePhase(CGame& g) {
  GamePlayer& reference = *g.referencePlayer;
  RobotMove top = TopMove(g);
  const std::string used = turns::UsedLetters(g, top);
  reference.RemoveFromRack(used.c_str());
  g.ApplyMove(top);
  TopMove(g) = top;
  turns::LoadViewBoard(g);
  for (int i = 0; i < g.PlayerCount(); ++i) {
    GamePlayer* p = g.Player(i);
    if (!p) continue;
    p->AddPendingScore();
    p->moveScore = 0;
    if (p->moveWords.empty()) p->moveWords.assign(1, RobotMove());
    // Each cycle's own move goes into the duplicate statistics: its words
    // were all looked up before it was accepted.
    if (p->moveWords.front().word[0])
      p->stats[kDuplicateStats].RecordMove(p->moveWords.front(),
                                           static_cast<int>(p->moveWords.size()), true);
    p->lastMoveRecord = p->moveWords.front();
    if (g.roundCount > 0 && p->Type() == kPlayerRemote)
      p->playedMoves.push_back(p->moveWords.front());
  }
  // The entry is made once the cycle is scored, so that it holds every
  // player's score after it.
  g.RecordMove(&top);
  g.UpdateClocks();
  g.clockPaused = 1;
  GetGameUiPort().ShowRoundResults(g);
  GetGameUiPort().PostFrameMessage(kMsgViewsChanged);
  GetGameUiPort().RefreshPlayerPanels();
  g.duplicatePhase = 0;
  ++g.roundCount;
}

}  // namespace

void CGame::StartDuplicateTurn() {
  auto reference = std::make_unique<GamePlayer>();
  reference->AttachGame(this);
  reference->Reset();
  const GamePlayer* first = Player(0);
  reference->entry.playerType = first ? first->Type() : kPlayerComputer;
  RobotSettings settings;
  InitRobotSettings(&settings);
  int32_t options[kRobotSettingsWords];
  SettingsToOptions(settings, options);
  reference->Setup(options);
  referencePlayer = std::move(reference);
  TopMove(*this) = RobotMove();
  duplicatePhase = 0;
  state = kStateTurnRunning;
  turnIndex = IsNetworkGame() ? GetGameNetPort().LocalPlayerIndex() : 0;
  if (turnIndex < 0 || turnIndex >= PlayerCount()) turnIndex = 0;
  currentPlayer = Player(turnIndex);
}

void CGame::RunDuplicateTurn() {
  if (!referencePlayer) {
    state = kStateOver;
    return;
  }
  switch (duplicatePhase) {
    case 0:
      RunDrawPhase(*this);
      break;
    case 1:
      RunPlayPhase(*this);
      break;
    case 2:
      LayTopMovePhase(*this);
      break;
    default:
      duplicatePhase = 0;
      break;
  }
}

void BeginDuplicatePlay(CGame& g) {
  bool humanAsked = false;
  for (int i = 0; i < g.PlayerCount(); ++i) {
    GamePlayer* p = g.Player(i);
    if (!p) continue;
    p->moveScore = 0;
    if (!IsHuman(*p)) {
      p->turnPhase = kPhaseBegin;
    } else if (!humanAsked) {
      humanAsked = true;
      p->turnPhase = kPhaseBegin;
      g.viewingPlayer = g.currentPlayer = p;
      g.turnIndex = i;
    } else {
      p->turnPhase = kPhaseIdle;
    }
  }
  PlayersDone(g) = 0;
  g.duplicatePhase = 1;
}
