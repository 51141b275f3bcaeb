// The profile dialogs under Wine, driven by posted and sent input: the
// manager creates, enters, edits and deletes profiles (on disk and in its
// list), refuses bad input with its messages, falls back to the Default
// profile on "Create later", and the player profile window shows a profile
// modally and the current one in its window slot.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "gui/win32/gui_widgets1.h"
#include "platform/ini.h"
#include "platform/path.h"
#include "recording_sink.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "shell/startup/profile_rules.h"
#include "shell/startup/win32/profile_manager.h"
#include "shell/startup/win32/profile_window.h"
#include "shell/theme.h"
#include "shell/user_profile.h"
#include "shell_fixture.h"
#include "standard_skin.h"
#include "ui/window_slots.h"
#include "ui_test_fixture.h"

namespace {

using shelltest::RecordingHost;
using shelltest::ShellEnv;
using uitest::Text;
using uitest::Then;

constexpr int kList = 371, kEnter = 377, kNew = 364, kEdit = 664, kDelete = 370, kLater = 362;
constexpr int kName = 1164, kRanking = 722, kCreate = 372, kEnterAtOnce = 359, kAgeSpin = 4047;

void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Choose(HWND manager, int row) {
  SendDlgItemMessageA(manager, kList, LB_SETCURSEL, row, 0);
  SendMessageA(manager, WM_COMMAND, MAKEWPARAM(kList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(manager, kList)));
}

void SetAge(HWND dialog, int age) {
  SendDlgItemMessageA(dialog, kAgeSpin, gui::kMsgSpinSetPos, static_cast<WPARAM>(age), 0);
}

std::vector<std::string> Rows(HWND list) {
  std::vector<std::string> rows;
  const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i)
    rows.push_back(uitest::Row(list, i));
  return rows;
}

std::vector<std::string> Texts(const testsupport::RecordingSink& sink) {
  std::vector<std::string> texts;
  for (const auto& m : sink.messages)
    texts.push_back(m.text);
  return texts;
}

void Shoot(HWND window, const char* name) {
  uitest::Pump(200);
  tess_test::SaveScreenshot(tess_test::CaptureWindow(window), name);
}

class ProfilesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = uitest::InitializeStandardSkin(GetModuleHandleA(nullptr)); }
  void SetUp() override {
    ASSERT_TRUE(skin);
    ASSERT_TRUE(env.ok);
    // The standard theme is in force, as after start-up.
    shell::SetCurrentThemePaths((env.data + "\\Themes\\standard_theme.ini").c_str(),
                                tess_test::BuildPath("Data/Skin/standard_skin.ini").c_str());
    owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override {
    shell::SetDefaultProfileTarget(nullptr);
    DestroyWindow(owner);
  }
  bool Make(const char* name, uint32_t level = 2) {
    return shell::CreateUserProfile(name, name, "", 0, 0, "", shell::LevelRanking(level), 30, 0,
                                    level, false);
  }

  static int skin;
  ShellEnv env;
  RecordingHost host;
  HWND owner = nullptr;
};
int ProfilesTest::skin = 0;

TEST_F(ProfilesTest, ANewProfileIsListedStoredAndEntered) {
  testsupport::RecordingSink sink;
  std::vector<std::string> before, after;
  bool enterDisabled = false;
  std::string age, sex;
  Then([&](HWND manager) {
    before = Rows(GetDlgItem(manager, kList));
    enterDisabled = !IsWindowEnabled(GetDlgItem(manager, kEnter));
    // Each step schedules the next: one step is pending at a time.
    Then([&](HWND create) {
      SetDlgItemTextA(create, kName, "jOHN");
      SetAge(create, 41);
      Click(create, 1351);  // the newcomer's ranking
      CheckDlgButton(create, 4045, BST_CHECKED);
      CheckDlgButton(create, 4046, BST_UNCHECKED);
      Click(create, 4045);
      CheckDlgButton(create, kEnterAtOnce, BST_UNCHECKED);  // stay in the manager
      Click(create, kEnterAtOnce);
      Shoot(create, "startup_new_profile");
      Then([&](HWND m) {
        after = Rows(GetDlgItem(m, kList));
        age = Text(m, 5897);
        sex = Text(m, 5898);
        Shoot(m, "startup_profiles");
        Click(m, kEnter);
      });
      Click(create, kCreate);
    });
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(kNew, BN_CLICKED), 0);
  });
  EXPECT_EQ(shell::ShowUserManagementDialog(owner), shell::kProfileEntered);
  EXPECT_TRUE(before.empty());
  EXPECT_TRUE(enterDisabled);
  EXPECT_EQ(after, std::vector<std::string>{"John"});
  EXPECT_EQ(age, "41");
  EXPECT_EQ(sex, "Female");
  EXPECT_TRUE(sink.messages.empty()) << sink.messages[0].text;

  shell::UserProfile stored;
  ASSERT_EQ(shell::ReadUserProfile("John", stored), shell::kProfileIsCurrent);
  EXPECT_STREQ(shell::GetCurrentUserName(), "John");
  EXPECT_EQ(stored.age, 41u);
  EXPECT_EQ(stored.sex, 1u);
  EXPECT_EQ(stored.level, 0u);
  EXPECT_EQ(stored.stats[shell::kStatsTournament].rating, 500);
  EXPECT_TRUE(platform::FileExists((env.data + "\\Users\\John\\John.usr").c_str()));
  EXPECT_EQ(host.selected, std::vector<std::string>{"John"});
}

