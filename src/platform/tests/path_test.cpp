// The file layer: Windows-style paths (backslashes, any case) reach the same
// files in both builds, FindFiles matches like FindFirstFile, and
// WriteFileAtomic never loses the previous file.
#include "platform/path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_dir.h"

using platform::JoinPath;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::vector<std::string> Names(const std::vector<platform::FindEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries)
    out.push_back(e.name);
  return out;
}

// <tmp>\Data\Users\Bob.INI written with its real spelling.
class PathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::MakeDirectory(data.c_str()));
    ASSERT_TRUE(platform::MakeDirectory(users.c_str()));
    ASSERT_TRUE(WriteBytes(dir / "Data/Users/Bob.INI", "profile"));
  }

  TempDir dir;
  std::string data = JoinPath(dir.path(), "Data");
  std::string users = JoinPath(data, "Users");
};

TEST_F(PathTest, AnyCaseAndBackslashesReachTheSameFile) {
  std::string other = JoinPath(dir.path(), "DATA\\users\\bob.ini");
  EXPECT_TRUE(platform::FileExists(other.c_str()));
  EXPECT_FALSE(platform::DirectoryExists(other.c_str()));
  EXPECT_TRUE(platform::DirectoryExists(JoinPath(dir.path(), "data\\USERS").c_str()));
  EXPECT_FALSE(platform::FileExists(JoinPath(dir.path(), "data\\USERS").c_str()));

  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(other.c_str(), bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "profile");

  // Writing through another spelling replaces the file rather than adding one.
  FILE* f = platform::OpenFile(JoinPath(dir.path(), "data\\Users\\BOB.ini").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("changed", f);
  std::fclose(f);
  EXPECT_EQ(Names(platform::FindFiles(JoinPath(users, "*.ini").c_str())),
            std::vector<std::string>{"Bob.INI"});
  EXPECT_EQ(ReadBytes(dir / "Data/Users/Bob.INI"), "changed");
}

TEST_F(PathTest, NewComponentsKeepTheirSpelling) {
  // Existing components take the disk's spelling, new ones stay as written.
  std::string made = JoinPath(dir.path(), "DATA\\NewFolder");
  ASSERT_TRUE(platform::MakeDirectory(made.c_str()));
  EXPECT_TRUE(platform::MakeDirectory(made.c_str()));  // already there
  EXPECT_EQ(Names(platform::FindFiles(JoinPath(data, "n*").c_str())),
            std::vector<std::string>{"NewFolder"});
  EXPECT_FALSE(platform::MakeDirectory(JoinPath(dir.path(), "No\\Such\\Folder").c_str()));
#ifndef _WIN32
  EXPECT_EQ(platform::NativePath(JoinPath(dir.path(), "data\\users\\bob.ini\\x").c_str()),
            dir.path() + "/Data/Users/Bob.INI/x");
  EXPECT_EQ(platform::NativePath("relative\\Name.TXT"), "relative/Name.TXT");
#endif
}

TEST_F(PathTest, RenameReplaceAndRemove) {
  std::string a = JoinPath(users, "a.tmp");
  std::string bob = JoinPath(users, "BOB.ini");
  ASSERT_TRUE(WriteBytes(dir / "Data/Users/a.tmp", "new"));
  ASSERT_TRUE(platform::RenameReplace(a.c_str(), bob.c_str()));
  EXPECT_FALSE(platform::FileExists(a.c_str()));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(bob.c_str(), bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
  EXPECT_FALSE(platform::RenameReplace(a.c_str(), bob.c_str()));
  EXPECT_TRUE(platform::RemoveFile(bob.c_str()));
  EXPECT_FALSE(platform::RemoveFile(bob.c_str()));
  EXPECT_FALSE(platform::ReadWholeFile(bob.c_str(), bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(PathTest, WriteFileAtomicReplacesOrKeepsTheOldFile) {
  std::string target = JoinPath(users, "bob.ini");
  const std::string big(200000, 'x');
  ASSERT_TRUE(platform::WriteFileAtomic(target.c_str(), big.data(), big.size()));
  EXPECT_EQ(ReadBytes(dir / "Data/Users/Bob.INI"), big);
  ASSERT_TRUE(platform::WriteFileAtomic(target.c_str(), "", 0));
  EXPECT_EQ(ReadBytes(dir / "Data/Users/Bob.INI"), "");
  ASSERT_TRUE(platform::WriteFileAtomic(target.c_str(), "v2", 2));

  // The temporary file cannot be created (a folder holds its name): the
  // write fails and the previous contents stay.
  ASSERT_TRUE(platform::MakeDirectory(JoinPath(users, "Bob.INI.tmp").c_str()));
  EXPECT_FALSE(platform::WriteFileAtomic(target.c_str(), "v3", 2));
  EXPECT_EQ(ReadBytes(dir / "Data/Users/Bob.INI"), "v2");

  // The target is a folder: the rename fails and the temporary file goes.
  std::string folder = JoinPath(users, "Sub");
  ASSERT_TRUE(platform::MakeDirectory(folder.c_str()));
  EXPECT_FALSE(platform::WriteFileAtomic(folder.c_str(), "v", 1));
  EXPECT_TRUE(platform::DirectoryExists(folder.c_str()));
  EXPECT_FALSE(platform::FileExists(JoinPath(users, "Sub.tmp").c_str()));

  EXPECT_FALSE(platform::WriteFileAtomic(JoinPath(dir.path(), "none\\x.bin").c_str(), "v", 1));
}

TEST(FindFiles, PatternTable) {
  TempDir dir;
  for (const char* name : {"alpha.txt", "Beta.TXT", "gamma.dat", "README", "a1.txt", "ab.txt"})
    ASSERT_TRUE(WriteBytes(dir / name, std::string(5, 'x')));
  ASSERT_TRUE(platform::MakeDirectory(JoinPath(dir.path(), "Sub").c_str()));
  using V = std::vector<std::string>;
  const V all = {".",        "..",        "a1.txt", "ab.txt", "alpha.txt",
                 "Beta.TXT", "gamma.dat", "README", "Sub"};
  struct Case {
    const char* pattern;
    V expect;
  } cases[] = {
      {"*", all},
      {"*.*", all},
      {"*.txt", {"a1.txt", "ab.txt", "alpha.txt", "Beta.TXT"}},
      {"A?.TXT", {"a1.txt", "ab.txt"}},
      {"a*", {"a1.txt", "ab.txt", "alpha.txt"}},
      {"*A*.*T", {"a1.txt", "ab.txt", "alpha.txt", "Beta.TXT", "gamma.dat"}},
      {"readme", {"README"}},
      {"????", {}},
      {"sub", {"Sub"}},
      {"nomatch*", {}},
      // Trailing dots and stars may match nothing, as in DOS.
      {"README.*", {"README"}},
      {"*.", all},
      {"alpha.txt.*", {"alpha.txt"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Names(platform::FindFiles(JoinPath(dir.path(), c.pattern).c_str())), c.expect)
        << c.pattern;

  for (const auto& e : platform::FindFiles(JoinPath(dir.path(), "*").c_str())) {
    bool folder = e.name == "." || e.name == ".." || e.name == "Sub";
    EXPECT_EQ(e.isDirectory, folder) << e.name;
    EXPECT_EQ(e.size, folder ? 0u : 5u) << e.name;
  }
  EXPECT_TRUE(platform::FindFiles(JoinPath(dir.path(), "Missing\\*").c_str()).empty());
}

// Readers must refuse a directory or a planted huge file from its kind and
// size, before allocating or reading anything.
TEST(BoundedRead, RefusesDirectoriesAndOversizedFilesBeforeReading) {
  TempDir dir;
  const std::string huge = dir / "huge.bin";
  ASSERT_TRUE(testsupport::MakeHugeFile(huge, 3ull << 30));
  ASSERT_TRUE(WriteBytes(dir / "small.bin", "abcdef"));
  ASSERT_TRUE(platform::MakeDirectory((dir / "folder.bin").c_str()));
  using platform::ReadStatus;
  struct Case {
    const char* name;
    uint64_t bound;
    ReadStatus status;
    size_t size;
  };
  const Case cases[] = {
      {"huge.bin", 1 << 20, ReadStatus::kTooLarge, 0},
      {"folder.bin", 1 << 20, ReadStatus::kNotAFile, 0},
      {"missing.bin", 1 << 20, ReadStatus::kCannotOpen, 0},
      {"small.bin", 6, ReadStatus::kOk, 6},
      {"small.bin", 5, ReadStatus::kTooLarge, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out{1, 2, 3};
    EXPECT_EQ(platform::ReadFileBounded((dir / c.name).c_str(), c.bound, out), c.status) << c.name;
    EXPECT_EQ(out.size(), c.size) << c.name;
  }
  EXPECT_STREQ(platform::ReadStatusText(ReadStatus::kNotAFile), "not a file");

  // The head of a huge file is read without the rest; a folder is no file.
  std::vector<uint8_t> head;
  EXPECT_EQ(platform::ReadFileHead(huge.c_str(), 16, head), ReadStatus::kOk);
  EXPECT_EQ(head, std::vector<uint8_t>(16, 0));
  EXPECT_EQ(platform::ReadFileHead((dir / "small.bin").c_str(), 16, head), ReadStatus::kOk);
  EXPECT_EQ(head.size(), 6u);
  EXPECT_EQ(platform::ReadFileHead((dir / "folder.bin").c_str(), 16, head), ReadStatus::kNotAFile);
  EXPECT_FALSE(platform::ReadWholeFile((dir / "folder.bin").c_str(), head));
}

TEST(JoinPath, UsesABackslash) {
  EXPECT_EQ(JoinPath("C:\\Game", "tessarin.ini"), "C:\\Game\\tessarin.ini");
  EXPECT_EQ(JoinPath("C:\\", "tessarin.ini"), "C:\\\\tessarin.ini");
}

}  // namespace
