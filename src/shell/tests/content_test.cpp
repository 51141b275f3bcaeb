// The content the build writes into the program folder: the personalities
// and the settings a new profile starts from.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/binio.h"
#include "platform/ini.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/personality.h"
#include "shell/resource_packs.h"
#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

// The build folder is the program folder.
class ContentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = shelltest::Backslashed(TESS_BUILD_DIR);
    ASSERT_TRUE(shell::CreateAppContextAt(program + "\\tessarin.exe"));
  }
  void TearDown() override { shell::DestroyAppContext(); }
  std::string program;
};

TEST_F(ContentTest, PersonalitiesSpreadFromWeakToStrong) {
  int count = shell::ListPersonalityFiles();
  ASSERT_GE(count, 16) << shell::GetPersonalitiesFolder();
  const auto& list = shell::GetPersonalityList();
  std::set<int> bands;
  std::set<uint32_t> ageGroups, sexes;
  std::set<std::string> settings;  // no two opponents play alike
  int32_t previousLevel = -2;
  for (const shell::PersonalityEntry& e : list) {
    bands.insert(shell::RatingBandOf(e.rating));
    ageGroups.insert(e.ageGroup);
    sexes.insert(e.sex);
    EXPECT_NE(e.infoText.find("%d"), std::string::npos) << e.name;
    EXPECT_FALSE(e.description.empty()) << e.name;
    shell::PersonalityRecord r;
    ASSERT_TRUE(shell::ReadPersonalityFile(e.picture.c_str(), r)) << e.name;
    EXPECT_EQ(r.playerOptions[0], 0) << e.name;  // a computer player
    EXPECT_TRUE(settings
                    .insert(std::string(reinterpret_cast<const char*>(r.playerOptions),
                                        sizeof r.playerOptions))
                    .second)
        << e.name << " plays with the settings of another personality";
    // The word level rises with the rating (-1: the whole lexicon).
    ByteReader options(r.playerOptions + 8, 4);
    int32_t level = options.I32();
    if (level < 0) level = 99;
    EXPECT_GE(level, previousLevel) << e.name;
    previousLevel = level;
  }
  EXPECT_EQ(bands.size(), 5u);
  EXPECT_EQ(ageGroups.size(), 4u);
  EXPECT_EQ(sexes.size(), 2u);
  shell::FreePersonalityList();
}

TEST_F(ContentTest, EveryPersonalityHasItsPortrait) {
  ASSERT_TRUE(shell::OpenResourcePack("faces", shell::kPackFaces, false));
  ASSERT_GE(shell::ListPersonalityFiles(), 16);
  for (const shell::PersonalityEntry& e : shell::GetPersonalityList()) {
    std::optional<shell::ResBlock> face = shell::LoadFacePicture(e.picture.c_str());
    ASSERT_TRUE(face) << e.picture;
    // A packed DIB: a 40-byte header of a 96 x 96 picture.
    ByteReader header(face->data(), face->size());
    EXPECT_EQ(header.U32(), 40u) << e.picture;
    EXPECT_EQ(header.I32(), 96) << e.picture;
    EXPECT_EQ(header.I32(), 96) << e.picture;
  }
  EXPECT_FALSE(shell::LoadFacePicture("nobody.bmp"));
  shell::FreePersonalityList();
  shell::CloseResourcePack(shell::kPackFaces);
}

TEST_F(ContentTest, DefaultUserIniHoldsEveryKeyAtItsDefault) {
  std::string ini = program + "\\QNDEFAULT.INI";
  ASSERT_TRUE(platform::FileExists(ini.c_str())) << ini;
  for (size_t i = 0; i < shell::kIntSettingKeyCount; ++i) {
    const shell::IntSettingKey& k = shell::kIntSettingKeys[i];
    EXPECT_EQ(platform::IniGet(k.section, k.key, "missing", ini.c_str()),
              std::to_string(k.defaultValue))
        << k.key;
  }
  EXPECT_EQ(platform::IniGet("settings", "theme", "", ini.c_str()), "standard_theme.ini");
  for (const char* name : shell::kPersonalityFilterNames)
    EXPECT_EQ(platform::IniGet("Personality Filters", name, "", ini.c_str()), "1") << name;
}

}  // namespace
