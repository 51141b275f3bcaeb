// The profile dialogs' portable rules: stored names, the refusals of a new
// profile in their order, level rankings, a profile folder's saved games and
// its deletion, and the statistics pages' rows.
#include "shell/startup/profile_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "platform/path.h"
#include "recording_sink.h"
#include "shell/app_context.h"
#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

using shelltest::RecordingHost;
using shelltest::ShellEnv;

TEST(ProfileRules, TypedNamesAreStoredCapitalised) {
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {
      {"jOHN", "John"}, {"  mARY ", "Mary"}, {"\xe9LAN", "\xe9lan"}, {"x", "X"},
      {"", ""},         {"   ", ""},         {".hidden", ".hidden"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(shell::NormalizeProfileName(c.typed), c.stored) << c.typed;
  EXPECT_EQ(shell::NormalizeProfileName(nullptr), "");
}

TEST(ProfileRules, NewProfileRefusalsInOrder) {
  const std::vector<std::string> listed = {"Ann", "John"};
  const struct {
    const char* name;
    int age, ranking;
    uint32_t id;
  } cases[] = {
      {"Zed", 25, 1500, 0},
      {"Zed", 6, 300, 0},
      {"Zed", 99, 3000, 0},
      {"Zed", 5, 1500, shell::kStrAgeRange},
      {"Zed", 100, 1500, shell::kStrAgeRange},
      {"John", 5, 1500, shell::kStrAgeRange},  // the age is checked first
      {".zed", 25, 1500, shell::kStrBadProfileName},
      {"Default", 25, 1500, shell::kStrBadProfileName},
      {"Default", 25, 10, shell::kStrBadProfileName},
      {"John", 25, 1500, shell::kStrNameExistsInList},
      {"John", 25, 10, shell::kStrNameExistsInList},
      {"Johnny", 25, 1500, 0},
      {"Zed", 25, 299, shell::kStrRankingRange},
      {"Zed", 25, 3001, shell::kStrRankingRange},
  };
  for (const auto& c : cases)
    EXPECT_EQ(shell::CheckNewProfile(c.name, c.age, c.ranking, listed), c.id)
        << c.name << " " << c.age << " " << c.ranking;
}

TEST(ProfileRules, LevelRankings) {
  const int32_t expected[] = {500, 1000, 1500, 2000, 1500};
  for (uint32_t level = 0; level < 5; ++level)
    EXPECT_EQ(shell::LevelRanking(level), expected[level]) << level;
}

TEST(ProfileRules, SavedGamesAndDeletion) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  testsupport::RecordingSink sink;
  ASSERT_TRUE(shell::CreateUserProfile("Ann", "Ann", "", 0, 0, nullptr, 1500, 30, 0, 2, false));
  ASSERT_TRUE(shell::CreateUserProfile("Bob", "Bob", "", 0, 0, nullptr, 1500, 30, 0, 2, false));
  const std::string ann = env.data + "\\Users\\Ann";
  EXPECT_FALSE(shell::HasSavedGames("Ann"));
  // Adjourned games are not the profile's saved games.
  testsupport::WriteBytes(env.dir / "Data/Users/Ann/Adjourned Games/g.tsg", "x");
  EXPECT_FALSE(shell::HasSavedGames("Ann"));
  testsupport::WriteBytes(env.dir / "Data/Users/Ann/game.Tsg", "x");
  EXPECT_TRUE(shell::HasSavedGames("Ann"));
  EXPECT_FALSE(shell::HasSavedGames(nullptr));

  const char* ini = shell::GetProgramIniPath();
  platform::IniWriteString(shell::kSettingsSection, shell::kLastUserKey, "Ann", ini);
  ASSERT_TRUE(shell::DeleteProfileFiles("Bob"));
  EXPECT_EQ(platform::IniGet(shell::kSettingsSection, shell::kLastUserKey, "", ini, 512), "Ann");
  ASSERT_TRUE(shell::DeleteProfileFiles("Ann"));
  EXPECT_FALSE(platform::DirectoryExists(ann.c_str()));
  EXPECT_EQ(platform::IniGet(shell::kSettingsSection, shell::kLastUserKey, "x", ini, 512), "");
  EXPECT_TRUE(shell::BuildUserList().empty());
  EXPECT_FALSE(shell::DeleteProfileFiles(""));
}

TEST(ProfileRules, StatisticsRowsPerPage) {
  shell::UserProfile p;
  for (int b = 0; b < 8; ++b) {
    p.stats[b].rating = 1000 + b;
    std::snprintf(p.stats[b].bestScoreDate, sizeof p.stats[b].bestScoreDate, "d%d", b);
    p.stats[b].averageScore = 123.456f;
    p.stats[b].averageDuplicatePercent = 87.5f;
    p.stats[b].avgGeneralNote = 0.4567f;
    p.stats[b].challengeLost = 3;
  }
  // A date that fills its field is shown without running past it.
  std::memset(p.stats[5].bestScoreDate, 'z', sizeof p.stats[5].bestScoreDate);

  const auto game = shell::BuildStatsRows(p, shell::StatsPage::kGameRoom);
  ASSERT_EQ(game.size(), 28u);
  auto row = [](const std::vector<shell::StatsRow>& rows, uint32_t label) {
    for (const auto& r : rows)
      if (r.label == label) return r.values;
    return std::vector<std::string>();
  };
  EXPECT_EQ(row(game, 2574), (std::vector<std::string>{"1000", "1001", "1002"}));
  EXPECT_EQ(row(game, 7152), (std::vector<std::string>{"d0", "d1", "d2"}));
  EXPECT_EQ(row(game, 7158), (std::vector<std::string>{"123.46", "123.46", "123.46"}));
  EXPECT_EQ(row(game, 7160), (std::vector<std::string>{"N/A", "N/A", "87.50"}));
  EXPECT_EQ(row(game, 1851), (std::vector<std::string>{"45.67", "45.67", "N/A"}));
  EXPECT_EQ(row(game, 7165), (std::vector<std::string>{"3", "3", "N/A"}));

  const auto tour = shell::BuildStatsRows(p, shell::StatsPage::kTournament);
  EXPECT_EQ(row(tour, 2574), (std::vector<std::string>{"1003", "1004"}));
  EXPECT_EQ(row(tour, 7160), (std::vector<std::string>{"N/A", "87.50"}));
  const auto online = shell::BuildStatsRows(p, shell::StatsPage::kOnline);
  EXPECT_EQ(row(online, 2574), (std::vector<std::string>{"1005", "1006", "1007"}));
  EXPECT_EQ(row(online, 7152)[0], std::string(64, 'z'));
  EXPECT_EQ(row(online, 3157), (std::vector<std::string>{"0.00", "0.00", "N/A"}));
}

}  // namespace
