// The settings record: every key's default with no ini, values read from the
// user's ini, "LastUser" from the program ini, and the room keys.
#include "shell/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ini.h"
#include "shell/app_context.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellEnv;

TEST(Settings, DefaultsWithAMissingIni) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  shell::SettingsRecord* r = shell::GetSettingsRecord();
  ASSERT_NE(r, nullptr);
  EXPECT_STREQ(r->lastUser, "");  // no program ini: start-up skips the profile load
  ASSERT_TRUE(shell::LoadUserSettings());
  EXPECT_EQ(r->notationStyle, 3);
  EXPECT_EQ(r->matchBoardsPieces, 1);
  EXPECT_EQ(r->champCheat, 0);
  EXPECT_EQ(r->blunderAlert, 0);
  EXPECT_EQ(r->blunderAlertThresh, 150);
  EXPECT_EQ(r->ttableSize, 2);
  EXPECT_EQ(r->maxBestLines, 1);
  EXPECT_EQ(r->pieceSounds, 0);
  for (int32_t v : {r->nlaVoice, r->ivaVoice, r->tutorialVoice, r->illegalMoveVoice, r->windowClose,
                    r->buddy, r->chatTell, r->challenge})
    EXPECT_EQ(v, 1);
  EXPECT_STREQ(r->theme, "standard_theme.ini");
  EXPECT_STREQ(shell::GetEgdbPath(), "EGDB");
  EXPECT_EQ(shell::GetWindowCloseSetting(), 1);
  EXPECT_EQ(shell::GetBlunderAlertSetting(), 0);
}

TEST(Settings, EveryKeyReadsFromTheSettingsIni) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  ASSERT_TRUE(shell::SetSettingsIniPath("user.ini", false));
  const char* ini = shell::GetSettingsIniPath();
  // Each key gets a value distinct from its default and from the others.
  for (size_t i = 0; i < shell::kIntSettingKeyCount; ++i) {
    const shell::IntSettingKey& k = shell::kIntSettingKeys[i];
    ASSERT_TRUE(platform::IniWriteString(k.section, k.key, std::to_string(100 + i).c_str(), ini));
  }
  platform::IniWriteString("settings", "theme", "winter_theme.ini", ini);
  platform::IniWriteString("settings", "EGDBPath", "elsewhere", shell::GetProgramIniPath());
  ASSERT_TRUE(shell::LoadUserSettings());
  shell::SettingsRecord* r = shell::GetSettingsRecord();
  for (size_t i = 0; i < shell::kIntSettingKeyCount; ++i)
    EXPECT_EQ(r->*shell::kIntSettingKeys[i].field, static_cast<int32_t>(100 + i))
        << shell::kIntSettingKeys[i].key;
  EXPECT_STREQ(r->theme, "winter_theme.ini");
  EXPECT_STREQ(shell::GetEgdbPath(), "elsewhere");
  EXPECT_EQ(shell::kIntSettingKeyCount, 16u);
}

TEST(Settings, LastUserIsCutTo31Characters) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  std::string longName(40, 'L');
  platform::IniWriteString("settings", "LastUser", longName.c_str(), shell::GetProgramIniPath());
  shell::SettingsRecord r;
  shell::LoadProgramSettings(r);
  EXPECT_EQ(std::string(r.lastUser), longName.substr(0, 31));
}

TEST(Settings, WallpaperSetting) {
  EXPECT_STREQ(shell::GetWallpaperSetting(), "");  // no context
  ShellEnv env;
  shell::SetWallpaperSetting("walls.ini");
  EXPECT_STREQ(shell::GetWallpaperSetting(), "walls.ini");
}

TEST(Settings, RoomNames) {
  shelltest::RecordingHost host;
  host.room = 5;
  const std::pair<int, const char*> cases[] = {
      {0, "lobbyroom"},
      {1, "tessarinroom"},
      {4, "networkroom"},
      {7, "crossagramroom"},
      {14, "networkgame"},
      {17, "libraryroom"},
      {18, ""},
      {19, "databaseroom"},
      {20, ""},
      {-2, ""},
      {-1, "anagramroom"},  // the current room
  };
  for (const auto& c : cases)
    EXPECT_STREQ(shell::GetRoomName(c.first), c.second) << c.first;
  char small[6];
  EXPECT_STREQ(shell::GetRoomName(small, sizeof small, 1), "tessa");
}

}  // namespace
