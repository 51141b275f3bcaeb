// User profiles: the ".usr" codec byte for byte, damaged files refused, and a
// profile's life: created, selected, played, written, read back; the Default
// profile; name checks; failed saves and bad layouts.
#include "shell/user_profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "platform/path.h"
#include "recording_sink.h"
#include "shell/app_context.h"
#include "shell/file_utils.h"
#include "shell/game_stats.h"
#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

using shelltest::ReadText;
using shelltest::RecordingHost;
using shelltest::ShellEnv;

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

shell::UserProfile SampleProfile() {
  shell::UserProfile p;
  std::strcpy(p.name, "Ann");
  std::strcpy(p.displayName, "Ann Lee");
  std::strcpy(p.about, "Plays on Sundays");
  p.language = 1;
  p.reservedFlag = 7;
  p.age = 42;
  p.sex = 1;
  p.level = 2;
  p.reserved2400[0] = 0xAB;
  p.reserved16[15] = 0xCD;
  p.pairTable[99] = {5, 6};
  for (int i = 0; i < 8; ++i) {
    p.stats[i].rating = 1000 + i;
    p.stats[i].averageScore = 1.5f * i;
    std::strcpy(p.stats[i].bestWord, "QUIXOTE");
    p.stats[i].avgGeneralNote = 0.25f;
  }
  shell::OpponentRecord o;
  std::strcpy(o.name, "Boris");
  o.wonAgainst = 3;
  o.lostAgainst = 2;
  o.drawnAgainst = 1;
  p.opponents = {o, o};
  return p;
}

TEST(ProfileFile, FieldsAtTheirFileOffsets) {
  shell::UserProfile p = SampleProfile();
  std::vector<uint8_t> b = shell::EncodeUserProfile(p);
  ASSERT_EQ(b.size(), 7048u + 2 * 44u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[0]), "Ann");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[32]), "Ann Lee");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[160]), "Plays on Sundays");
  EXPECT_EQ(U32At(b, 672), 1u);   // language
  EXPECT_EQ(U32At(b, 676), 42u);  // age before sex, level and the flag
  EXPECT_EQ(U32At(b, 680), 1u);
  EXPECT_EQ(U32At(b, 684), 2u);
  EXPECT_EQ(U32At(b, 688), 7u);
  EXPECT_EQ(b[692], 0xAB);
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(U32At(b, 3092 + 392 * i + 4), 1000u + i);  // the blocks, contiguous
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[3092 + 148]), "QUIXOTE");
  EXPECT_EQ(U32At(b, 6228), 10000u);  // pairTable follows the blocks
  EXPECT_EQ(U32At(b, 6228 + 99 * 8), 5u);
  EXPECT_EQ(b[7028 + 15], 0xCD);
  EXPECT_EQ(U32At(b, 7044), 2u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[7048]), "Boris");
  EXPECT_EQ(U32At(b, 7048 + 32), 3u);

  shell::UserProfile empty;
  EXPECT_EQ(shell::EncodeUserProfile(empty).size(), 7048u);

  shell::UserProfile back;
  ASSERT_TRUE(shell::DecodeUserProfile(b.data(), b.size(), back));
  EXPECT_TRUE(back.SameFileContent(p));
  EXPECT_EQ(back.opponents, p.opponents);
}

TEST(ProfileFile, DamagedFilesAreRefused) {
  shell::UserProfile p = SampleProfile();
  std::vector<uint8_t> good = shell::EncodeUserProfile(p);
  std::vector<std::vector<uint8_t>> bad;
  bad.emplace_back(good.begin(), good.begin() + 7047);  // short of the fixed part
  bad.emplace_back(good.begin(), good.end() - 1);       // an opponent cut short
  bad.emplace_back(good.begin(), good.end() - 44);      // one opponent missing
  std::vector<uint8_t> hugeCount = good;
  hugeCount[7044 + 3] = 0x7F;  // a count no file can hold
  bad.push_back(hugeCount);
  std::vector<uint8_t> extra = good;
  extra.push_back(0);
  bad.push_back(extra);
  for (const auto& b : bad) {
    shell::UserProfile into;
    std::strcpy(into.name, "untouched");
    EXPECT_FALSE(shell::DecodeUserProfile(b.data(), b.size(), into)) << b.size();
    EXPECT_STREQ(into.name, "untouched");
  }
  // Texts without a terminator are terminated inside their field.
  std::vector<uint8_t> noNul = good;
  std::memset(noNul.data(), 'N', 32);
  shell::UserProfile into;
  ASSERT_TRUE(shell::DecodeUserProfile(noNul.data(), noNul.size(), into));
  EXPECT_EQ(std::string(into.name), std::string(31, 'N'));
}

