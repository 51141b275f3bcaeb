// Personality files: the record byte for byte, damaged files refused, the
// sorted list, filters by group, sex, age and rating band, the rated
// opponents near the player's rating, and the info text.
#include "shell/personality.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/path.h"
#include "recording_sink.h"
#include "shell/app_context.h"
#include "shell/user_profile.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellEnv;

shell::PersonalityRecord Record(const char* name, int32_t rating, uint32_t sex, int32_t age) {
  shell::PersonalityRecord r;
  r.rating = rating;
  r.sex = sex;
  r.age = age;
  std::strcpy(r.name, name);
  std::string picture = std::string(name) + ".bmp";
  std::strcpy(r.picture, picture.c_str());
  std::strcpy(r.description, "A player");
  std::strcpy(r.infoText, "Rated %d.");
  return r;
}

class PersonalityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env.ok);
    folder = std::string(shell::GetPersonalitiesFolder());
    ASSERT_TRUE(platform::MakeDirectory(folder.c_str()));
  }
  void Put(const shell::PersonalityRecord& r) { ASSERT_TRUE(shell::WritePersonalityFile(r)); }
  std::string Path(const std::string& file) const { return folder + "\\" + file; }
  void PutBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(
        platform::WriteFileAtomic((folder + "\\" + file).c_str(), bytes.data(), bytes.size()));
  }

  ShellEnv env;
  std::string folder;
};

TEST(PersonalityRecord, FieldsAtTheirOffsets) {
  shell::PersonalityRecord r = Record("Ada", 1234, 1, 30);
  std::strcpy(r.secondName, "Second");
  r.unused4[0] = 9;
  r.playerOptions[0] = 0x11;
  r.playerOptions[51] = 0x22;
  std::vector<uint8_t> b = shell::EncodePersonality(r);
  ASSERT_EQ(b.size(), 1268u);
  EXPECT_EQ(b[0] | b[1] << 8, 1234);
  EXPECT_EQ(b[4], 9);
  EXPECT_EQ(b[12], 1);
  EXPECT_EQ(b[20], 30);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[24]), "Ada.bmp");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[54]), "A player");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[154]), "Rated %d.");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[1154]), "Ada");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[1184]), "Second");
  EXPECT_EQ(b[1216], 0x11);
  EXPECT_EQ(b[1267], 0x22);

  shell::PersonalityRecord back;
  ASSERT_TRUE(shell::DecodePersonality(b.data(), b.size(), back));
  EXPECT_EQ(shell::EncodePersonality(back), b);

  // Short records are refused; unterminated texts end inside their field.
  shell::PersonalityRecord untouched = Record("Keep", 1, 0, 9);
  EXPECT_FALSE(shell::DecodePersonality(b.data(), 1267, untouched));
  EXPECT_STREQ(untouched.name, "Keep");
  std::memset(&b[1154], 'X', 30);
  std::memset(&b[154], 'Y', 1000);
  ASSERT_TRUE(shell::DecodePersonality(b.data(), b.size(), back));
  EXPECT_EQ(std::string(back.name), std::string(29, 'X'));
  EXPECT_EQ(std::string(back.infoText).size(), 999u);
}

TEST(PersonalityRecord, AgeGroupsAndRatingBands) {
  const std::pair<int32_t, uint32_t> ages[] = {{6, 1},  {18, 1}, {19, 2}, {24, 2},
                                               {25, 3}, {40, 3}, {41, 4}, {90, 4}};
  for (auto [age, group] : ages)
    EXPECT_EQ(shell::AgeGroupOf(age), group) << age;
  // (min(rating, 2400) + 1) / 500, not the band the switch names suggest.
  const std::pair<int32_t, int> bands[] = {{0, 0},    {498, 0},  {499, 1},  {999, 2},
                                           {1500, 3}, {1999, 4}, {2400, 4}, {9000, 4}};
  for (auto [rating, band] : bands)
    EXPECT_EQ(shell::RatingBandOf(rating), band) << rating;
}