TEST_F(ProfilesTest, ANewProfileTickedForUseIsEnteredAtOnce) {
  ASSERT_TRUE(Make("Ann"));
  ASSERT_TRUE(shell::SelectUser("Ann"));
  testsupport::RecordingSink sink;
  Then([&](HWND manager) {
    Then([&](HWND create) {
      SetDlgItemTextA(create, kName, "zoe");
      Click(create, kCreate);  // "Use this profile now" is ticked at start
    });
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(kNew, BN_CLICKED), 0);
  });
  EXPECT_EQ(shell::ShowUserManagementDialog(owner), shell::kProfileEntered);
  EXPECT_STREQ(shell::GetCurrentUserName(), "Zoe");
  EXPECT_EQ(host.selected, (std::vector<std::string>{"Ann", "Zoe"}));
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProfilesTest, BadInputIsRefusedWithItsMessageAndNothingIsWritten) {
  ASSERT_TRUE(Make("John"));
  testsupport::RecordingSink sink;
  const struct {
    const char* name;
    int age;
    const char* ranking;
    uint32_t text;
  } cases[] = {
      {"Zed", 5, "1500", shell::kStrAgeRange},
      {"Zed", 100, "1500", shell::kStrAgeRange},
      {"default", 25, "1500", shell::kStrBadProfileName},
      {".zed", 25, "1500", shell::kStrBadProfileName},
      {"jOHN", 25, "1500", shell::kStrNameExistsInList},
      {"Zed", 25, "299", shell::kStrRankingRange},
      {"Zed", 25, "", shell::kStrRankingRange},
      {"Z:d", 25, "1500", 2432},
      {"Com1", 25, "1500", 2167},
      {"   ", 25, "1500", 2430},
  };
  std::vector<bool> stillOpen;
  Then([&](HWND create) {
    for (const auto& c : cases) {
      SetDlgItemTextA(create, kName, c.name);
      SetAge(create, c.age);
      SetDlgItemTextA(create, kRanking, c.ranking);
      Click(create, kCreate);
      stillOpen.push_back(IsWindow(create) && IsWindowVisible(create));
    }
    Click(create, IDCANCEL);
  });
  EXPECT_FALSE(shell::RunNewProfileDialog(owner));
  ASSERT_EQ(sink.messages.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    std::string expected = shell::LoadResString(cases[i].text);
    const size_t at = expected.find("%s");
    if (at != std::string::npos) expected.replace(at, 2, cases[i].name);
    EXPECT_EQ(sink.messages[i].text, expected) << cases[i].name;
    EXPECT_TRUE(stillOpen[i]) << cases[i].name;
  }
  EXPECT_EQ(shell::BuildUserList(), std::vector<std::string>{"John"});
}

TEST_F(ProfilesTest, TheTwentyFirstProfileIsRefused) {
  for (int i = 0; i < shell::kMaxProfiles; ++i)
    ASSERT_TRUE(Make(("P" + std::to_string(i)).c_str()));
  testsupport::RecordingSink sink;
  EXPECT_FALSE(shell::RunNewProfileDialog(owner));
  EXPECT_EQ(Texts(sink),
            std::vector<std::string>{shell::LoadResString(shell::kStrTooManyProfiles)});
}

