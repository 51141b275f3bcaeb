// Every personality the build writes plays a word, within its own word
// level, on the built English lexicon: at the opening and beside a word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/robot_settings.h"
#include "lexicon_fixture.h"
#include "platform/binio.h"
#include "platform/path.h"
#include "rules/game_setup.h"
#include "rules/rules.h"
#include "shell/personality.h"

namespace {

struct Position {
  const char* name;
  const char* across;  // a word laid across the centre row from column 5, or none
  const char* rack;
};

const Position kPositions[] = {
    {"opening", nullptr, "teaslin"},
    {"beside a word", "house", "radetno"},
};

std::string PersonalitiesFolder() {
  return platform::JoinPath(TESS_BUILD_DIR, "Data\\Personalities");
}

RobotSettings SettingsOf(const shell::PersonalityRecord& r) {
  ByteReader in(r.playerOptions, shell::kPlayerOptionsSize);
  int32_t options[kRobotSettingsWords];
  for (int32_t& word : options)
    word = in.I32();
  return SettingsFromOptions(options);
}

TEST(PersonalityPlayTest, EveryBuiltPersonalityPlaysAWordOfItsLevel) {
  const std::string dictionary =
      platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(kLanguageEnglish));
  if (!platform::FileExists(dictionary.c_str()))
    GTEST_SKIP() << "the English lexicon is not built in " TESS_BUILD_DIR;
  const std::vector<platform::FindEntry> files =
      platform::FindFiles(platform::JoinPath(PersonalitiesFolder(), "*.QNP").c_str());
  ASSERT_GE(files.size(), 16u) << PersonalitiesFolder();

  Lexicon* lexicon = lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  GameRules rules;
  GameSetup setup;
  setup.kind = kKindStandard;
  rules.Setup(0, 7, &setup);
  for (const platform::FindEntry& file : files) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(
        platform::JoinPath(PersonalitiesFolder(), file.name).c_str(), bytes));
    shell::PersonalityRecord record;
    ASSERT_TRUE(shell::DecodePersonality(bytes.data(), bytes.size(), record)) << file.name;
    const RobotSettings settings = SettingsOf(record);
    for (const Position& p : kPositions) {
      SCOPED_TRACE(file.name + ", " + p.name);
      char grid[kBoardSquares] = {};
      for (int i = 0; p.across && p.across[i]; ++i)
        grid[7 * kBoardStride + 5 + i] = p.across[i];
      quickBot2usingDawg robot;
      robot.SetGameParams(&rules);
      robot.CreateEvaluators(&settings);
      robot.PreparePosition(grid, p.rack, false, 0);
      robot.ClearMoveSlots();
      robot.ResetTermRanges();
      robot.Think(nullptr, 0);
      EXPECT_EQ(robot.GetResultState(), kResultPlay);
      const RobotMove* best = robot.GetMoveSlot(0);
      ASSERT_NE(best, nullptr);
      ASSERT_NE(best->word[0], '\0');
      const DawgNode* node = lexicon->FindWordNode(best->word);
      ASSERT_NE(node, nullptr) << best->word;
      EXPECT_TRUE(WordLevelAllowed(node->Level(), settings.maxWordLevel))
          << best->word << " at level " << node->Level();
    }
  }
  DestroyLexicon();
}

}  // namespace
