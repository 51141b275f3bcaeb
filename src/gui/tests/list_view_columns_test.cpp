#include "gui/list_view_columns.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gui/list_view_skin.h"

namespace gui {
namespace {

TEST(ListViewColumns, ColumnUnderXFollowsTheDisplayOrder) {
  // Three columns 50, 80, 30 wide; the last is shown first.
  HeaderItemLayout items[] = {{1, 50}, {2, 80}, {0, 30}};
  struct Case {
    int32_t x, position;
  } cases[] = {{0, 0}, {29, 0}, {30, 1}, {79, 1}, {80, 2}, {159, 2}, {160, -1}, {-5, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(ListViewColumnAtX(items, 3, c.x), c.position) << c.x;
  EXPECT_EQ(ListViewItemAtPosition(items, 3, 0), 2);
  EXPECT_EQ(ListViewItemAtPosition(items, 3, 3), -1);
  // Orders that name no item fall back to the item of that index.
  HeaderItemLayout odd[] = {{7, 10}, {7, 20}};
  EXPECT_EQ(ListViewItemAtPosition(odd, 2, 1), 1);
  EXPECT_EQ(ListViewColumnAtX(odd, 2, 25), 1);
  EXPECT_EQ(ListViewColumnAtX(nullptr, 0, 0), -1);
}

TEST(ListViewColumns, FormatsConvertBothWays) {
  struct Case {
    uint32_t column, header;
  } cases[] = {
      {0, 0},
      {kLvcfmtRight, kHdfRight},
      {kLvcfmtCenter, kHdfCenter},
      {kLvcfmtCenter | kLvcfmtRight, kHdfCenter},
      {kLvcfmtBitmapOnRight | kLvcfmtColHasImages, kHdfBitmapOnRight | kHdfImage},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ListViewHeaderFormat(c.column), c.header) << c.column;
    uint32_t back = c.column & kLvcfmtCenter ? (c.column & ~kLvcfmtRight) : c.column;
    EXPECT_EQ(ListViewColumnFormat(c.header, nullptr, false), back) << c.column;
  }
  ListViewColumn rec =
      ListViewColumnRecord(kLvcfFmt | kLvcfSubItem | kLvcfText, kLvcfmtImage | kLvcfmtRight, 4);
  EXPECT_EQ(rec.mask, kLvcfFmt | kLvcfSubItem);
  EXPECT_EQ(rec.format, kLvcfmtImage);
  EXPECT_EQ(ListViewColumnSubItem(rec), 4);
  EXPECT_EQ(ListViewColumnFormat(0, &rec, true), kLvcfmtImage);
  EXPECT_EQ(ListViewColumnFormat(0, &rec, false), 0u);
  ListViewColumn plain = ListViewColumnRecord(kLvcfText, 0, 9);
  plain.headerIndex = 2;
  EXPECT_EQ(ListViewColumnSubItem(plain), 2);
  EXPECT_EQ(ListViewHeaderMask(kLvcfText | kLvcfWidth | kLvcfSubItem), kHdiText | kHdiWidth);
}

TEST(ListViewColumns, WideTextsAreDrawnLeftWithTheirEllipsis) {
  EXPECT_EQ(ListViewTextFormat(40, 60, kHdfRight), kCellTextFormat | kDtRight);
  EXPECT_EQ(ListViewTextFormat(40, 60, kHdfCenter), kCellTextFormat | kDtCenter);
  EXPECT_EQ(ListViewTextFormat(61, 60, kHdfRight), kCellTextFormat);
  EXPECT_EQ(ListViewTextFormat(60, 60, 0), kCellTextFormat);
}

TEST(ListViewSkin, ColoursComeFromBothClassFilesInKeyOrder) {
  std::string dir = ::testing::TempDir();
  std::string rows = dir + "lv_rows.ini", header = dir + "lv_header.ini";
  FILE* f = std::fopen(rows.c_str(), "w");
  std::fputs("[colors]\nbackground_color=F6ECD4\nselected_text_color=1 2 3 RGB\n", f);
  std::fclose(f);
  f = std::fopen(header.c_str(), "w");
  std::fputs("[colors]\nheader_text_color=3B2412\n", f);
  std::fclose(f);
  GuiSkin skin{};
  skin.listViewColors[kLvText] = 0x123456;
  EXPECT_TRUE(GuiReadListViewIni(rows.c_str(), &skin));
  EXPECT_TRUE(GuiReadHeaderIni(header.c_str(), &skin));
  EXPECT_EQ(skin.listViewColors[kLvBackground], 0xD4ECF6u);  // red in the low byte
  EXPECT_EQ(skin.listViewColors[kLvSelectedText], 0x030201u);
  EXPECT_EQ(skin.listViewColors[kLvText], 0x123456u);  // missing keys keep their value
  EXPECT_EQ(skin.listViewColors[kHeaderText], 0x12243Bu);
  EXPECT_FALSE(GuiReadListViewIni((dir + "missing.ini").c_str(), &skin));
  std::remove(rows.c_str());
  std::remove(header.c_str());
}

TEST(ListViewSkin, TrackbarColoursComeFromItsClassFile) {
  std::string path = ::testing::TempDir() + "tb.ini";
  FILE* f = std::fopen(path.c_str(), "w");
  std::fputs("[colors]\ntrackbar_thumb_color=C8A050\ntrackbar_channel_bordercolor=010203\n", f);
  std::fclose(f);
  GuiSkin skin{};
  skin.trackbar.background = 0x445566;
  EXPECT_TRUE(GuiReadTrackbarIni(path.c_str(), &skin));
  EXPECT_EQ(skin.trackbar.thumb, 0x50A0C8u);
  EXPECT_EQ(skin.trackbar.channelFrame, 0x030201u);
  EXPECT_EQ(skin.trackbar.background, 0x445566u);  // missing keys keep their value
  EXPECT_FALSE(GuiReadTrackbarIni((::testing::TempDir() + "none.ini").c_str(), &skin));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace gui