// A planted huge profile, or a folder in its place, is refused without
// being read.
TEST(UserProfile, PlantedHugeFilesAndFoldersAreRefused) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  ASSERT_TRUE(platform::MakeDirectory((env.data + "\\Users").c_str()));
  for (const char* name : {"Huge", "Folder"})
    ASSERT_TRUE(platform::MakeDirectory((env.data + "\\Users\\" + name).c_str()));
  ASSERT_TRUE(testsupport::MakeHugeFile(
      platform::NativePath((env.data + "\\Users\\Huge\\Huge.usr").c_str()), 3ull << 30));
  ASSERT_TRUE(platform::MakeDirectory((env.data + "\\Users\\Folder\\Folder.usr").c_str()));
  shell::UserProfile into;
  EXPECT_EQ(shell::ReadUserProfile("Huge", into), shell::kProfileReadFailed);
  EXPECT_EQ(shell::ReadUserProfile("Folder", into), shell::kProfileReadFailed);
}

shell::FinishedGame TwoPlayerWin(int32_t own, int32_t opp) {
  shell::FinishedGame g;
  g.rated = true;
  g.players.resize(2);
  g.players[0].rating = own;
  g.players[0].finalScore = 420;
  g.players[0].bestMoveScore = 86;
  g.players[0].bestMoveWord = "zephyr";
  g.players[0].lettersPlaced = 60;
  g.players[1].rating = opp;
  g.players[1].finalScore = 300;
  g.players[1].isComputer = true;
  return g;
}

TEST(UserProfile, CreatedSelectedPlayedWrittenAndReadBack) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  testsupport::RecordingSink sink;
  testsupport::WriteBytes(env.dir / "QNDEFAULT.INI", "[settings]\r\nnotation_style=2\r\n");

  ASSERT_TRUE(shell::CreateUserProfile("  Ann  ", "Ann", "About Ann", 1, 0, nullptr, 1500, 30, 1, 2,
                                       false));
  EXPECT_TRUE(sink.messages.empty());
  const std::string folder = env.data + "\\Users\\Ann";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile((folder + "\\Ann.usr").c_str(), bytes));
  EXPECT_EQ(bytes.size(), 7048u);
  EXPECT_TRUE(platform::DirectoryExists((folder + "\\Adjourned Games").c_str()));
  EXPECT_EQ(ReadText(env.dir / "Data/Users/Ann/Ann.lay"), "Default(1024x768).LAY");
  const std::string ini = folder + "\\Ann.ini";
  for (int room = 1; room <= 17; ++room)
    EXPECT_EQ(platform::IniGet(shell::GetRoomName(room), "white_player_name", "-", ini.c_str()),
              room == 4 ? "-" : "Ann")
        << room;

  shell::UserProfile created;
  ASSERT_EQ(shell::ReadUserProfile("Ann", created), shell::kProfileFromFile);
  EXPECT_STREQ(created.about, "About Ann");
  EXPECT_EQ(created.stats[3].rating, 1500);
  EXPECT_EQ(created.stats[2].rating, 0);  // duplicate blocks start unrated
  EXPECT_EQ(created.stats[0].bestRating, 1500);
  EXPECT_EQ(created.pairTable[0].a, 10000u);
  EXPECT_NE(created.stats[7].bestWordDate[0], '\0');

  ASSERT_TRUE(shell::SelectUser("Ann"));
  EXPECT_STREQ(shell::GetCurrentUserName(), "Ann");
  EXPECT_EQ(std::string(shell::GetSettingsIniPath()), ini);
  EXPECT_EQ(shell::GetSettingsRecord()->notationStyle, 2);  // from QNDEFAULT.INI
  EXPECT_EQ(platform::IniGet("settings", "LastUser", "", shell::GetProgramIniPath()), "Ann");
  EXPECT_EQ(host.selected, std::vector<std::string>{"Ann"});
  EXPECT_EQ(shell::ReadUserProfile("Ann", created), shell::kProfileIsCurrent);

  // Two synthetic games: a win and a loss against an equal computer.
  shell::FinishedGame win = TwoPlayerWin(1500, 1500);
  ASSERT_TRUE(shell::CountFinishedGame(win));
  shell::FinishedGame loss = TwoPlayerWin(1508, 1500);
  loss.players[1].finalScore = 500;
  ASSERT_TRUE(shell::CountFinishedGame(loss));
  shell::UserProfile* current = shell::GetCurrentUserProfile();
  EXPECT_EQ(current->stats[0].games, 2);
  EXPECT_EQ(current->stats[0].wins, 1);
  EXPECT_EQ(current->stats[0].defeats, 1);
  EXPECT_EQ(current->stats[0].rating, 1499);  // 1500 + 8, then 1508 - 8.18 truncated
  EXPECT_EQ(current->stats[0].bestRating, 1508);

  // The file written after the game equals the profile in memory.
  ASSERT_TRUE(platform::ReadWholeFile((folder + "\\Ann.usr").c_str(), bytes));
  shell::UserProfile onDisk;
  ASSERT_TRUE(shell::DecodeUserProfile(bytes.data(), bytes.size(), onDisk));
  EXPECT_TRUE(onDisk.SameFileContent(*current));
  shell::UserProfile snapshot = *current;

  ASSERT_TRUE(shell::SaveAndCloseCurrentUser());
  EXPECT_STREQ(shell::GetCurrentUserName(), "");
  shell::UserProfile back;
  ASSERT_EQ(shell::ReadUserProfile("Ann", back), shell::kProfileFromFile);
  EXPECT_TRUE(back.SameFileContent(snapshot));
}

