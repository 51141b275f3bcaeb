// Private-profile semantics. The same tables run against the native
// implementation and, in the Windows build, against the real API under Wine,
// so every expectation here is what Win32 does (quirks included).
#include "platform/ini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/path.h"
#include "temp_dir.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// LF, CRLF and a lone CR line end, blank lines, a key before any section,
// duplicate sections and keys, comments, quotes and a header without ']'.
const char kFixture[] =
    "top=before any section\r\n"
    "[Display]\r\n"
    "Width = 800  \r\n"
    "width=second\n"
    "Quoted=\"hello world\"\n"
    "Single='x'\n"
    "Mismatch=\"abc'\n"
    "OneQuote=\"\n"
    "Inner=a \"b\" c\n"
    "NoEquals\n"
    ";Comment=3\n"
    "  Spaced Key \t=\t  v  w  \n"
    "\n"
    "   \n"
    "Empty=\n"
    "[ Sound ]\n"
    "volume=7\n"
    "[Broken=1\n"
    "[display]\n"
    "Height=600\n"
    "[Numbers]\n"
    "Plain=42\n"
    "Neg=-17abc\n"
    "Plus=+5\n"
    "Alpha=abc\n"
    "Hex=0x1F\n"
    "HexUpper=0X1F\n"
    "Octal=0o17\n"
    "Binary=0b101\n"
    "Quoted=\" 12\"\n"
    "Empty=\n"
    "Wraps=4294967297\n"
    "Long=000000000000000000000000000000123\n"
    "NoEq\n"
    "[Last] trailing text\n"
    "k=v\r"
    "Cl\xE9=\xC9t\xE9\n"
    "k2=v2";

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(WriteBytes(file, kFixture)); }

  TempDir dir;
  std::string file = dir / "fixture.ini";
};

struct GetCase {
  const char* section;
  const char* key;
  const char* def;
  uint32_t size;
  std::string expect;  // the first `return value` characters (lists hold NULs)
};

std::string L(const char* s, size_t n) { return std::string(s, n); }

const GetCase kGetCases[] = {
    // Names ignore case and surrounding blanks; the first section and key win.
    {"Display", "Width", "d", 64, "800"},
    {"DISPLAY", "wIDTH", "d", 64, "800"},
    {" Display\t", "  Width ", "d", 64, "800"},
    {"display", "Height", "d", 64, "d"},  // only the first [display] is searched
    {"Sound", "VOLUME", "d", 64, "7"},
    {"Sound", "[broken", "d", 64, "1"},  // a header without ']' is a key line
    {"", "top", "d", 64, "before any section"},
    {"Last", "k", "d", 64, "v"},
    {"Last", "K2", "d", 64, "v2"},
    // Only ASCII letters ignore case (Wine's rule; Windows also folds accents).
    {"Last", "Cl\xE9", "d", 64, "\xC9t\xE9"},
    {"Last", "CL\xC9", "d", 64, "d"},
    // Values: blanks trimmed, matching quotes removed.
    {"Display", "Quoted", "", 64, "hello world"},
    {"Display", "Single", "", 64, "x"},
    {"Display", "Mismatch", "", 64, "\"abc'"},
    {"Display", "OneQuote", "", 64, "\""},
    {"Display", "Inner", "", 64, "a \"b\" c"},
    {"Display", "Spaced Key", "d", 64, "v  w"},
    {"Display", ";Comment", "d", 64, "3"},
    {"Display", "Empty", "d", 64, ""},
    {"Display", "NoEquals", "d", 64, "d"},
    // Defaults: trailing spaces (only spaces) go, quotes too; never the first character.
    {"Display", "Missing", "dflt   ", 64, "dflt"},
    {"Display", "Missing", "dflt\t ", 64, "dflt\t"},
    {"Display", "Missing", "   ", 64, " "},
    {"Display", "Missing", "'q d'", 64, "q d"},
    {"Display", "Missing", nullptr, 64, ""},
    {"Nowhere", "Width", "d", 64, "d"},
    // Truncation to size - 1; a quoted value exactly one short loses one more.
    {"Display", "Width", "", 3, "80"},
    {"Display", "Width", "", 1, ""},
    {"Display", "Quoted", "", 5, "hell"},
    {"Display", "Quoted", "", 12, "hello worl"},
    {"Display", "Quoted", "", 13, "hello world"},
    {"Display", "Missing", "abcdef", 4, "abc"},
    // key == nullptr: the keys with '=' that are not comments, in file order.
    {"Sound", nullptr, "d", 64, L("volume\0[Broken\0", 15)},
    {"display", nullptr, "d", 100,
     L("Width\0width\0Quoted\0Single\0Mismatch\0OneQuote\0Inner\0Spaced Key\0Empty\0", 67)},
    {"Display", nullptr, "", 10, L("Width\0wi", 8)},
    {"Display", nullptr, "", 13, L("Width\0width", 11)},
    {"Display", nullptr, "", 14, L("Width\0width\0", 12)},
    // A missing section lists the default, untrimmed; the section name is not trimmed here.
    {"Nowhere", nullptr, "dflt  ", 64, "dflt  "},
    {" Sound ", nullptr, "d", 64, "d"},
    // section == nullptr: the named sections; a cut list returns size - 2.
    {nullptr, nullptr, "d", 64, L("Display\0Sound\0display\0Numbers\0Last\0", 35)},
    {nullptr, nullptr, "d", 37, L("Display\0Sound\0display\0Numbers\0Last\0", 35)},
    {nullptr, nullptr, "d", 36, L("Display\0Sound\0display\0Numbers\0Last", 34)},
    {nullptr, nullptr, "d", 12, L("Display\0So", 10)},
    {nullptr, nullptr, "d", 2, ""},
    {nullptr, nullptr, "d", 1, ""},
};

