// Name checks, files read as a group, and the text-fit, page and scrolling
// arithmetic.
#include "shell/file_utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/path.h"
#include "temp_dir.h"

namespace {

TEST(FileUtils, ReservedAndValidNames) {
  const std::pair<const char*, bool> reserved[] = {
      {"com1.txt", true}, {"Clock$", true},   {"COM10", false}, {"lpt9", true},
      {"nul.a.b", true},  {"CONSOLE", false}, {"Ann", false},   {"", false},
  };
  for (const auto& c : reserved)
    EXPECT_EQ(shell::IsReservedDeviceName(c.first), c.second) << c.first;
  EXPECT_FALSE(shell::IsValidFileName("a:b"));
  EXPECT_FALSE(shell::IsValidFileName("what?"));
  EXPECT_FALSE(shell::IsValidFileName("prn"));
  EXPECT_TRUE(shell::IsValidFileName("Ann Smith.usr"));
}

TEST(FileUtils, PageArithmetic) {
  EXPECT_EQ(shell::PageOfIndex(25, 10, 0), 2);
  EXPECT_EQ(shell::PageOfIndex(5, 10, 10), 0);
  EXPECT_EQ(shell::PageOfIndex(5, 10, 7), 1);
  EXPECT_EQ(shell::PageOfIndex(-1, 10, 0), 0);
  EXPECT_EQ(shell::PageOfIndex(5, 0, 0), 0);  // no division by zero
}

TEST(FileUtils, FitTextLength) {
  auto eightPixels = [](const char*, size_t n) { return static_cast<int>(n) * 8; };
  EXPECT_EQ(shell::FitTextLength("abcdef", 20, eightPixels), 3u);  // 24 > 20 at 3
  EXPECT_EQ(shell::FitTextLength("abc", 100, eightPixels), 3u);
  EXPECT_EQ(shell::FitTextLength("", 0, eightPixels), 0u);
}

TEST(FileUtils, TopIndexForItem) {
  // 10 items, rows of 16 pixels in a 64-pixel list: four visible rows.
  EXPECT_EQ(shell::TopIndexForItem(10, 5, 2, 64, 16), 2);  // above: becomes the top
  EXPECT_EQ(shell::TopIndexForItem(10, 2, 4, 64, 16), 2);  // visible: no change
  EXPECT_EQ(shell::TopIndexForItem(10, 2, 8, 64, 16), 5);  // below: the last visible row
  EXPECT_EQ(shell::TopIndexForItem(10, 0, 10, 64, 16), -1);
  EXPECT_EQ(shell::TopIndexForItem(10, 0, 3, 8, 16), 3);  // at least one row
}

TEST(FileUtils, LoadMatchingFilesSortsByText) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir / "b.txt", "zebra");
  testsupport::WriteBytes(dir / "a.txt", "mango and more");
  testsupport::WriteBytes(dir / "c.dat", "apple");
  std::string pattern = platform::JoinPath(dir.path(), "*.txt");
  auto files = shell::LoadMatchingFiles(pattern.c_str(), 5);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_STREQ(reinterpret_cast<const char*>(files[0].data()), "mango");  // cut at 5 bytes
  EXPECT_STREQ(reinterpret_cast<const char*>(files[1].data()), "zebra");
  std::string found = shell::FindFileByHeader(pattern.c_str(), "zeb", 3);
  EXPECT_NE(found.find("b.txt"), std::string::npos);
  EXPECT_EQ(shell::FindFileByHeader(pattern.c_str(), "apple", 5), "");
}

}  // namespace
