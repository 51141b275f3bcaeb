#include "game/turn_support.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/lexicon.h"
#include "game/game.h"
#include "game/game_strings.h"
#include "game/net_port.h"
#include "game/player_message.h"
#include "game/turn_ports.h"
#include "game/ui_port.h"
#include "platform/message_sink.h"

namespace turns {

int ShowGameNotice(const char* text, uint32_t flags) {
  return platform::ShowNotice(text, kGameMessageCaption, flags);
}

void DrawStandardRack(CGame& game, GamePlayer& player) {
  const int places = player.RackPlaces();
  player.rack[places] = 0;
  game.FillRack(player.rack, &player.rackCount, &player);
  std::memcpy(player.rackAsDealt, player.rack, static_cast<size_t>(places) + 1);
}

void LoadViewBoard(CGame& game) {
  const int side = std::clamp<int>(game.rules->boardSide, 0, kMaxBoardSide);
  GetBoardViewPort().LoadBoardLetters(game.board.letters, side, side);
}

void LoadViewRack(CGame& game, const GamePlayer& player) {
  (void)game;
  GetBoardViewPort().LoadRackLetters(player.rack, player.RackPlaces());
}

bool IsLexiconWord(const char* word) {
  const Lexicon* lexicon = GetLexicon();
  if (!lexicon || !word) return false;
  int skip = 0;
  while (skip < kMoveWordSize - 1 && word[skip] == 0 && word[skip + 1] != 0)
    ++skip;
  return lexicon->IsWord(word + skip);
}

PlayerDataMessage PrepareTurnMessage(const CGame& game, const GamePlayer& player) {
  PlayerDataMessage m;
  m.turnIndex = game.turnIndex;
  m.request = player.request;
  if (game.setup.clockMode != kClockNone) m.timeLeftMs = player.timeLeftMs;
  return m;
}

void SendTurnMessage(const PlayerDataMessage& message) {
  uint8_t bytes[kPlayerMessageSize];
  EncodePlayerMessage(message, bytes);
  GetGameNetPort().SendGameMessage(bytes, sizeof bytes);
}

bool SendsMessagesFor(const GamePlayer& player) {
  return IsNetworkGame() && player.Type() != kPlayerRemote;
}

void Debug(const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  GetGameUiPort().DebugOutput(line);
}

// The letters the move takes from the rack, square by square: a letter on
// an empty square, a blank as '`'. Kept in the first record.
std::string UsedLetters(const CGame& game, RobotMove& first) {
  GamePlayer::ComputeNewLetters(first, game.board.letters);
  std::string used;
  for (char c : first.placedLetters)
    if (c) used += c;
  return used;
}

// Every used letter is on the rack (as many times as it is used).
bool RackHolds(const GamePlayer& p, const std::string& used) {
  std::string rack(p.rack, p.rack + p.RackPlaces());
  for (char c : used) {
    const size_t at = rack.find(c);
    if (at == std::string::npos) return false;
    rack[at] = kEmptyRackPlace;
  }
  return true;
}

void ShowInvalidWord(const char* word) {
  char text[256];
  std::snprintf(text, sizeof text, GameText(kStrInvalidWord).c_str(), word);
  turns::ShowGameNotice(text);
}

GamePlayer* StartTurnStep(CGame& game) {
  RunPendingAction(game);
  if (EveryoneOutOfTime(game) || !game.currentPlayer) {
    game.state = kStateOver;
    return nullptr;
  }
  return game.currentPlayer;
}

}  // namespace turns
