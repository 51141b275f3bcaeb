#include "gui/skin_registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gui/gui_memory.h"
#include "platform/path.h"

namespace gui {
namespace {

// Writes a w x 1 24-bit bitmap file.
void WriteBmp(const std::string& path, int w) {
  PackedDIB* d = DIBCreate(w, 1, 24);
  size_t size = 0;
  uint8_t* image = DIBToFileImage(d, &size);
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(image, 1, size, f);
  std::fclose(f);
  GlobalFreePtr(image);
  GlobalFreePtr(d);
}

int g_handles = 0;
void* FakeLoad(const char*) { return reinterpret_cast<void*>(static_cast<uintptr_t>(++g_handles)); }
void FakeDelete(void*) { --g_handles; }

struct SkinRegistryTest : ::testing::Test {
  std::string dir = std::string(TESS_BUILD_DIR) + "/gui_skin_registry_test/";
  void SetUp() override {
    ASSERT_TRUE(platform::MakeDirectory(dir.c_str()));
    WriteBmp(dir + "one.bmp", 1);
    WriteBmp(dir + "two.bmp", 2);
    SetSkinHandleFunctions(FakeLoad, FakeDelete);
  }
  void TearDown() override { SetSkinHandleFunctions(nullptr, nullptr); }
  std::string Describe(const std::string& text) {
    std::string path = dir + "skin.txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs(text.c_str(), f);
    std::fclose(f);
    return path;
  }
};

int WidthOf(void* image) { return image ? static_cast<PackedDIB*>(image)->biWidth : -1; }

TEST_F(SkinRegistryTest, FindsByUpperCasedNameAndById) {
  SkinRegistry* r = SkinRegistryCreate(
      Describe("CAPTION one.bmp 30\n lower two.bmp 31\nMISSING nothere.bmp 32\n").c_str());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(WidthOf(SkinRegistryFind(r, "caption")), 1);
  EXPECT_EQ(SkinRegistryFind(r, "lower"), nullptr);  // stored in lower case: never found
  EXPECT_EQ(WidthOf(SkinRegistryFindId(r, 31)), 2);
  EXPECT_EQ(SkinRegistryFind(r, "missing"), nullptr);
  EXPECT_EQ(SkinRegistryFindId(r, 32), nullptr);
  EXPECT_EQ(SkinRegistryFindId(r, 99), nullptr);
  EXPECT_EQ(SkinRegistryFind(nullptr, "CAPTION"), nullptr);
  SkinRegistryDestroy(r);
}

TEST_F(SkinRegistryTest, FirstImageOfANameOrIdWins) {
  SkinRegistry* r =
      SkinRegistryCreate(Describe("A one.bmp 5\nB two.bmp 5\nA two.bmp 6\nC two.bmp 0").c_str());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(WidthOf(SkinRegistryFindId(r, 5)), 1);
  EXPECT_EQ(WidthOf(SkinRegistryFind(r, "B")), 2);
  EXPECT_EQ(WidthOf(SkinRegistryFind(r, "A")), 1);
  EXPECT_EQ(WidthOf(SkinRegistryFindId(r, 6)), 2);  // its own image, freed once
  EXPECT_EQ(WidthOf(SkinRegistryFind(r, "C")), 2);
  EXPECT_EQ(SkinRegistryFindId(r, 0), nullptr);  // id 0: by name only
  SkinRegistryDestroy(r);
}

TEST_F(SkinRegistryTest, HandleImagesAreReleasedByTheRegistry) {
  SkinRegistry* r = SkinRegistryCreate(Describe("!BACK one.bmp 0\nTILE one.bmp 7").c_str());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(g_handles, 1);
  EXPECT_NE(SkinRegistryFind(r, "!back"), nullptr);
  EXPECT_EQ(SkinRegistryFindDIB(r, "!back"), nullptr);  // a handle is not a packed DIB
  EXPECT_EQ(WidthOf(SkinRegistryFindIdDIB(r, 7)), 1);
  SkinRegistryDestroy(r);
  EXPECT_EQ(g_handles, 0);
}

TEST_F(SkinRegistryTest, PartialLastTripleAndLongTokens) {
  std::string longName(600, 'X');
  SkinRegistry* r = SkinRegistryCreate(
      Describe("FIRST one.bmp 1\n" + longName + " two.bmp 2\nLAST two.bmp").c_str());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->nameCount(), 2u);
  EXPECT_EQ(WidthOf(SkinRegistryFind(r, std::string(kSkinTokenMax, 'X').c_str())), 2);
  EXPECT_EQ(SkinRegistryFind(r, "LAST"), nullptr);
  EXPECT_TRUE(r->loaded());
  SkinRegistryDestroy(r);
  EXPECT_EQ(SkinRegistryCreate((dir + "absent.txt").c_str()), nullptr);
}

}  // namespace
}  // namespace gui