std::string Show(const char* s) { return s ? "\"" + std::string(s) + "\"" : "null"; }

TEST_F(IniTest, GetStringTable) {
  for (const GetCase& c : kGetCases) {
    SCOPED_TRACE(Show(c.section) + " " + Show(c.key) + " " + Show(c.def) + " size " +
                 std::to_string(c.size));
    std::vector<char> buf(c.size + 8, '#');
    uint32_t n = platform::IniGetString(c.section, c.key, c.def, buf.data(), c.size, file.c_str());
    ASSERT_LT(n, c.size);
    EXPECT_EQ(std::string(buf.data(), n), c.expect);
    EXPECT_EQ(buf[n], '\0');
    EXPECT_EQ(std::string(buf.data() + c.size, 8), std::string(8, '#')) << "wrote past the end";
  }
}

TEST_F(IniTest, GetIntTable) {
  struct IntCase {
    const char* section;
    const char* key;
    int expect;
  } cases[] = {
      {"Numbers", "Plain", 42}, {"Numbers", "Neg", -17},  {"Numbers", "Plus", 5},
      {"Numbers", "Alpha", 0},  {"Numbers", "Hex", 31},   {"Numbers", "HexUpper", 0},
      {"Numbers", "Octal", 15}, {"Numbers", "Binary", 5}, {"Numbers", "Quoted", 12},
      {"Numbers", "Wraps", 1},  {"Numbers", "Long", 0},   {"display", "width", 800},
      {"Numbers", "Empty", -5}, {"Numbers", "NoEq", -5},  {"Numbers", "Missing", -5},
      {"Nowhere", "Plain", -5},
  };
  for (const IntCase& c : cases)
    EXPECT_EQ(platform::IniGetInt(c.section, c.key, -5, file.c_str()), c.expect)
        << c.section << "/" << c.key;
  std::string missing = dir / "missing.ini";
  EXPECT_EQ(platform::IniGetInt("Numbers", "Plain", 9, missing.c_str()), 9);
}

TEST_F(IniTest, ConveniencesSplitTheLists) {
  using V = std::vector<std::string>;
  EXPECT_EQ(platform::IniSections(file.c_str()),
            (V{"Display", "Sound", "display", "Numbers", "Last"}));
  EXPECT_EQ(platform::IniKeys("sound", file.c_str()), (V{"volume", "[Broken"}));
  EXPECT_EQ(platform::IniKeys("Nowhere", file.c_str()), V{});
  EXPECT_EQ(platform::IniGet("Display", "Quoted", "", file.c_str()), "hello world");
  EXPECT_EQ(platform::IniGet("Display", "Quoted", "", file.c_str(), 6), "hello");

  // Lists longer than the first buffer are read whole.
  std::string big;
  for (int i = 0; i < 1500; ++i)
    big += "[Section number " + std::to_string(i) + "]\r\nk=v\r\n";
  std::string bigFile = dir / "big.ini";
  ASSERT_TRUE(WriteBytes(bigFile, big));
  V names = platform::IniSections(bigFile.c_str());
  ASSERT_EQ(names.size(), 1500u);
  EXPECT_EQ(names.back(), "Section number 1499");
}

TEST_F(IniTest, MissingFileAndFolderGiveTheDefault) {
  std::string missing = dir / "missing.ini";
  std::string noFolder = dir / "nofolder\\missing.ini";
  char buf[16];
  // A missing file reads as empty (quotes of the default removed); a missing
  // folder fails the open and the default is copied as given.
  EXPECT_EQ(platform::IniGetString("S", "k", "'q'", buf, sizeof buf, missing.c_str()), 1u);
  EXPECT_STREQ(buf, "q");
  EXPECT_EQ(platform::IniGetString("S", "k", "'q'", buf, sizeof buf, noFolder.c_str()), 3u);
  EXPECT_STREQ(buf, "'q'");
  EXPECT_EQ(platform::IniGetString(nullptr, nullptr, "", buf, sizeof buf, missing.c_str()), 0u);
  EXPECT_EQ(buf[0], '\0');
}

