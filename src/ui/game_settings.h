#pragma once
// The ini sections "Game" and "Options" of the settings ini in force: the
// game's set-up keys, the remembered player counts and the display and sound
// options. Every value read is held to the range its field can take, so a
// hand-edited file cannot give a kind, count or time the game cannot play.
// Times are seconds in the file and milliseconds in memory.
#include <cstdint>

#include "rules/game_setup.h"

namespace ui {

constexpr char kGameSection[] = "Game";
constexpr char kOptionsSection[] = "Options";

// The longest time the set-ups can show (59 minutes 59 seconds).
constexpr int32_t kMaxTimeSeconds = 59 * 60 + 59;
constexpr int32_t kMinClassicPlayers = 2, kMaxClassicPlayers = 4;
constexpr int32_t kMinDuplicatePlayers = 1, kMaxDuplicatePlayers = 16;

// The player counts remembered for each kind (process-wide).
struct PlayerCounters {
  int32_t classic = 2;
  int32_t duplicate = 2;
};
PlayerCounters& GetPlayerCounters();

// A decimal value as the settings read it: optional blanks and sign, then
// digits; anything else (or nothing) is 0; values past 32 bits saturate.
int32_t ParseSettingInt(const char* text);
// The key's value, or `def` when missing, held within lo..hi.
int32_t ReadClampedInt(const char* section, const char* key, const char* def, int32_t lo,
                       int32_t hi, const char* ini);
void WriteInt(const char* section, const char* key, int32_t value, const char* ini);
// Seconds x 1000, and milliseconds / 1000 truncated toward zero.
int32_t SecondsToMs(int32_t seconds);
int32_t MsToSeconds(int32_t ms);

// "mode", the two counters, "rated game", "timing mode", "Turn Time" and
// "Game Time" of "Game", then the rule keys of "Options"; the flag bits of
// "Joker", "Blitz", "7 sur 8" and "8 sur 8" are ORed into the set-up's flags.
// A null ini means the settings ini in force.
void LoadGameSettings(GameSetup& setup, const char* ini = nullptr);
// The same keys back; "Challenge mode" and "Lose Turn" are always written 0.
void SaveGameSettings(const GameSetup& setup, const char* ini = nullptr);

// The display and sound keys of "Options".
struct OptionsSettings {
  uint8_t loseTurn = 0;
  uint8_t seeOpponentRack = 1;
  uint8_t soundIndicator = 0;
  uint8_t scoresVisible = 1;
  uint8_t timerVisible = 1;
  uint8_t tilesLeftVisible = 0;
  uint8_t dictionaryVisible = 0;
  uint8_t mentorVisible = 1;
  uint8_t moveListVisible = 1;
  uint8_t commentsVisible = 1;
  uint8_t lockedWindows = 0;
  uint8_t juniorMode = 0;
  int32_t rackSorting = 0;  // 0 random, 1 alphabetical, 2 consonants first, 3 vowels first
  int32_t skin = 1;         // 0 automatic, 1..5 the themes
  int32_t board = 0;        // 0 standard, 1 white, 2 deluxe
  int32_t musicVolume = 100;
  int32_t soundVolume = 100;
  bool operator==(const OptionsSettings& o) const;
};

OptionsSettings ReadOptionsSettings(const char* ini);
void WriteOptionsSettings(const OptionsSettings& options, const char* ini);
// The process-wide record the dialogs and panels read.
OptionsSettings& GetOptionsSettings();

// The skin file of a theme index ("Standard_skin.ini" for 1 ...), null for 0
// (automatic) and for an index outside 1..5.
const char* SkinFileOfTheme(int32_t skin);

// What loading the options changes outside the record: the room screens'
// background pictures (the rooms install it; none by default).
using RoomBackgroundHook = void (*)(const char* picturePath);
void SetRoomBackgroundHook(RoomBackgroundHook hook);

// Reads the record from the settings ini in force and applies it: the panel
// size lock, both volumes and, for a theme other than automatic, the rooms'
// background picture from the theme's skin file.
void LoadOptionsSettings();
// Writes the record into the settings ini in force.
void SaveOptionsSettings();

}  // namespace ui
