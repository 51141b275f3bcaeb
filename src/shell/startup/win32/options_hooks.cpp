#include "shell/startup/win32/options_hooks.h"

#include <string>

#include "platform/ini.h"
#include "scene/game_room.h"
#include "shell/app_context.h"
#include "shell/settings.h"
#include "shell/startup/resource_sets.h"
#include "shell/startup/win32/room_backgrounds.h"
#include "shell/theme.h"
#include "ui/game_settings.h"
#include "ui/page_layout.h"
#include "ui/win32/options_dialog.h"

namespace shell {

void FollowOptionsBoard() { scene::SetBoardStyle(ui::GetOptionsSettings().board); }

void LoadProgramOptions() {
  ui::LoadOptionsSettings();
  FollowOptionsBoard();
}

void ApplyThemeChange(int32_t skin) {
  const char* skinFile = ui::SkinFileOfTheme(skin);
  if (!skinFile) return;
  char picture[kMaxPath] = {};
  ReadSkinProperty(skinFile, "backgroundbmp", picture);
  // A skin without a picture leaves the rooms as they are rather than blank.
  if (picture[0])
    SetRoomBackgroundPictures((std::string(GetWallpaperFolder()) + "\\" + picture).c_str());
  ApplySkinByName(skinFile, 1);
}

void SaveThemeChoice() {
  const SettingsRecord* settings = GetSettingsRecord();
  if (settings && settings->theme[0])
    platform::IniWriteString(kSettingsSection, kThemeKey, settings->theme, GetSettingsIniPath());
  ui::SaveWallpaperSettings();
}

void ApplyNewSkinFromToolbar(bool save) {
  ApplyThemeChange(ui::GetOptionsSettings().skin);
  if (save) SaveThemeChoice();
}

void InstallOptionsHooks() { ui::SetThemeChangeHook(ApplyThemeChange); }

}  // namespace shell
