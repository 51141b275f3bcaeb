// The folder layout of the application context, its shared buffers and the
// settings ini path; paths that do not fit are refused.
#include "shell/app_context.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/user_profile.h"
#include "shell_fixture.h"

namespace {

struct Layout {
  const char* exe;
  const char* program;
  const char* ini;
  const char* data;
  const char* exercises;
  const char* games;
};

TEST(AppContext, FolderLayoutAtADriveRootAndDeeper) {
  const Layout cases[] = {
      // A drive root keeps its backslash and every join adds one more.
      {"C:\\tessarin.exe", "C:\\", "C:\\\\tessarin.ini", "C:\\\\Data", "C:\\\\Data\\Exercices",
       "C:\\\\Data\\cgames"},
      {"C:\\Games\\Tessarin\\tessarin.exe", "C:\\Games\\Tessarin",
       "C:\\Games\\Tessarin\\tessarin.ini", "C:\\Games\\Tessarin\\Data",
       "C:\\Games\\Tessarin\\Data\\Exercices", "C:\\Games\\Tessarin\\Data\\cgames"},
  };
  for (const Layout& c : cases) {
    SCOPED_TRACE(c.exe);
    ASSERT_TRUE(shell::CreateAppContextAt(c.exe));
    EXPECT_STREQ(shell::GetProgramFolder(), c.program);
    EXPECT_STREQ(shell::GetProgramIniPath(), c.ini);
    EXPECT_STREQ(shell::GetSettingsIniPath(), c.ini);
    EXPECT_STREQ(shell::GetDataFolder(), c.data);
    EXPECT_STREQ(shell::GetExercisesFolder(), c.exercises);
    EXPECT_STREQ(shell::GetGamesFolder(), c.games);
    EXPECT_EQ(std::string(shell::GetSkinFolder()), std::string(c.data) + "\\Skin");
    EXPECT_EQ(std::string(shell::GetLibraryFolder()), std::string(c.data) + "\\Library");
    EXPECT_EQ(std::string(shell::GetUsersFolder()), std::string(c.data) + "\\Users");
    EXPECT_EQ(std::string(shell::GetPersonalitiesFolder()),
              std::string(c.data) + "\\Personalities");
    EXPECT_TRUE(shell::DestroyAppContext());
  }
  EXPECT_EQ(shell::GetProgramFolder(), nullptr);
  EXPECT_FALSE(shell::DestroyAppContext());
}

TEST(AppContext, UserFoldersAndTheSharedBuffer) {
  ASSERT_TRUE(shell::CreateAppContextAt("D:\\Q\\tessarin.exe"));
  EXPECT_STREQ(shell::GetCurrentUserName(), "");  // no profile yet
  ASSERT_TRUE(shell::AllocCurrentUserProfile());
  shell::UserProfile p;
  std::strcpy(p.name, "Ann");
  ASSERT_TRUE(shell::SetCurrentUserProfile(&p));
  EXPECT_STREQ(shell::GetCurrentUserName(), "Ann");
  EXPECT_STREQ(shell::GetAdjournedGamesFolder(), "D:\\Q\\Data\\Users\\Ann\\Adjourned Games");
  EXPECT_STREQ(shell::GetDefaultUserItemPath(), "D:\\Q\\Data\\Default User\\Ann");

  const char* first = shell::GetThemesFolder();
  const char* second = shell::GetLayoutsFolder();
  EXPECT_EQ(first, second);  // one buffer, overwritten
  EXPECT_STREQ(first, "D:\\Q\\Data\\Layouts");

  ASSERT_TRUE(shell::SetSettingsIniPath("Ann.ini", true));
  EXPECT_STREQ(shell::GetSettingsIniPath(), "D:\\Q\\Data\\Users\\Ann\\Ann.ini");
  // Back to tessarin.ini, in the Data folder rather than the program folder.
  ASSERT_TRUE(shell::SetSettingsIniPath(nullptr, false));
  EXPECT_STREQ(shell::GetSettingsIniPath(), "D:\\Q\\Data\\tessarin.ini");

  ASSERT_TRUE(shell::SetCurrentUserProfile(nullptr));
  EXPECT_STREQ(shell::GetCurrentUserName(), "");
  shell::DestroyAppContext();
}

TEST(AppContext, PathsThatDoNotFitAreRefused) {
  // A program folder whose Data sub-folders would pass MAX_PATH.
  std::string deep = "C:\\" + std::string(250, 'x');
  EXPECT_FALSE(shell::CreateAppContextAt(deep + "\\tessarin.exe"));
  EXPECT_EQ(shell::GetAppContext(), nullptr);
  EXPECT_FALSE(shell::CreateAppContextAt("tessarin.exe"));  // no folder at all

  std::string ok = "C:\\" + std::string(200, 'y');
  ASSERT_TRUE(shell::CreateAppContextAt(ok + "\\tessarin.exe"));
  ASSERT_TRUE(shell::AllocCurrentUserProfile());
  shell::UserProfile p;
  std::strcpy(p.name, std::string(31, 'n').c_str());
  shell::SetCurrentUserProfile(&p);
  std::string before = shell::GetSettingsIniPath();
  EXPECT_STREQ(shell::GetAdjournedGamesFolder(), "");  // would not fit: refused, not cut
  EXPECT_FALSE(shell::SetSettingsIniPath("long-name.ini", true));
  EXPECT_EQ(shell::GetSettingsIniPath(), before);
  shell::DestroyAppContext();
}

TEST(AppContext, RandomBelow) {
  EXPECT_EQ(shell::RandomBelow(0), 0);
  EXPECT_EQ(shell::RandomBelow(-5), 0);
  for (int i = 0; i < 200; ++i) {
    int v = shell::RandomBelow(7);
    EXPECT_GE(v, 0);
    EXPECT_LT(v, 7);
  }
}

TEST(AppContext, AccessorsWithoutAContext) {
  EXPECT_EQ(shell::GetDataFolder(), nullptr);
  EXPECT_STREQ(shell::GetUsersFolder(), "");
  EXPECT_STREQ(shell::GetCurrentUserName(), "");
  EXPECT_FALSE(shell::IsAppActive());
  EXPECT_FALSE(shell::SetCurrentUserProfile(nullptr));
  EXPECT_FALSE(shell::SetSettingsIniPath("x.ini", false));
  // The program ini next to the running executable.
  std::string ini = shell::GetProgramIniPath();
  EXPECT_EQ(ini.substr(ini.size() - 13), "\\tessarin.ini");
}

}  // namespace
