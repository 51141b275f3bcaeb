#include "shell/theme.h"

#include <gtest/gtest.h>

#include "platform/ini.h"
#include "recording_sink.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellEnv;

class ThemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env.ok);
    platform::MakeDirectory((env.data + "\\Themes").c_str());
    platform::MakeDirectory((env.data + "\\Skin").c_str());
    platform::MakeDirectory((env.data + "\\Users").c_str());
    shell::ClearCurrentTheme();
  }
  void TearDown() override { shell::ClearCurrentTheme(); }

  void Theme(const char* file, const char* skin, const char* ambiance = nullptr) {
    std::string path = env.data + "\\Themes\\" + file;
    if (skin) platform::IniWriteString("settings", "skin", skin, path.c_str());
    if (ambiance) platform::IniWriteString("settings", "ambiance", ambiance, path.c_str());
    if (!skin && !ambiance) platform::IniWriteString("settings", "other", "1", path.c_str());
  }
  void Skin(const char* file, const char* name) {
    std::string path = env.data + "\\Skin\\" + file;
    platform::IniWriteString("properties", "name", name, path.c_str());
    platform::IniWriteString("configuration files", "button", "button.ini", path.c_str());
  }

  ShellEnv env;
  testsupport::RecordingSink sink;
  char buf[shell::kThemeBufferSize] = {};
};

TEST_F(ThemeTest, ChainResolvesAndChangesOnlyOnADifferentThemeOrSkin) {
  Skin("standard_skin.ini", "Standard");
  Skin("blue_skin.ini", "Blue");
  Theme("standard_theme.ini", "standard_skin.ini");
  Theme("blue_theme.ini", "blue_skin.ini");
  Theme("blue2_theme.ini", "BLUE_SKIN.INI");
  Theme("noskin_theme.ini", nullptr);

  shell::ResolveSkinFile(buf, "noskin_theme.ini");
  EXPECT_STREQ(buf, "standard_skin.ini");  // a theme without "skin" uses the standard skin

  EXPECT_TRUE(shell::SetCurrentTheme("standard_theme.ini"));
  EXPECT_EQ(std::string(shell::GetCurrentSkinPath()), env.data + "\\Skin\\standard_skin.ini");
  EXPECT_FALSE(shell::SetCurrentTheme("STANDARD_theme.ini"));  // same theme, any case
  EXPECT_TRUE(shell::SetCurrentTheme("blue_theme.ini"));
  // Another theme on the current skin changes the theme but reports no change.
  EXPECT_FALSE(shell::SetCurrentTheme("blue2_theme.ini"));
  EXPECT_EQ(std::string(shell::GetCurrentThemePath()), env.data + "\\Themes\\blue2_theme.ini");
  EXPECT_TRUE(sink.messages.empty());

  EXPECT_EQ(shell::GetSkinConfigFile("button"), env.data + "\\Skin\\button.ini");
  EXPECT_EQ(shell::GetSkinConfigFile("scroll"), env.data + "\\Skin\\none.ini");
  EXPECT_TRUE(shell::HasSkinConfigFile("button"));
  EXPECT_FALSE(shell::HasSkinConfigFile("scroll"));
}

TEST_F(ThemeTest, DeveloperMessagesForMissingSkinsAndKeys) {
  Skin("blue_skin.ini", "Blue");
  Theme("blue_theme.ini", "blue_skin.ini", "rain.wav");
  Theme("lost_theme.ini", "lost_skin.ini");
  Theme("bare_theme.ini", nullptr);

  shell::ResolveSkinFile(buf, "lost_theme.ini");
  EXPECT_STREQ(buf, "lost_skin.ini");
  EXPECT_TRUE(shell::GetThemeSkinName("blue_theme.ini", buf));
  EXPECT_STREQ(buf, "Blue");
  EXPECT_TRUE(shell::GetThemeAmbiance("blue_theme.ini", buf));
  EXPECT_STREQ(buf, "rain.wav");
  EXPECT_FALSE(shell::GetThemeSkinName("bare_theme.ini", buf));
  EXPECT_STREQ(buf, "");
  EXPECT_FALSE(shell::GetThemeAmbiance("bare_theme.ini", buf));
  EXPECT_FALSE(shell::GetThemeAmbiance(nullptr, buf));

  const std::vector<std::string> expected = {
      "le theme 'standard_theme.ini' utilise un skin introuvable ou vide !",
      "le theme 'bare_theme.ini' n'a pas de skin !!",
      "le theme 'bare_theme.ini' n'a pas d'ambiance !!",
      "aucun theme n'est sp\xe9"
      "cifi\xe9",
  };
  ASSERT_EQ(sink.messages.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(sink.messages[i].text, expected[i]);
    EXPECT_EQ(sink.messages[i].caption, "tessarin error");
  }
}

TEST_F(ThemeTest, UserThemeFileAndSkinProperties) {
  platform::MakeDirectory((env.data + "\\Users\\Ann").c_str());
  platform::IniWriteString("settings", "theme", "blue_theme.ini",
                           (env.data + "\\Users\\Ann\\Ann.ini").c_str());
  EXPECT_TRUE(shell::GetUserThemeFile(buf, "Ann"));
  EXPECT_STREQ(buf, "blue_theme.ini");
  EXPECT_TRUE(shell::GetUserThemeFile(buf, "Bob"));
  EXPECT_STREQ(buf, "standard_theme.ini");
  EXPECT_FALSE(shell::GetUserThemeFile(buf, std::string(300, 'x').c_str()));
  EXPECT_STREQ(buf, "standard_theme.ini");

  Skin("blue_skin.ini", "Blue");
  shell::ReadSkinProperty("blue_skin.ini", "name", buf);
  EXPECT_STREQ(buf, "Blue");
  shell::ReadSkinProperty("blue_skin.ini", "previewbmp", buf);
  EXPECT_STREQ(buf, "");
}

TEST(ThemeName, FromSkinFile) {
  struct Case {
    const char* skin;
    const char* theme;  // null: refused
  } cases[] = {
      {"standard_skin.ini", "standard_theme.ini"},
      {"blue_skin.ini", "blue_theme.ini"},
      {"skin.ini", "theme.ini"},
      {"blue.ini", nullptr},
      {"BLUE_SKIN.INI", nullptr},  // the marker is lower case
  };
  for (const Case& c : cases) {
    char out[64] = "x";
    bool ok = shell::ThemeNameFromSkinFile(c.skin, out, sizeof out);
    EXPECT_EQ(ok, c.theme != nullptr) << c.skin;
    if (c.theme) {
      EXPECT_STREQ(out, c.theme) << c.skin;
    }
  }
  char small[8];
  EXPECT_FALSE(shell::ThemeNameFromSkinFile("long_skin.ini", small, sizeof small));
  EXPECT_STREQ(small, "");
}

}  // namespace