TEST(UserProfile, NamesAreCheckedAfterTrimming) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  testsupport::RecordingSink sink;
  ASSERT_TRUE(shell::CreateUserProfile("Ann", "Ann", "", 0, 0, nullptr, 1000, 20, 0, 1, false));
  const struct {
    const char* name;
    const char* text;
  } cases[] = {
      {"COM1", "COM1' is already taken.\r\nPlease choose another name."},
      {"com1 ", "com1' is already taken.\r\nPlease choose another name."},
      {"a.b.", "Player names cannot end with a full stop.\r\nPlease enter another player name."},
      {"x:y",
       "Les noms de joueurs ne peuvent contenir les caract\xe8res suivants :\n \\ / : * ? \" < > "
       "|"},
      {"   ", "You must give a new player a name when creating him/her. Please enter a name now."},
      {"ANN", "This player name already exists. Please select another name."},
      {"%s%n%s", "COM1' is already taken.\r\nPlease choose another name."},  // replaced below
      {"A name much longer than the thirty-one characters", "Bad user name!"},
  };
  for (const auto& c : cases) {
    sink.messages.clear();
    bool created =
        shell::CreateUserProfile(c.name, c.name, "", 0, 0, nullptr, 1000, 20, 0, 1, false);
    if (std::string(c.name) == "%s%n%s") {
      // A name with format characters is just a name.
      EXPECT_TRUE(created);
      EXPECT_TRUE(sink.messages.empty());
      continue;
    }
    EXPECT_FALSE(created) << c.name;
    ASSERT_EQ(sink.messages.size(), 1u) << c.name;
    EXPECT_EQ(sink.messages[0].text, c.text);
    EXPECT_EQ(sink.messages[0].flags, 0x30u);
  }
  EXPECT_EQ(shell::ValidateUserName("fine name"), 0u);
  EXPECT_EQ(shell::BuildUserList(), (std::vector<std::string>{"%s%n%s", "Ann"}));
  EXPECT_TRUE(shell::UserExists("aNN"));
  EXPECT_FALSE(shell::UserExists("Bob"));
  EXPECT_EQ(shell::CountUsers(), 2);
}

TEST(UserProfile, DefaultProfileLivesApartAndIsDeletedOnClose) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  ASSERT_TRUE(shell::CreateUserProfile("Default", "Default", "", 0, 0, "", 500, 35, 0, 0, false));
  const std::string folder = env.data + "\\Default User\\Default";
  EXPECT_TRUE(platform::FileExists((folder + "\\Default.usr").c_str()));
  EXPECT_TRUE(shell::BuildUserList().empty());
  ASSERT_TRUE(shell::SelectUser("Default"));
  EXPECT_EQ(shell::GetCurrentUserProfile()->stats[3].rating, 500);
  EXPECT_EQ(std::string(shell::GetSettingsIniPath()), folder + "\\Default.ini");
  EXPECT_EQ(platform::IniGet("settings", "LastUser", "", shell::GetProgramIniPath()), "Default");

  ASSERT_TRUE(shell::SaveAndCloseCurrentUser());
  EXPECT_FALSE(platform::DirectoryExists(folder.c_str()));
  EXPECT_FALSE(platform::DirectoryExists((env.data + "\\Default User").c_str()));
  EXPECT_EQ(platform::IniGet("settings", "LastUser", "-", shell::GetProgramIniPath()), "");
}

