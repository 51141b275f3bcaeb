#include "ui/game_settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/ini.h"
#include "shell/app_context.h"
#include "shell/sound.h"
#include "shell/theme.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr uint32_t kValueBufferSize = 199;

const char* IniOr(const char* ini) { return ini ? ini : shell::GetSettingsIniPath(); }

uint8_t ReadFlag(const char* section, const char* key, const char* def, const char* ini) {
  char text[kValueBufferSize] = {};
  platform::IniGetString(section, key, def, text, sizeof text, ini);
  return ParseSettingInt(text) == 1 ? 1 : 0;
}

// The rule flag keys of "Options" and the set-up bit each one sets.
struct FlagKey {
  const char* key;
  int32_t bit;
};
constexpr FlagKey kFlagKeys[] = {
    {"Joker", kFlagBlankPerPlayer},
    {"Blitz", kFlagBlitz},
    {"7 sur 8", kFlagSevenOfEight},
    {"8 sur 8", kFlagEightOfEight},
};

// The display keys in the order SaveOptionsSettings writes them.
struct OptionKey {
  const char* key;
  const char* def;
  uint8_t OptionsSettings::*flag;
  int32_t OptionsSettings::*value;
  int32_t lo, hi;
};
const OptionKey kOptionKeys[] = {
    {"Lose Turn", "0", &OptionsSettings::loseTurn, nullptr, 0, 1},
    {"See Opponent Rack", "1", &OptionsSettings::seeOpponentRack, nullptr, 0, 1},
    {"Sound Indicator", "0", &OptionsSettings::soundIndicator, nullptr, 0, 1},
    {"Rack Sorting", "0", nullptr, &OptionsSettings::rackSorting, 0, 3},
    {"Skin", "1", nullptr, &OptionsSettings::skin, 0, 5},
    {"Board", "0", nullptr, &OptionsSettings::board, 0, 2},
    {"Scores Visible", "1", &OptionsSettings::scoresVisible, nullptr, 0, 1},
    {"Timer Visible", "1", &OptionsSettings::timerVisible, nullptr, 0, 1},
    {"Tiles Left Visible", "0", &OptionsSettings::tilesLeftVisible, nullptr, 0, 1},
    {"Dictionary Visible", "0", &OptionsSettings::dictionaryVisible, nullptr, 0, 1},
    {"Mentor Visible", "1", &OptionsSettings::mentorVisible, nullptr, 0, 1},
    {"Move List Visible", "1", &OptionsSettings::moveListVisible, nullptr, 0, 1},
    {"Locked Windows", "0", &OptionsSettings::lockedWindows, nullptr, 0, 1},
    {"Junior Mode", "0", &OptionsSettings::juniorMode, nullptr, 0, 1},
    {"User Comments Visible", "1", &OptionsSettings::commentsVisible, nullptr, 0, 1},
    {"Music Volume", "100", nullptr, &OptionsSettings::musicVolume, 0, 100},
    {"Sound Volume", "100", nullptr, &OptionsSettings::soundVolume, 0, 100},
};

RoomBackgroundHook g_roomBackground = nullptr;

}  // namespace

PlayerCounters& GetPlayerCounters() {
  static PlayerCounters counters;
  return counters;
}

int32_t ParseSettingInt(const char* text) {
  if (!text) return 0;
  while (*text == ' ' || *text == '\t')
    ++text;
  bool negative = false;
  if (*text == '-' || *text == '+') negative = *text++ == '-';
  int64_t value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT32_MAX) {
      value = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
      break;
    }
  }
  return static_cast<int32_t>(negative ? -value : value);
}

int32_t ReadClampedInt(const char* section, const char* key, const char* def, int32_t lo,
                       int32_t hi, const char* ini) {
  char text[kValueBufferSize] = {};
  platform::IniGetString(section, key, def, text, sizeof text, ini);
  return std::clamp(ParseSettingInt(text), lo, hi);
}

void WriteInt(const char* section, const char* key, int32_t value, const char* ini) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  platform::IniWriteString(section, key, text, ini);
}

int32_t SecondsToMs(int32_t seconds) { return std::clamp(seconds, 0, kMaxTimeSeconds) * 1000; }

int32_t MsToSeconds(int32_t ms) { return ms / 1000; }

