#include "shell/settings.h"

#include <cstring>

#include "platform/ini.h"
#include "shell/app_context.h"
#include "shell/fixed_text.h"
#include "shell/shell_host.h"

namespace shell {
namespace {

char g_egdbPath[512];

const char* const kRoomNames[] = {
    "lobbyroom",   "tessarinroom",  "tournamentroom",     "classroom",        "networkroom",
    "anagramroom", "exercicesroom", "crossagramroom",     "bestsolutionroom", "conundrumroom",
    "lanroom",     "onlineroom",    "commentedgamesroom", "librarygamesroom", "networkgame",
    "tipsroom",    "rulesroom",     "libraryroom",
};
constexpr int kDatabaseRoomId = 19;  // a key without a screen; 18 has none

}  // namespace

const IntSettingKey kIntSettingKeys[] = {
    {"debug", "champ_cheat", 0, &SettingsRecord::champCheat},
    {"settings", "notation_style", 3, &SettingsRecord::notationStyle},
    {"settings", "match_boards_pieces", 1, &SettingsRecord::matchBoardsPieces},
    {"settings", "blunder_alert", 0, &SettingsRecord::blunderAlert},
    {"settings", "blunder_alert_thresh", 150, &SettingsRecord::blunderAlertThresh},
    {"mentor", "ttable_size", 2, &SettingsRecord::ttableSize},
    {"mentor", "MaxBestLines", 1, &SettingsRecord::maxBestLines},
    {"settings", "piece_sounds", 0, &SettingsRecord::pieceSounds},
    {"settings", "NLAVoice", 1, &SettingsRecord::nlaVoice},
    {"settings", "TutorialVoice", 1, &SettingsRecord::tutorialVoice},
    {"settings", "IVAVoice", 1, &SettingsRecord::ivaVoice},
    {"settings", "IllegalMoveVoice", 1, &SettingsRecord::illegalMoveVoice},
    {"settings", "WindowClose", 1, &SettingsRecord::windowClose},
    {"settings", "Buddy", 1, &SettingsRecord::buddy},
    {"settings", "ChatTell", 1, &SettingsRecord::chatTell},
    {"settings", "Challenge", 1, &SettingsRecord::challenge},
};
const size_t kIntSettingKeyCount = sizeof kIntSettingKeys / sizeof kIntSettingKeys[0];

void LoadProgramSettings(SettingsRecord& record) {
  platform::IniGetString(kSettingsSection, kLastUserKey, "", record.lastUser,
                         sizeof record.lastUser, GetProgramIniPath());
}

bool LoadUserSettings() {
  AppContext* ctx = GetAppContext();
  if (!ctx || !ctx->settings) return false;
  ClearReloadFlag();
  SettingsRecord& r = *ctx->settings;
  const char* ini = GetSettingsIniPath();
  platform::IniGetString(kSettingsSection, kEgdbPathKey, kDefaultEgdbPath, g_egdbPath,
                         sizeof g_egdbPath, GetProgramIniPath());
  for (size_t i = 0; i < kIntSettingKeyCount; ++i) {
    const IntSettingKey& k = kIntSettingKeys[i];
    r.*k.field = platform::IniGetInt(k.section, k.key, k.defaultValue, ini);
  }
  platform::IniGetString(kSettingsSection, kThemeKey, kDefaultTheme, r.theme, sizeof r.theme, ini);
  return true;
}

const char* GetEgdbPath() { return g_egdbPath; }

SettingsRecord* GetSettingsRecord() {
  AppContext* ctx = GetAppContext();
  return ctx ? ctx->settings.get() : nullptr;
}

int32_t GetWindowCloseSetting() {
  SettingsRecord* r = GetSettingsRecord();
  return r ? r->windowClose : 0;
}

int32_t GetBlunderAlertSetting() {
  SettingsRecord* r = GetSettingsRecord();
  return r ? r->blunderAlert : 0;
}

const char* GetWallpaperSetting() {
  SettingsRecord* r = GetSettingsRecord();
  return r ? r->wallpaper : "";
}

void SetWallpaperSetting(const char* text) {
  if (SettingsRecord* r = GetSettingsRecord())
    CopyFixedText(r->wallpaper, sizeof r->wallpaper, text ? text : "");
}

const char* GetRoomName(int roomId) {
  if (roomId == -1) roomId = GetShellHost().GetCurrentRoomId();
  if (roomId >= 0 && roomId < kRoomCount) return kRoomNames[roomId];
  return roomId == kDatabaseRoomId ? "databaseroom" : "";
}

char* GetRoomName(char* buffer, size_t size, int roomId) {
  if (buffer && size) CopyFixedText(buffer, size, GetRoomName(roomId));
  return buffer;
}

}  // namespace shell
