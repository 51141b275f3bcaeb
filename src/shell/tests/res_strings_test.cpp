// The string table generated from strings.txt: texts by id in both builds,
// the shared buffers, and the resource script made from the same source.
#include "shell/res_strings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "recording_sink.h"

namespace {

TEST(ResStrings, TextsQuotedExactly) {
  EXPECT_STREQ(shell::LoadResString(7144), "Default");
  EXPECT_STREQ(shell::LoadResString(2433),
               "Player names cannot end with a full stop.\r\nPlease enter another player name.");
  EXPECT_STREQ(shell::LoadResString(2082), "Personality already selected, choose another one!");
  EXPECT_STREQ(shell::LoadResString(4201), "\"Elo\" Classic ");  // trailing blank kept
  // Windows-1252 in both builds: the French entry and the registered sign.
  EXPECT_STREQ(shell::LoadResString(2432),
               "Les noms de joueurs ne peuvent contenir les caract\xe8res suivants :\n"
               " \\ / : * ? \" < > |");
  EXPECT_STREQ(shell::LoadResString(1852), "TESSARIN\xae");
}

TEST(ResStrings, OneSharedBufferAndAMissingIdGivesAnEmptyText) {
  const char* a = shell::LoadResString(2413);
  const char* b = shell::LoadResString(2414);
  EXPECT_EQ(a, b);
  EXPECT_STREQ(a, "Info");
  // Never the previous text.
  EXPECT_STREQ(shell::LoadResString(1), "");
  EXPECT_EQ(shell::FindResString(1), nullptr);
  EXPECT_STREQ(shell::LoadResString(nullptr, 2413), "Filters");

  const char* second = shell::LoadResStringSecondary(2449);
  EXPECT_NE(second, shell::LoadResString(2448));
  EXPECT_STREQ(second, "English");
}

TEST(ResStrings, TableIsSortedAndUnique) {
  ASSERT_GT(shell::kStringTableSize, 100u);
  for (size_t i = 1; i < shell::kStringTableSize; ++i)
    EXPECT_LT(shell::kStringTable[i - 1].id, shell::kStringTable[i].id);
  for (size_t i = 0; i < shell::kStringTableSize; ++i)
    EXPECT_LT(std::strlen(shell::kStringTable[i].text), 1024u);
}

TEST(ResStrings, MessageBoxLoadsTextAndCaption) {
  testsupport::RecordingSink sink(6);
  EXPECT_EQ(shell::ShowResMessageBox(3056, 1852, 4), 6);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Do you want to save your changes?");
  EXPECT_EQ(sink.messages[0].caption, "TESSARIN\xae");
  EXPECT_EQ(sink.messages[0].flags, 4u);
}

}  // namespace

namespace {

// The resource script comes from the same source: quotes doubled, the other
// bytes escaped exactly as in the table.
TEST(ResStrings, ResourceScriptHoldsTheSameEntries) {
  std::string path = std::string(TESS_BUILD_DIR) + "/src/shell/generated/tessarin_strings.rc";
  std::FILE* f = std::fopen(path.c_str(), "rb");
#ifdef _WIN32
  if (!f) GTEST_SKIP() << "the build folder is not reachable from here";
#endif
  ASSERT_NE(f, nullptr) << path;
  std::string rc;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
    rc.append(buf, n);
  std::fclose(f);
  EXPECT_NE(rc.find("STRINGTABLE"), std::string::npos);
  EXPECT_NE(rc.find("  7144, \"Default\"\r\n"), std::string::npos);
  EXPECT_NE(rc.find("  4201, \"\"\"Elo\"\" Classic \"\r\n"), std::string::npos);
  EXPECT_NE(rc.find("caract\\350res"), std::string::npos);
}

}  // namespace