void LoadGameSettings(GameSetup& setup, const char* ini) {
  ini = IniOr(ini);
  PlayerCounters& counters = GetPlayerCounters();
  // Only classic and duplicate play are set up here; any other kind is classic.
  setup.kind =
      ReadClampedInt(kGameSection, "mode", "0", INT32_MIN, INT32_MAX, ini) == kKindDuplicate
          ? kKindDuplicate
          : kKindStandard;
  counters.classic = ReadClampedInt(kGameSection, "Classic Nbplayers", "2", kMinClassicPlayers,
                                    kMaxClassicPlayers, ini);
  counters.duplicate = ReadClampedInt(kGameSection, "Duplicate Nbplayers", "2",
                                      kMinDuplicatePlayers, kMaxDuplicatePlayers, ini);
  setup.rankingGame = ReadFlag(kGameSection, "rated game", "0", ini);
  setup.clockMode = ReadClampedInt(kGameSection, "timing mode", "0", 0, 2, ini);
  setup.moveTimeMs =
      SecondsToMs(ReadClampedInt(kGameSection, "Turn Time", "180", 0, kMaxTimeSeconds, ini));
  setup.gameTimeMs =
      SecondsToMs(ReadClampedInt(kGameSection, "Game Time", "1500", 0, kMaxTimeSeconds, ini));
  setup.challengeMode = ReadClampedInt(kOptionsSection, "Challenge mode", "0", 0, 3, ini);
  setup.invalidWordForfeits = ReadFlag(kOptionsSection, "Lose Turn", "0", ini);
  for (const FlagKey& f : kFlagKeys)
    if (ReadFlag(kOptionsSection, f.key, "0", ini)) setup.flags |= f.bit;
}

void SaveGameSettings(const GameSetup& setup, const char* ini) {
  ini = IniOr(ini);
  WriteInt(kGameSection, "mode", setup.kind, ini);
  if (setup.kind == kKindStandard)
    WriteInt(kGameSection, "Classic Nbplayers", setup.GetPlayerCount(), ini);
  if (setup.kind == kKindDuplicate)
    WriteInt(kGameSection, "Duplicate Nbplayers", setup.GetPlayerCount(), ini);
  WriteInt(kGameSection, "rated game", setup.rankingGame, ini);
  WriteInt(kGameSection, "timing mode", setup.clockMode, ini);
  WriteInt(kGameSection, "Turn Time", MsToSeconds(setup.moveTimeMs), ini);
  WriteInt(kGameSection, "Game Time", MsToSeconds(setup.gameTimeMs), ini);
  WriteInt(kOptionsSection, "Challenge mode", 0, ini);
  WriteInt(kOptionsSection, "Lose Turn", 0, ini);
  for (const FlagKey& f : kFlagKeys)
    WriteInt(kOptionsSection, f.key, setup.HasFlag(f.bit) ? 1 : 0, ini);
}

bool OptionsSettings::operator==(const OptionsSettings& o) const {
  for (const OptionKey& k : kOptionKeys) {
    if (k.flag && this->*k.flag != o.*k.flag) return false;
    if (k.value && this->*k.value != o.*k.value) return false;
  }
  return true;
}

OptionsSettings ReadOptionsSettings(const char* ini) {
  ini = IniOr(ini);
  OptionsSettings options;
  for (const OptionKey& k : kOptionKeys) {
    if (k.flag) options.*k.flag = ReadFlag(kOptionsSection, k.key, k.def, ini);
    if (k.value) options.*k.value = ReadClampedInt(kOptionsSection, k.key, k.def, k.lo, k.hi, ini);
  }
  return options;
}

void WriteOptionsSettings(const OptionsSettings& options, const char* ini) {
  ini = IniOr(ini);
  for (const OptionKey& k : kOptionKeys)
    WriteInt(kOptionsSection, k.key, k.flag ? options.*k.flag : options.*k.value, ini);
}

OptionsSettings& GetOptionsSettings() {
  static OptionsSettings options;
  return options;
}

const char* SkinFileOfTheme(int32_t skin) {
  static const char* const kSkins[] = {nullptr,           "Standard_skin.ini", "Spring_skin.ini",
                                       "Summer_skin.ini", "Autumn_skin.ini",   "Winter_skin.ini"};
  return skin >= 1 && skin <= 5 ? kSkins[skin] : nullptr;
}

void SetRoomBackgroundHook(RoomBackgroundHook hook) { g_roomBackground = hook; }

void LoadOptionsSettings() {
  OptionsSettings& options = GetOptionsSettings();
  options = ReadOptionsSettings(nullptr);
  if (options.lockedWindows) {
    SetLockedWindowsOption(true);
    ApplyPanelSizeLock();
  }
  shell::SetMusicAndAmbianceVolume(options.musicVolume);
  shell::SetEffectsVolume(options.soundVolume);
  const char* skinFile = SkinFileOfTheme(options.skin);
  if (!skinFile || !g_roomBackground) return;
  char picture[260] = {};
  shell::ReadSkinProperty(skinFile, "backgroundbmp", picture);
  const std::string path = std::string(shell::GetWallpaperFolder()) + "\\" + picture;
  g_roomBackground(path.c_str());
}

void SaveOptionsSettings() { WriteOptionsSettings(GetOptionsSettings(), nullptr); }

}  // namespace ui