TEST(PersonalityRecord, InfoTextIsNeverAFormat) {
  EXPECT_EQ(shell::FormatPersonalityInfo("Rated %d, 100%% %s %n %d", 1800),
            "Rated 1800, 100% %s %n 1800");
  EXPECT_EQ(shell::FormatPersonalityInfo("trailing %", 5), "trailing %");
  EXPECT_EQ(shell::FormatPersonalityInfo(nullptr, 5), "");
}

TEST_F(PersonalityTest, ListSortedAndDamagedFilesSkipped) {
  Put(Record("Zoe  ", 1200, 0, 12));
  Put(Record("Abe", 1200, 1, 45));
  Put(Record("Max", 800, 1, 22));
  Put(Record("Hidden", 10001, 1, 30));  // never listed
  PutBytes("Short.QNP", std::vector<uint8_t>(100, 1));
  // A planted huge file and a folder in the list's place are passed over
  // without being read.
  ASSERT_TRUE(
      testsupport::MakeHugeFile(platform::NativePath(Path("Huge.QNP").c_str()), 3ull << 30));
  ASSERT_TRUE(platform::MakeDirectory(Path("Folder.QNP").c_str()));
  PutBytes("notes.txt", shell::EncodePersonality(Record("Txt", 1, 1, 30)));
  EXPECT_EQ(shell::ListPersonalityFiles(true), 3);
  EXPECT_TRUE(shell::GetPersonalityList().empty());
  ASSERT_EQ(shell::ListPersonalityFiles(), 3);
  const auto& list = shell::GetPersonalityList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "Max");
  EXPECT_EQ(list[1].name, "Abe");  // same rating: name byte order
  EXPECT_EQ(list[2].name, "Zoe");  // trailing blanks removed
  EXPECT_EQ(list[0].ageGroup, 2u);
  EXPECT_EQ(list[2].ageGroup, 1u);
  EXPECT_EQ(list[1].fileName, "Abe.QNP");
  shell::FreePersonalityList();
  EXPECT_TRUE(shell::GetPersonalityList().empty());
}

TEST_F(PersonalityTest, FiltersByRatingBandSexAndAge) {
  Put(Record("Kid", 450, 0, 10));     // band 0, female, age group 1
  Put(Record("Teen", 999, 1, 16));    // band 2, male, group 1
  Put(Record("Young", 1300, 0, 22));  // band 2, female, group 2
  Put(Record("Pro", 2100, 1, 35));    // band 4, male, group 3
  Put(Record("Sage", 1700, 1, 67));   // band 3, male, group 4
  ASSERT_EQ(shell::ListPersonalityFiles(), 5);
  const auto& list = shell::GetPersonalityList();
  auto names = [&](const shell::PersonalityFilters& f) {
    std::vector<std::string> out;
    for (int i : shell::ApplyPersonalityFilters(list, f))
      out.push_back(list[static_cast<size_t>(i)].name);
    return out;
  };
  shell::PersonalityFilters all;
  EXPECT_EQ(names(all), (std::vector<std::string>{"Kid", "Teen", "Young", "Sage", "Pro"}));

  const struct {
    shell::PersonalityFilter off;
    std::vector<std::string> visible;
  } cases[] = {
      {shell::kFilterRating1001to1500, {"Kid", "Sage", "Pro"}},  // 999 is in this band too
      {shell::kFilterRatingOver2000, {"Kid", "Teen", "Young", "Sage"}},
      {shell::kFilterFemale, {"Teen", "Sage", "Pro"}},
      {shell::kFilterAge19to24, {"Kid", "Teen", "Sage", "Pro"}},
      {shell::kFilterAgeOver40, {"Kid", "Teen", "Young", "Pro"}},
      {shell::kFilterFictional, {"Kid", "Teen", "Young", "Sage", "Pro"}},  // filters nothing
      {shell::kFilterAge9to11, {"Kid", "Teen", "Young", "Sage", "Pro"}},
  };
  for (const auto& c : cases) {
    shell::PersonalityFilters f;
    f.on[c.off] = false;
    EXPECT_EQ(names(f), c.visible) << shell::kPersonalityFilterNames[c.off];
  }

  shell::PersonalityFilters f;
  f.on[shell::kFilterMale] = false;
  std::vector<int> visible = shell::ApplyPersonalityFilters(list, f);
  EXPECT_EQ(shell::KeepSelection(visible, 2), 2);  // Young stays selected
  EXPECT_EQ(shell::KeepSelection(visible, 1), 0);  // Teen hidden: the first visible
  EXPECT_EQ(shell::KeepSelection({}, 1), -1);

  // The switches go to the settings ini and come back.
  std::string ini = env.File("filters.ini");
  ASSERT_TRUE(shell::SavePersonalityFilters(f, ini.c_str()));
  shell::PersonalityFilters back = shell::LoadPersonalityFilters(ini.c_str());
  for (int i = 0; i < shell::kFilterCount; ++i)
    EXPECT_EQ(back.on[i], f.on[i]) << shell::kPersonalityFilterNames[i];
  EXPECT_TRUE(shell::LoadPersonalityFilters(env.File("none.ini").c_str()).on[shell::kFilterMale]);
}