TEST_F(ProfilesTest, EditAndDeleteOtherProfilesButNotTheCurrentOne) {
  ASSERT_TRUE(Make("Ann"));
  ASSERT_TRUE(Make("Bob"));
  ASSERT_TRUE(Make("Cy"));
  // Ann's earned ranking must survive an edit that keeps her level.
  shell::UserProfile ann;
  ASSERT_EQ(shell::ReadUserProfile("Ann", ann), shell::kProfileFromFile);
  ann.stats[shell::kStatsTournament].rating = 1732;
  ASSERT_TRUE(shell::WriteUserProfile(&ann));
  ASSERT_TRUE(shell::SelectUser("Bob"));
  testsupport::RecordingSink sink;
  sink.answers = {platform::kResultOk, platform::kResultOk, platform::kResultYes,
                  platform::kResultYes, platform::kResultYes};
  testsupport::WriteBytes(env.dir / "Data/Users/Cy/game.tsg", "x");

  std::string selectedAtStart;
  std::vector<std::string> afterDelete;
  int selectedAfterDelete = -1;
  Then([&](HWND manager) {
    selectedAtStart =
        uitest::Row(GetDlgItem(manager, kList),
                    static_cast<int>(SendDlgItemMessageA(manager, kList, LB_GETCURSEL, 0, 0)));
    Click(manager, kEdit);    // Bob is current: refused
    Click(manager, kDelete);  // likewise
    Choose(manager, 0);
    Then([&](HWND edit) {
      SetAge(edit, 40);
      CheckDlgButton(edit, 5952, BST_CHECKED);
      CheckDlgButton(edit, 5953, BST_UNCHECKED);
      CheckDlgButton(edit, 1044, BST_UNCHECKED);
      CheckDlgButton(edit, 1061, BST_CHECKED);
      SetDlgItemTextA(edit, 981, "Plays on Sundays");
      Then([&](HWND m) {
        Choose(m, 2);
        Click(m, kDelete);  // Yes, and Yes to the saved games
        afterDelete = Rows(GetDlgItem(m, kList));
        selectedAfterDelete = static_cast<int>(SendDlgItemMessageA(m, kList, LB_GETCURSEL, 0, 0));
        Click(m, kLater);
      });
      Click(edit, 5774);  // "save your changes?" Yes
    });
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(kEdit, BN_CLICKED), 0);
  });
  EXPECT_EQ(shell::ShowUserManagementDialog(owner), shell::kProfileLater);
  EXPECT_EQ(selectedAtStart, "Bob");
  const std::vector<std::string> expected = {
      shell::LoadResString(shell::kStrCannotEditCurrent),
      shell::LoadResString(shell::kStrCannotRemoveCurrent),
      shell::LoadResString(shell::kStrSaveChanges),
      "Are you sure you want to delete all details of user Cy?",
      shell::LoadResString(shell::kStrConfirmSavedGames)};
  EXPECT_EQ(Texts(sink), expected);

  ASSERT_EQ(shell::ReadUserProfile("Ann", ann), shell::kProfileFromFile);
  EXPECT_EQ(ann.age, 40u);
  EXPECT_EQ(ann.sex, 1u);
  EXPECT_EQ(ann.language, 1u);
  EXPECT_STREQ(ann.about, "Plays on Sundays");
  EXPECT_EQ(ann.stats[shell::kStatsTournament].rating, 1732);

  EXPECT_EQ(afterDelete, (std::vector<std::string>{"Ann", "Bob"}));
  EXPECT_EQ(selectedAfterDelete, 1);  // the deleted last entry's place goes to the new last
  EXPECT_FALSE(platform::DirectoryExists((env.data + "\\Users\\Cy").c_str()));
  EXPECT_STREQ(shell::GetCurrentUserName(), "Bob");
}