TEST(UserProfile, LayoutChosenByDesktopSize) {
  const struct {
    int w, h;
    const char* file;
  } cases[] = {
      {1600, 1200, "Default(1600x1200).LAY"}, {1600, 1100, "Default(1280x1024).LAY"},
      {1280, 1024, "Default(1280x1024).LAY"}, {1280, 800, "Default(1024x768).LAY"},
      {1024, 768, "Default(1024x768).LAY"},   {1023, 768, "Default(800x600).LAY"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(shell::DefaultLayoutForDesktop(c.w, c.h), c.file) << c.w << "x" << c.h;

  ShellEnv env;
  RecordingHost host;
  host.width = 1600;
  host.height = 1100;
  ASSERT_TRUE(shell::CreateUserProfile("Bea", "Bea", "", 0, 0, "NONE", 1000, 20, 0, 1, false));
  EXPECT_EQ(ReadText(env.dir / "Data/Users/Bea/Bea.lay"), "Default(1280x1024).LAY");
  // A named template gives both the ini and the layout.
  testsupport::WriteBytes(env.dir / "Data/Layouts/Club.ini", "[settings]\r\ntheme=club.ini\r\n");
  ASSERT_TRUE(shell::CreateUserProfile("Cy", "Cy", "", 0, 0, "Club.ini", 1000, 20, 0, 1, false));
  EXPECT_EQ(platform::IniGet("settings", "theme", "", (env.data + "\\Users\\Cy\\Cy.ini").c_str()),
            "club.ini");
  EXPECT_EQ(platform::IniGet("settings", "theme", "", (env.data + "\\Users\\Cy\\Cy.lay").c_str()),
            "club.ini");
}

TEST(UserProfile, AFailedSaveIsReportedAndTheProfileStaysCurrent) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  ASSERT_TRUE(shell::CreateUserProfile("Ann", "Ann", "", 0, 0, nullptr, 1000, 20, 0, 1, false));
  ASSERT_TRUE(shell::CreateUserProfile("Bob", "Bob", "", 0, 0, nullptr, 1000, 20, 0, 1, false));
  ASSERT_TRUE(shell::SelectUser("Ann"));
  // The profile file's place is taken by a folder: the write cannot land.
  const std::string usr = env.data + "\\Users\\Ann\\Ann.usr";
  ASSERT_TRUE(platform::RemoveFile(usr.c_str()));
  ASSERT_TRUE(platform::MakeDirectory(usr.c_str()));
  EXPECT_FALSE(shell::WriteUserProfile(shell::GetCurrentUserProfile()));
  EXPECT_FALSE(shell::CountFinishedGame(TwoPlayerWin(1000, 1000)));
  EXPECT_FALSE(shell::SaveAndCloseCurrentUser());
  EXPECT_FALSE(shell::SelectUser("Bob"));
  EXPECT_STREQ(shell::GetCurrentUserName(), "Ann");
  EXPECT_EQ(shell::GetCurrentUserProfile()->stats[0].games, 1);  // kept in memory
  EXPECT_FALSE(shell::WriteUserProfile(nullptr));
}

TEST(UserProfile, ADamagedProfileIsSetAsideAndTheUserCanPlay) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  testsupport::RecordingSink sink;
  ASSERT_TRUE(shell::CreateUserProfile("Ann", "Ann", "", 0, 0, nullptr, 1000, 20, 0, 1, false));
  const std::string usr = env.data + "\\Users\\Ann\\Ann.usr";
  testsupport::WriteBytes(env.dir / "Data/Users/Ann/Ann.usr", "not a profile");
  shell::UserProfile rec;
  EXPECT_EQ(shell::ReadUserProfile("Ann", rec), shell::kProfileReadFailed);

  ASSERT_TRUE(shell::SelectUser("Ann"));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "tessarin error");
  EXPECT_EQ(ReadText(env.dir / "Data/Users/Ann/Ann.usr.bad"), "not a profile");
  EXPECT_EQ(shell::GetCurrentUserProfile()->stats[3].rating, 1500);
  EXPECT_EQ(shell::GetCurrentUserProfile()->stats[4].rating, 1500);
  EXPECT_EQ(std::string(shell::GetCurrentUserProfile()->profilePath), usr);
  EXPECT_EQ(shell::ReadUserProfile("Nobody", rec), shell::kProfileReadFailed);
}

TEST(UserProfile, ABadLayoutDoesNotLockTheUserOut) {
  ShellEnv env;
  ASSERT_TRUE(env.ok);
  RecordingHost host;
  ASSERT_TRUE(shell::CreateUserProfile("Ann", "Ann", "", 0, 0, nullptr, 1000, 20, 0, 1, false));
  ASSERT_TRUE(shell::CreateUserProfile("Bob", "Bob", "", 0, 0, nullptr, 1000, 20, 0, 1, false));
  // The layout fails once: it is replaced by the default layout and loads.
  testsupport::WriteBytes(env.dir / "Data/Users/Ann/Ann.lay", "garbage");
  host.failLayouts = 1;
  ASSERT_TRUE(shell::SelectUser("Ann"));
  EXPECT_EQ(ReadText(env.dir / "Data/Users/Ann/Ann.lay"), "Default(1024x768).LAY");
  EXPECT_EQ(host.layouts.size(), 2u);

  // It keeps failing: the selection fails, and the next start will not try
  // this user again.
  host.failLayouts = 2;
  EXPECT_FALSE(shell::SelectUser("Bob"));
  EXPECT_EQ(platform::IniGet("settings", "LastUser", "-", shell::GetProgramIniPath()), "");
}

}  // namespace
