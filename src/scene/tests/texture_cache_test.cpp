#include "scene/texture_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace scene;

namespace {

std::vector<std::string> g_loads;

std::shared_ptr<void> FakeLoad(const std::string& path) {
  g_loads.push_back(path);
  if (path.find("missing") != std::string::npos) return nullptr;
  return std::make_shared<std::string>(path);
}

TEST(TextureCacheTest, KeyIgnoresCaseAndSlashDirection) {
  EXPECT_EQ(TextureKey("Data\\Board.tga"), TextureKey("DATA/BOARD.TGA"));
  EXPECT_NE(TextureKey("board.tga"), TextureKey("board2.tga"));
  EXPECT_EQ(TextureKey(""), 0xFFFFFFFFu);
}

TEST(TextureCacheTest, EachFileIsLoadedOnceAndFailuresAreNotKept) {
  g_loads.clear();
  TextureCache cache(&FakeLoad);
  ASSERT_TRUE(cache.SetFolder("C:\\T\\Standard"));
  auto a = cache.Get("Board.tga");
  auto b = cache.Get("BOARD.TGA");
  auto c = cache.Get("C:/T/standard/board.tga");  // a name with a folder is not prefixed
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(g_loads, std::vector<std::string>{"C:\\T\\Standard\\Board.tga"});
  EXPECT_EQ(cache.Get("missing.tga"), nullptr);
  EXPECT_EQ(cache.Get("missing.tga"), nullptr);
  EXPECT_EQ(g_loads.size(), 3u);
  EXPECT_EQ(cache.Size(), 1u);
  EXPECT_TRUE(cache.Remove(a));
  EXPECT_FALSE(cache.Remove(a));
  EXPECT_NE(a, nullptr);  // the holder keeps its texture
  EXPECT_FALSE(cache.SetFolder(std::string(kMaxTextureFolder, 'x')));
  EXPECT_EQ(cache.Folder(), "C:\\T\\Standard");
}

}  // namespace
