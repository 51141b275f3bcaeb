#include "ui/game_option_keys.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "game/game.h"
#include "game/session_registry.h"
#include "platform/ini.h"
#include "shell/app_context.h"
#include "ui/game_settings.h"
#include "ui/side_game_setup_rules.h"

namespace ui {
namespace {

GameOptions g_remembered;

const char* IniOr(const char* ini) { return ini ? ini : shell::GetSettingsIniPath(); }
CGame* GameOr(CGame* game) { return game ? game : GetCurrentGame(); }

int32_t Read(const char* key, const char* def, int32_t lo, int32_t hi, const char* ini) {
  return ReadClampedInt(kGameSection, key, def, lo, hi, ini);
}
void Write(const char* key, int32_t value, const char* ini) {
  WriteInt(kGameSection, key, value, ini);
}
int32_t ReadSeconds(const char* key, const char* def, const char* ini) {
  return SecondsToMs(Read(key, def, 0, kMaxTimeSeconds, ini));
}

// The one-row board's length lives in the rules the game plays by.
void SetRowLength(CGame& game, int32_t length) {
  if (game.rules) game.rules->boardSide = length;
}
int32_t RowLength(const CGame& game) { return game.rules ? game.rules->boardSide : 0; }

}  // namespace

void LoadGameOptionKeys(GameOptions& o, const char* ini) {
  ini = IniOr(ini);
  o.kind = Read("mode", "0", INT32_MIN, INT32_MAX, ini) == 1 ? 1 : 0;
  o.ranked = Read("rated game", "0", INT32_MIN, INT32_MAX, ini) == 1 ? 1 : 0;
  o.timingMode = Read("timing mode", "1", 0, 2, ini);
  o.moveTimeMs = ReadSeconds("Turn Time", "180", ini);
  o.gameTimeMs = ReadSeconds("Game Time", "1500", ini);
}

void SaveGameOptionKeys(const GameOptions& o, const char* ini) {
  ini = IniOr(ini);
  Write("mode", o.kind, ini);
  Write("rated game", o.ranked, ini);
  Write("timing mode", o.timingMode, ini);
  Write("Turn Time", MsToSeconds(o.moveTimeMs), ini);
  Write("Game Time", MsToSeconds(o.gameTimeMs), ini);
}

void SetGameSetupFields(const GameOptions& o) {
  g_remembered.kind = o.kind;
  g_remembered.ranked = o.ranked;
  g_remembered.timingMode = o.timingMode;
}

void GetGameSetupFields(GameOptions& o) {
  o.kind = g_remembered.kind;
  o.ranked = g_remembered.ranked;
  o.timingMode = g_remembered.timingMode;
}

bool LoadConundrumKeys(CGame* game, const char* ini) {
  if (!(game = GameOr(game))) return false;
  ini = IniOr(ini);
  GameSetup& s = game->setup;
  SetRowLength(*game, Read("Conundrum Nb letters", "10", kMinSideGameWordLength,
                           kMaxSideGameWordLength, ini));
  s.SetPlayerCount(Read("Conundrum Nb players", "1", 1, kMaxClassicPlayers, ini));
  s.invalidWordForfeits = Read("Conundrum Lose turn", "0", INT32_MIN, INT32_MAX, ini) != 0;
  s.clockMode = Read("Conundrum Time per turn", "0", 0, 2, ini);
  s.moveTimeMs = ReadSeconds("Conundrum Time", "180", ini);
  s.maxRounds = Read("Conundrum Number of turns", "20", -1, kMaxSideGameTurns, ini);
  return true;
}

bool SaveConundrumKeys(CGame* game, const char* ini) {
  if (!(game = GameOr(game))) return false;
  ini = IniOr(ini);
  const GameSetup& s = game->setup;
  Write("Conundrum Nb letters", RowLength(*game), ini);
  Write("Conundrum Nb players", s.GetPlayerCount(), ini);
  Write("Conundrum Lose turn", s.invalidWordForfeits, ini);
  Write("Conundrum Time per turn", s.clockMode, ini);
  Write("Conundrum Time", MsToSeconds(s.moveTimeMs), ini);
  Write("Conundrum Number of turns", s.maxRounds, ini);
  return true;
}

bool LoadAnagramKeys(CGame* game, const char* ini) {
  if (!(game = GameOr(game))) return false;
  ini = IniOr(ini);
  GameSetup& s = game->setup;
  SetRowLength(
      *game, Read("Anagram Nb letters", "6", kMinSideGameWordLength, kMaxSideGameWordLength, ini));
  s.SetPlayerCount(Read("Anagram Nb players", "1", 1, kMaxClassicPlayers, ini));
  // Only letters are forced into a draw: anything else in the file is dropped.
  std::string forced;
  for (char c : NormalizeForcedLetters(
           platform::IniGet(kGameSection, "Anagram Forced letters", "", ini, 199).c_str()))
    if (c >= 'a' && c <= 'z') forced += c;
  std::memset(game->anagramLetters, 0, sizeof game->anagramLetters);
  std::strncpy(game->anagramLetters, forced.c_str(), sizeof game->anagramLetters - 1);
  s.maxRounds = Read("Anagram Number of turns", "20", -1, kMaxSideGameTurns, ini);
  return true;
}

bool SaveAnagramKeys(CGame* game, const char* ini) {
  if (!(game = GameOr(game))) return false;
  ini = IniOr(ini);
  const GameSetup& s = game->setup;
  Write("Anagram Nb letters", RowLength(*game), ini);
  Write("Anagram Nb players", s.GetPlayerCount(), ini);
  char forced[sizeof game->anagramLetters] = {};
  std::strncpy(forced, game->anagramLetters, sizeof forced - 1);
  platform::IniWriteString(kGameSection, "Anagram Forced letters",
                           NormalizeForcedLetters(forced).c_str(), ini);
  Write("Anagram Number of turns", s.maxRounds, ini);
  return true;
}

}  // namespace ui