TEST_F(PersonalityTest, RatedOpponentsAndPlayerRatings) {
  for (auto [name, rating] : std::vector<std::pair<const char*, int32_t>>{
           {"Low", 1099}, {"Edge1", 1100}, {"Mid", 1500}, {"Edge2", 1900}, {"High", 1901}})
    Put(Record(name, rating, 1, 30));
  shell::UserProfile me;
  std::strcpy(me.name, "Ann");
  me.stats[3].rating = 1500;
  me.stats[4].rating = 1300;
  shell::SetCurrentUserProfile(&me);

  std::vector<std::string> near;
  for (const auto& o : shell::ListRatedOpponents(false))
    near.push_back(o.name);
  EXPECT_EQ(near, (std::vector<std::string>{"Edge1", "Mid", "Edge2"}));  // both bounds included
  EXPECT_EQ(shell::ListRatedOpponents(true).size(), 5u);

  EXPECT_EQ(shell::GetPlayerRating("mid", true, false), 1500);  // any case
  EXPECT_EQ(shell::GetPlayerRating("Ann", false, false), 1500);
  EXPECT_EQ(shell::GetPlayerRating("Ann", false, true), 1300);
  EXPECT_EQ(shell::GetPlayerRating("Nobody", true, false), 0);
}

TEST_F(PersonalityTest, ReadAndWriteFiles) {
  testsupport::RecordingSink sink;
  shell::PersonalityRecord r = Record("Ada", 900, 0, 30);
  Put(r);
  shell::PersonalityRecord back;
  ASSERT_TRUE(shell::ReadPersonalityFile("Ada.bmp", back));
  EXPECT_EQ(shell::EncodePersonality(back), shell::EncodePersonality(r));
  EXPECT_TRUE(sink.messages.empty());

  shell::PersonalityRecord untouched = Record("Keep", 1, 0, 9);
  EXPECT_FALSE(shell::ReadPersonalityFile("Missing", untouched));
  PutBytes("Short.QNP", std::vector<uint8_t>(1267, 0));
  EXPECT_FALSE(shell::ReadPersonalityFile("Short", untouched));
  EXPECT_STREQ(untouched.name, "Keep");
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "Error");
  EXPECT_EQ(sink.messages[0].caption, "Could not open personality file");

  // Bytes past the record survive a rewrite.
  std::vector<uint8_t> withTail = shell::EncodePersonality(r);
  withTail.push_back(0x5A);
  PutBytes("Ada.QNP", withTail);
  r.rating = 950;
  Put(r);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile((folder + "\\Ada.QNP").c_str(), bytes));
  ASSERT_EQ(bytes.size(), 1269u);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 950);
  EXPECT_EQ(bytes[1268], 0x5A);
}

}  // namespace
