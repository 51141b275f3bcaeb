// GUIDs, the date-time stamp and the removal of brace groups.
#include "shell/shell_utils.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

TEST(ShellUtils, GuidsAreNewAndNeverSameWhenNull) {
  uint8_t a[16], b[16];
  ASSERT_TRUE(shell::NewGuid(a));
  ASSERT_TRUE(shell::NewGuid(b));
  EXPECT_FALSE(shell::NewGuid(nullptr));
  EXPECT_TRUE(shell::IsSameGuid(a, a));
  EXPECT_FALSE(shell::IsSameGuid(a, b));
  uint8_t zero[16] = {};
  EXPECT_FALSE(shell::IsSameGuid(zero, zero));
  EXPECT_FALSE(shell::IsSameGuid(a, zero));
  EXPECT_FALSE(shell::IsSameGuid(nullptr, a));
}

TEST(ShellUtils, DateTimeStringIsDateBlankTime) {
  std::string s = shell::GetDateTimeString();
  ASSERT_EQ(s.size(), 17u) << s;  // MM/DD/YY HH:MM:SS
  const char* shape = "00/00/00 00:00:00";
  for (size_t i = 0; i < s.size(); ++i) {
    if (shape[i] == '0')
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(s[i]))) << s;
    else
      EXPECT_EQ(s[i], shape[i]) << s;
  }
  EXPECT_EQ(shell::GetDateTimeString(), shell::GetDateTimeString());  // one static buffer
}

TEST(ShellUtils, StripBracedText) {
  const struct {
    const char* in;
    const char* out;
    int removed;
  } cases[] = {
      {"a{b{c}d}e", "ae", 1},
      {"{}", "", 1},
      {"plain text", "plain text", 0},
      {"x{y", "x", 1},
      {"a}b", "a}b", 0},
      {"{one} and {two}", " and ", 1},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    char target[32];
    std::memset(target, 'Z', sizeof target);
    EXPECT_EQ(shell::StripBracedText(c.in, target, sizeof target), c.removed) << c.in;
    EXPECT_STREQ(target, c.out) << c.in;
  }
  char small[4];
  EXPECT_EQ(shell::StripBracedText("abcdef{g}", small, sizeof small), 1);
  EXPECT_STREQ(small, "abc");  // bounded and terminated
  EXPECT_EQ(shell::StripBracedText(nullptr, small, sizeof small), 0);
  EXPECT_EQ(shell::StripBracedText("a", nullptr, 4), 0);
}

}  // namespace
