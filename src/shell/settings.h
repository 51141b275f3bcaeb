#pragma once
// The settings record: the shell's own keys of the program ini
// ("tessarin.ini": the last user) and of the settings ini in force (the
// user's preferences), with their defaults; and the ini names of the rooms.
#include <cstddef>
#include <cstdint>

namespace shell {

constexpr int kRoomCount = 18;        // room ids 0..17 have screens
constexpr size_t kRoomNameSize = 32;  // longest room key and its NUL fit

struct SettingsRecord {
  int32_t notationStyle = 0;
  int32_t matchBoardsPieces = 0;
  int32_t champCheat = 0;
  int32_t blunderAlert = 0;
  int32_t blunderAlertThresh = 0;
  int32_t ttableSize = 0;
  int32_t maxBestLines = 0;
  int32_t pieceSounds = 0;
  int32_t nlaVoice = 0;
  int32_t ivaVoice = 0;
  int32_t tutorialVoice = 0;
  int32_t illegalMoveVoice = 0;
  int32_t windowClose = 0;
  int32_t buddy = 0;
  int32_t chatTell = 0;
  int32_t challenge = 0;
  char lastUser[32] = {};
  char wallpaper[260] = {};  // file holding the per-room wallpaper sections
  char theme[260] = {};      // a bare file name in the Themes folder
};

// One integer key of the settings ini: where it lives, its default and the
// record field it fills.
struct IntSettingKey {
  const char* section;
  const char* key;
  int32_t defaultValue;
  int32_t SettingsRecord::*field;
};

// Every integer key, in the order LoadUserSettings reads them.
extern const IntSettingKey kIntSettingKeys[];
extern const size_t kIntSettingKeyCount;

constexpr char kSettingsSection[] = "settings";
constexpr char kLastUserKey[] = "LastUser";
constexpr char kThemeKey[] = "theme";
constexpr char kDefaultTheme[] = "standard_theme.ini";
constexpr char kEgdbPathKey[] = "EGDBPath";
constexpr char kDefaultEgdbPath[] = "EGDB";

// "LastUser" of the program ini into the record (cut to 31 characters).
void LoadProgramSettings(SettingsRecord& record);
// Every user key from the settings ini in force, and "EGDBPath" from the
// program ini; clears the context's reload flag. Does nothing without a
// context. Returns whether it read the keys.
bool LoadUserSettings();
// The "EGDBPath" value last read (nothing consults it further).
const char* GetEgdbPath();

int32_t GetWindowCloseSetting();    // 0 without a context
int32_t GetBlunderAlertSetting();   // 0 without a context
const char* GetWallpaperSetting();  // "" without a context
void SetWallpaperSetting(const char* text);
SettingsRecord* GetSettingsRecord();

// The ini key of a room (-1: the room shown now); "" for ids without a room.
const char* GetRoomName(int roomId);
// The same copied into buffer (at most size bytes, always terminated).
char* GetRoomName(char* buffer, size_t size, int roomId);

}  // namespace shell
