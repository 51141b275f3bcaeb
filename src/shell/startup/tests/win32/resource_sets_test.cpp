// Skin loading and reloading under Wine: the records follow the skin, and a
// skin that cannot be loaded leaves the one in force untouched.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "gui/gui_core.h"
#include "gui/win32/gui_win32.h"
#include "platform/ini.h"
#include "shell/app_context.h"
#include "shell/settings.h"
#include "shell/startup/resource_sets.h"
#include "shell/theme.h"

namespace {

std::string WinBuildPath(const std::string& rel) {
  std::string p = std::string("Z:") + TESS_BUILD_DIR + "/" + rel;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

// A 2x2 24-bit bitmap file.
void WriteBmp(const std::string& path) {
  const unsigned char bytes[] = {
      'B', 'M', 70, 0, 0,  0, 0,  0,  0,  0,  54, 0,  0, 0, 40, 0,  0,  0,  2,  0,  0, 0, 2, 0,
      0,   0,   1,  0, 24, 0, 0,  0,  0,  0,  16, 0,  0, 0, 0,  0,  0,  0,  0,  0,  0, 0, 0, 0,
      0,   0,   0,  0, 0,  0, 10, 20, 30, 10, 20, 30, 0, 0, 10, 20, 30, 10, 20, 30, 0, 0};
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class ResourceSetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::GuiInitialize(GetModuleHandleA(nullptr));
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    program = std::string(tmp) + "tess_skin_test";
    for (const char* d : {"", "\\Data", "\\Data\\Skin", "\\Data\\Themes"})
      CreateDirectoryA((program + d).c_str(), nullptr);
    ASSERT_TRUE(shell::CreateAppContextAt(program + "\\tessarin.exe"));
    skins = program + "\\Data\\Skin\\";
    const std::string themes = program + "\\Data\\Themes\\";
    // A usable skin of one bitmap, and one whose registry names nothing.
    WriteBmp(skins + "one.bmp");
    std::ofstream(skins + "guiresources.txt") << "ONE one.bmp 7\n";
    Put(skins + "good_skin.ini", "configuration files", "GUIResources", "guiresources.txt");
    Put(skins + "good_skin.ini", "configuration files", "thick_frame", "thick.ini");
    Put(skins + "thick.ini", "resources", "top_center_frame", "one");
    Put(skins + "broken_skin.ini", "configuration files", "GUIResources", "missing.txt");
    Put(themes + "good_theme.ini", "settings", "skin", "good_skin.ini");
    Put(themes + "broken_theme.ini", "settings", "skin", "broken_skin.ini");
    standard = WinBuildPath("Data/Skin/standard_skin.ini");
  }
  void TearDown() override {
    shell::ReleaseGuiResourcesAndFont();
    shell::ClearCurrentTheme();
    shell::DestroyAppContext();
  }
  static void Put(const std::string& file, const char* s, const char* k, const char* v) {
    platform::IniWriteString(s, k, v, file.c_str());
  }

  std::string program, skins, standard;
};

TEST_F(ResourceSetsTest, FailedSkinLeavesTheOneInForce) {
  shell::SetCurrentThemePaths("", standard.c_str());
  ASSERT_TRUE(shell::LoadSkinResources());
  gui::SkinRegistry* first = shell::GetSkinRegistry();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(gui::GuiGetFrameSkin(), nullptr);
  EXPECT_EQ(gui::GuiGetFrameSkin()->groups[gui::kKindThick].present, 1);
  ASSERT_NE(gui::GuiGetSkin(), nullptr);
  EXPECT_EQ(gui::GuiGetSkin()->imageSource, first);
  const uint32_t thickTop =
      gui::GuiGetFrameSkin()->groups[gui::kKindThick].imageIds[gui::kFrTop + 1];

  // A skin without a registry changes nothing, by path or by name.
  shell::SetCurrentThemePaths("", (skins + "broken_skin.ini").c_str());
  EXPECT_FALSE(shell::LoadSkinResources());
  shell::SetCurrentThemePaths("", standard.c_str());
  std::strcpy(shell::GetSettingsRecord()->theme, "standard_theme.ini");
  EXPECT_FALSE(shell::ApplySkinByName("broken_skin.ini", 1));
  EXPECT_EQ(shell::GetSkinRegistry(), first);
  EXPECT_EQ(gui::GuiGetSkin()->imageSource, first);
  EXPECT_EQ(gui::GuiGetFrameSkin()->groups[gui::kKindThick].imageIds[gui::kFrTop + 1], thickTop);
  EXPECT_EQ(std::string(shell::GetCurrentSkinPath()), standard);
  EXPECT_STREQ(shell::GetSettingsRecord()->theme, "standard_theme.ini");

  // A usable one replaces registry and records; applying it again does nothing.
  EXPECT_TRUE(shell::ApplySkinByName("good_skin.ini", 1));
  gui::SkinRegistry* second = shell::GetSkinRegistry();
  EXPECT_NE(second, first);
  EXPECT_EQ(gui::GuiGetSkin()->imageSource, second);
  EXPECT_EQ(gui::GuiGetFrameSkin()->groups[gui::kKindThick].imageIds[gui::kFrTop + 1], 7u);
  EXPECT_EQ(gui::GuiGetFrameSkin()->groups[gui::kKindDialog].present, 0);  // built in
  EXPECT_STREQ(shell::GetSettingsRecord()->theme, "good_theme.ini");
  EXPECT_EQ(std::string(shell::GetCurrentSkinPath()), skins + "good_skin.ini");
  EXPECT_FALSE(shell::ApplySkinByName("good_skin.ini", 1));
  EXPECT_EQ(shell::GetSkinRegistry(), second);
}

}  // namespace