// Each write rewrites the file in the canonical CRLF form.
TEST(IniWrite, SequenceOfWritesGivesExactBytes) {
  TempDir dir;
  std::string file = dir / "Written.ini";
  struct Step {
    const char* section;
    const char* key;
    const char* value;
    const char* bytes;
  } steps[] = {
      {"Main", "Name", "Bob", "[Main]\r\nName=Bob\r\n"},
      {"Main", "Age", "  30", "[Main]\r\nName=Bob\r\nAge=30\r\n"},
      {"MAIN", " name ", "Alice", "[Main]\r\nName=Alice\r\nAge=30\r\n"},
      {"Other", "x", "1", "[Main]\r\nName=Alice\r\nAge=30\r\n[Other]\r\nx=1\r\n"},
      {"Main", "Age", nullptr, "[Main]\r\nName=Alice\r\n[Other]\r\nx=1\r\n"},
      {"main", "Missing", nullptr, "[Main]\r\nName=Alice\r\n[Other]\r\nx=1\r\n"},
      {"Other", nullptr, nullptr, "[Main]\r\nName=Alice\r\n"},
      {"Main", "Name", "Alice", "[Main]\r\nName=Alice\r\n"},
      {"Main", "Name", "", "[Main]\r\nName=\r\n"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(Show(s.section) + " " + Show(s.key) + " " + Show(s.value));
    EXPECT_TRUE(platform::IniWriteString(s.section, s.key, s.value, file.c_str()));
    EXPECT_EQ(ReadBytes(file), s.bytes);
  }
  EXPECT_EQ(platform::IniGet("main", "NAME", "d", file.c_str()), "");
}

TEST(IniWrite, RewritesExistingFilesInCanonicalForm) {
  TempDir dir;
  struct Case {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  } cases[] = {
      // Blanks around '=' and blank lines go; comments and lines without '=' stay.
      {"; header\n[A]\nk = v\n\n;c\nbare\n[B]\nx=1", "a", "new", "2",
       "; header\r\n[A]\r\nk=v\r\n;c\r\nbare\r\nnew=2\r\n[B]\r\nx=1\r\n"},
      // A key without '=' gets its value in place.
      {"[A]\nbare\nz=0\n", "A", "BARE", "1", "[A]\r\nbare=1\r\nz=0\r\n"},
      // Only the first of duplicate sections is deleted.
      {"[A]\nk=1\n[a]\nk=2\n", "A", nullptr, nullptr, "[a]\r\nk=2\r\n"},
      // A key is deleted from the first duplicate section that holds it.
      {"[A]\nj=1\n[a]\nk=2\n", "A", "k", nullptr, "[A]\r\nj=1\r\n[a]\r\n"},
      // New keys go after the last key of the first matching section.
      {"[A]\nj=1\n[B]\n[a]\n", "a", "k", "2", "[A]\r\nj=1\r\nk=2\r\n[B]\r\n[a]\r\n"},
      // A UTF-8 byte order mark is kept.
      {"\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k2", "w", "\xEF\xBB\xBF[S]\r\nk=v\r\nk2=w\r\n"},
  };
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    std::string file = dir / ("case" + std::to_string(i++) + ".ini");
    ASSERT_TRUE(WriteBytes(file, c.before));
    EXPECT_TRUE(platform::IniWriteString(c.section, c.key, c.value, file.c_str()));
    EXPECT_EQ(ReadBytes(file), c.after);
  }
}

TEST(IniWrite, CreatesFilesButNotFolders) {
  TempDir dir;
  std::string file = dir / "new.ini";
  // Deleting from a file that does not exist succeeds without creating it.
  EXPECT_TRUE(platform::IniWriteString("S", "k", nullptr, file.c_str()));
  EXPECT_TRUE(platform::IniWriteString("S", nullptr, nullptr, file.c_str()));
  EXPECT_FALSE(platform::FileExists(file.c_str()));
  std::string noFolder = dir / "nofolder\\new.ini";
  EXPECT_FALSE(platform::IniWriteString("S", "k", "v", noFolder.c_str()));
  EXPECT_FALSE(platform::FileExists(noFolder.c_str()));
  EXPECT_FALSE(platform::IniWriteString(nullptr, "k", "v", file.c_str()));
}

// The native build caches parsed files; neither its own writes nor another
// writer's (same size, same second) may leave stale values behind.
TEST(IniWrite, ReadsAfterChangesAreNeverStale) {
  TempDir dir;
  std::string file = dir / "cache.ini";
  ASSERT_TRUE(WriteBytes(file, "[S]\r\nk=Bob\r\n"));
  EXPECT_EQ(platform::IniGet("S", "k", "", file.c_str()), "Bob");
  ASSERT_TRUE(WriteBytes(file, "[S]\r\nk=Tom\r\n"));
  EXPECT_EQ(platform::IniGet("S", "k", "", file.c_str()), "Tom");
  for (int i = 0; i < 20; ++i) {
    std::string v = std::to_string(i);
    ASSERT_TRUE(platform::IniWriteString("S", "k", v.c_str(), file.c_str()));
    ASSERT_EQ(platform::IniGet("S", "k", "", file.c_str()), v);
    ASSERT_EQ(platform::IniGetInt("S", "k", -1, file.c_str()), i);
  }
}

}  // namespace