int g_defaultRequests = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == shell::kMsgDefaultProfileRequest) ++g_defaultRequests;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ProfilesTest, CreateLaterAsksForTheDefaultProfileOnlyWithoutAUser) {
  uitest::RegisterPanelClass("ProfilesTestTarget", CountingProc);
  static HWND target = nullptr;
  target = CreateWindowExA(0, "ProfilesTestTarget", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  shell::SetDefaultProfileTarget([] { return target; });
  ASSERT_TRUE(Make("Ann"));
  for (bool withUser : {false, true}) {
    SCOPED_TRACE(withUser);
    if (withUser) {
      ASSERT_TRUE(shell::SelectUser("Ann"));
    }
    g_defaultRequests = 0;
    Then([](HWND manager) { PostMessageA(manager, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(shell::ShowUserManagementDialog(owner), shell::kProfileLater);
    EXPECT_EQ(g_defaultRequests, withUser ? 0 : 1);
  }
  DestroyWindow(target);
}

TEST_F(ProfilesTest, ProfileWindowShowsANamedProfileModallyAndTheCurrentOneInItsSlot) {
  ASSERT_TRUE(Make("Ann", 3));
  ASSERT_TRUE(Make("Bob"));
  std::string title, name, tournamentRanking, tournamentDup;
  int tabs = 0;
  bool aboutReadOnly = false, statsShown = false;
  Then([&](HWND window) {
    title = Text(window);
    HWND tab = GetDlgItem(window, 724);
    tabs = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    HWND page = GetWindow(tab, GW_CHILD);
    for (; page; page = GetWindow(page, GW_HWNDNEXT))
      if (GetDlgItem(page, kName) && IsWindowVisible(page)) break;
    if (page) {
      name = Text(page, kName);
      aboutReadOnly = (GetWindowLongA(GetDlgItem(page, 1184), GWL_STYLE) & ES_READONLY) != 0;
    }
    for (int p : {1, 2}) {
      SendMessageA(tab, TCM_SETCURSEL, p, 0);
      NMHDR nm{tab, 724, static_cast<UINT>(TCN_SELCHANGE)};
      SendMessageA(window, WM_NOTIFY, 724, reinterpret_cast<LPARAM>(&nm));
    }
    for (HWND c = GetWindow(tab, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (HWND list = GetDlgItem(c, 5920)) {
        statsShown = IsWindowVisible(c) != 0;
        tournamentRanking = uitest::Cell(list, 0, 1);
        tournamentDup = uitest::Cell(list, 16, 1);
      }
    }
    SendMessageA(tab, TCM_SETCURSEL, 1, 0);
    NMHDR nm{tab, 724, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(window, WM_NOTIFY, 724, reinterpret_cast<LPARAM>(&nm));
    Shoot(window, "startup_profile_window");
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  });
  shell::ShowProfileWindow(owner, GetModuleHandleA(nullptr), "Ann");
  EXPECT_EQ(title, "Player profile - Ann");
  EXPECT_EQ(tabs, 4);
  EXPECT_EQ(name, "Ann");
  EXPECT_TRUE(aboutReadOnly);
  EXPECT_TRUE(statsShown);
  EXPECT_EQ(tournamentRanking, "2000");  // the tournament page: block 3 is level 3's preset
  EXPECT_EQ(tournamentDup, "N/A");       // no duplicate average in the classic column
  EXPECT_NE(std::find(host.sounds.begin(), host.sounds.end(), "SMenCli1.wav"), host.sounds.end());

  // The modeless window: slot 16, the current user's About flows back.
  ASSERT_TRUE(shell::SelectUser("Ann"));
  HWND window = shell::ShowProfileWindow(owner, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(window);
  EXPECT_EQ(static_cast<HWND>(ui::GetSlotWindow(ui::kSlotProfile)), window);
  HWND page = nullptr;
  for (HWND c = GetWindow(GetDlgItem(window, 724), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (GetDlgItem(c, 1184)) page = c;
  ASSERT_TRUE(page);
  EXPECT_FALSE(GetWindowLongA(GetDlgItem(page, 1184), GWL_STYLE) & ES_READONLY);
  SetDlgItemTextA(page, 1184, "Hello");
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(1184, EN_CHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(page, 1184)));
  EXPECT_STREQ(shell::GetCurrentUserProfile()->about, "Hello");

  ASSERT_TRUE(shell::SelectUser("Bob"));
  shell::NotifyProfileWindow(*shell::GetCurrentUserProfile());
  EXPECT_EQ(Text(page, kName), "Bob");
  shell::CloseProfileWindow();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(ui::GetSlotWindow(ui::kSlotProfile), nullptr);
}

}  // namespace
