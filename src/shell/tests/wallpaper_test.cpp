// A room's background choice from the wallpaper settings file and the
// gradient's colours.
#include "shell/wallpaper.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ini.h"
#include "temp_dir.h"

namespace {

using shell::ScreenBackground;

class WallpaperTest : public ::testing::Test {
 protected:
  std::string Ini() { return dir / "wallpaper.ini"; }
  void Put(const char* section, const char* key, const char* value) {
    platform::IniWriteString(section, key, value, Ini().c_str());
  }
  ScreenBackground Load(int room, bool bitmapBefore = true, const char* tile = nullptr) {
    ScreenBackground bg;
    bg.roomId = room;
    bg.bitmapMode = bitmapBefore;
    loaded = shell::LoadBackgroundSettings(tile, Ini().c_str(), "C:\\Game\\Data\\Wallpaper", &bg);
    return bg;
  }
  testsupport::TempDir dir;
  bool loaded = false;
};

TEST_F(WallpaperTest, RoomsWithoutASectionTakeTheirDefaultTile) {
  struct {
    int room;
    const char* path;
  } cases[] = {{0, "C:\\Game\\Data\\Wallpaper\\tile.bmp"},
               {1, "C:\\Game\\Data\\Wallpaper\\Standard.bmp"},
               {3, "C:\\Game\\Data\\Wallpaper\\Tile_TrainingMenu.bmp"},
               {4, "C:\\Game\\Data\\Wallpaper\\Tile_ReseauMenu.bmp"},
               {17, "C:\\Game\\Data\\Wallpaper\\Tile_EncyclopediaMenu.bmp"},
               {19, "C:\\Game\\Data\\Wallpaper\\tile.bmp"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.room);
    ScreenBackground bg = Load(c.room);
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(bg.bitmapMode);
    EXPECT_STREQ(bg.path, c.path);
    EXPECT_EQ(bg.colour1, 0u);
    EXPECT_EQ(bg.colour2, 0u);
  }
  // A room without a tile has nothing to show in bitmap mode.
  Load(5);
  EXPECT_FALSE(loaded);
}

TEST_F(WallpaperTest, OnlyRoomsWithAChoiceReadTheFileAndType) {
  for (const char* room : {"classroom", "anagramroom"}) {
    Put(room, "gradient", "ff 00ff00");
    Put(room, "WallpaperFile", "mine.bmp");
    Put(room, "WallpaperType", "gradient");
  }
  ScreenBackground training = Load(3);
  EXPECT_FALSE(training.bitmapMode);
  EXPECT_EQ(training.colour1, 0xFFu);
  EXPECT_EQ(training.colour2, 0xFF00u);
  // Another type's gradient room keeps its mode and its own tile.
  ScreenBackground anagram = Load(5, true, "own.bmp");
  EXPECT_TRUE(anagram.bitmapMode);
  EXPECT_STREQ(anagram.path, "C:\\Game\\Data\\Wallpaper\\own.bmp");
  EXPECT_EQ(anagram.colour2, 0xFF00u);
  Put("classroom", "WallpaperType", "bitmap");
  EXPECT_STREQ(Load(3).path, "C:\\Game\\Data\\Wallpaper\\mine.bmp");
  Put("classroom", "WallpaperFile", "D:\\Pictures\\felt.bmp");
  EXPECT_STREQ(Load(3).path, "D:\\Pictures\\felt.bmp");  // a full path as it stands
}

TEST(Wallpaper, GradientColoursAndTheirText) {
  uint32_t a = 7, b = 9;
  EXPECT_FALSE(shell::ParseGradientColours("12", &a, &b));
  EXPECT_EQ(a, 7u);
  EXPECT_FALSE(shell::ParseGradientColours("zz 1", &a, &b));
  EXPECT_TRUE(shell::ParseGradientColours(" 1a2b3c  ffffff", &a, &b));
  EXPECT_EQ(a, 0x1A2B3Cu);
  EXPECT_EQ(b, 0xFFFFFFu);
  // Row i of n: colour1 + MulDiv(i, colour2 - colour1, n) per channel.
  EXPECT_EQ(shell::GradientColour(0x000000, 0xFFFFFF, 0, 1), 0u);     // one row: colour 1
  EXPECT_EQ(shell::GradientColour(0x000000, 0x0000FF, 1, 2), 0x80u);  // 127.5 rounds up
  EXPECT_EQ(shell::GradientColour(0x0000FF, 0x000000, 1, 2), 0x7Fu);  // -127.5 rounds away
  EXPECT_EQ(shell::GradientColour(0x102030, 0x302010, 3, 4), 0x282018u);
  EXPECT_EQ(shell::GradientColour(0x123456, 0, 5, 0), 0x123456u);  // no rows
}

}  // namespace
