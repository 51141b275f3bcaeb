#pragma once
// The rules block that dialogs outside the local set-ups embed (the online
// create-game dialog and the shell's own): its record, the "Game" keys it
// reads and writes with its own defaults ("timing mode" defaults to 1 here),
// and the side games' keys of the current game. Values read are held to the
// ranges the game can play, as in game_settings.h.
#include <cstdint>

class CGame;

namespace ui {

// The head of a game's set-up that the block edits.
struct GameOptions {
  int32_t kind = 0;  // 0 classic, 1 duplicate (2 anagram, 3 puzzle)
  int32_t flags = 0;
  int32_t timingMode = 0;
  int32_t unused = 0;
  int32_t challengeMode = 0;
  uint8_t forfeit = 0;
  int32_t language = 0;
  int32_t gameTimeMs = 0;
  int32_t moveTimeMs = 0;
  int32_t turns = -1;
  uint8_t ranked = 0;
};

// "mode", "rated game", "timing mode", "Turn Time" and "Game Time". A null
// ini means the settings ini in force.
void LoadGameOptionKeys(GameOptions& options, const char* ini = nullptr);
void SaveGameOptionKeys(const GameOptions& options, const char* ini = nullptr);

// The kind, ranked byte and timing mode the block remembers while it is open.
void SetGameSetupFields(const GameOptions& options);
void GetGameSetupFields(GameOptions& options);

constexpr int32_t kMaxSideGameTurns = 999;

// The side games' keys of a game (the current game when null): the one-row
// board's length (the rules' board side), the player count, the turn rule
// and time, the number of turns and the anagram's forced letters. False,
// and nothing read or written, without a game.
bool LoadConundrumKeys(CGame* game = nullptr, const char* ini = nullptr);
bool SaveConundrumKeys(CGame* game = nullptr, const char* ini = nullptr);
bool LoadAnagramKeys(CGame* game = nullptr, const char* ini = nullptr);
bool SaveAnagramKeys(CGame* game = nullptr, const char* ini = nullptr);

}  // namespace ui
