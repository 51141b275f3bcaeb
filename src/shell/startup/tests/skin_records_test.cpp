#include "shell/startup/skin_records.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gui/gui_core.h"
#include "gui/view_skin.h"
#include "platform/ini.h"
#include "temp_dir.h"

namespace {

class SkinRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Registry names upper-cased, as the description file's readers look
    // them up; the images need not exist for their ids.
    registry.LoadText(
        "THICK_TOP 1.bmp 501\nCHK_UP 2.bmp 502\nVTOP 3.bmp 503\nHTHUMB 4.bmp 504\n"
        "RAD_UP 5.bmp 505\nMID_UP 6.bmp 506\nRIGHT_DOWN 7.bmp 507\n",
        "");
  }
  std::string Path(const char* name) { return dir / name; }
  void Put(const char* file, const char* section, const char* key, const char* value) {
    platform::IniWriteString(section, key, value, Path(file).c_str());
  }
  testsupport::TempDir dir;
  gui::SkinRegistry registry;
};

TEST_F(SkinRecordsTest, FrameSkinReadsWhatExistsAndFallsBackForTheRest) {
  Put("skin.ini", "configuration files", "thick_frame", "thick.ini");
  Put("skin.ini", "configuration files", "menu", "none.ini");
  Put("skin.ini", "configuration files", "dialog_frame", "missing.ini");
  Put("thick.ini", "resources", "top_center_frame", "thick_top");
  Put("thick.ini", "colors", "active_caption_text_color", "FF0000");

  gui::GuiFrameSkin skin;
  gui::GuiBuildDefaultFrameSkin(&skin);
  // A pass before leaves values behind that a missing file must not keep.
  skin.groups[gui::kKindDialog].present = 1;
  skin.groups[gui::kKindDialog].imageIds[0] = 999;
  unsigned found = shell::FillFrameSkin(Path("skin.ini"), &registry, &skin);
  EXPECT_EQ(found, unsigned{shell::kThickBit});
  const gui::GuiFrameGroup& thick = skin.groups[gui::kKindThick];
  EXPECT_EQ(thick.present, 1);
  EXPECT_EQ(thick.imageIds[gui::kFrTop + 1], 501u);
  EXPECT_EQ(thick.captionColor[0], 0x0000FFu);
  EXPECT_EQ(skin.groups[gui::kKindDialog].present, 0);
  EXPECT_EQ(skin.groups[gui::kKindDialog].imageIds[0], 0u);
  EXPECT_STREQ(skin.menu.face, "CG Omega");
  EXPECT_EQ(skin.menu.points, 11);
  EXPECT_STREQ(skin.status.face, "CG Omega");
  EXPECT_EQ(skin.status.points, 10);

  gui::GuiFrameGroup app{};
  EXPECT_FALSE(shell::ReadAppFrameGroup(Path("skin.ini"), &registry, &app));
  EXPECT_EQ(app.imageIds[gui::kFrTop + 1], 501u);  // the thick frame stands in
  gui::GuiStatusGroup status = skin.status;
  EXPECT_FALSE(shell::ReadLobbyStatusGroup(Path("skin.ini"), &registry, &status));
  EXPECT_STREQ(status.face, "CG Omega");
}

TEST_F(SkinRecordsTest, ControlSkinMapsClassValuesAndBuiltInIds) {
  Put("skin.ini", "configuration files", "button", "button.ini");
  Put("skin.ini", "configuration files", "scroll", "scroll.ini");
  Put("button.ini", "resources", "check_up", "chk_up");
  Put("button.ini", "resources", "font_name", "Serif");
  Put("button.ini", "resources", "radio_up", "rad_up");
  Put("button.ini", "resources", "button_center_up", "mid_up");
  Put("button.ini", "resources", "button_right_down", "right_down");
  Put("button.ini", "colors", "text_color_up", "010203");
  Put("button.ini", "colors", "radio_text_color_disabled", "0A0B0C");
  Put("button.ini", "resources", "font_size", "9");
  Put("scroll.ini", "resources", "v_top_button_up", "vtop");
  Put("scroll.ini", "resources", "h_thumb_center_down", "hthumb");

  shell::SkinClassSet classes;
  classes.Load(Path("skin.ini"));
  gui::GuiSkin skin;
  std::memset(&skin, 0x5A, sizeof skin);
  shell::FillControlSkin(classes, &registry, "C:\\Game", nullptr, &skin);
  EXPECT_EQ(skin.imageSource, &registry);
  EXPECT_STREQ(skin.programFolder, "C:\\Game");
  EXPECT_STREQ(skin.button.face, "Serif");
  // Each image in its kind's slot by state, whatever the file's order.
  EXPECT_EQ(skin.button.imageIds[gui::kBtCheck], 502u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtCheck + 1], 0u);  // not named: none
  EXPECT_EQ(skin.button.imageIds[gui::kBtRadio], 505u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtMiddle], 506u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtRight + 1], 507u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtLeft], 0u);
  EXPECT_EQ(skin.button.textColors[0], 0x030201u);
  EXPECT_EQ(skin.button.radioColors[2], 0x0C0B0Au);
  EXPECT_EQ(skin.button.textOffsetX[1], 0);  // the file's, not the built-in 1
  EXPECT_EQ(skin.button.words[gui::kBtwPoints], 9);
  EXPECT_EQ(skin.button.words[gui::kBtwFontSlot], -1);
  EXPECT_EQ(skin.scroll.imageIds[0], 503u);
  EXPECT_EQ(skin.scroll.imageIds[22], 504u);
  EXPECT_EQ(skin.scroll.present, 1);
  // The edit control's own pieces whatever the skin; list colours built in.
  EXPECT_EQ(skin.editConfig.imageIds[8], 30390u);
  EXPECT_EQ(skin.editConfig.imageIds[9], 30395u);
  EXPECT_EQ(skin.list.colors[gui::kListBackground], shell::PaletteRgb(246, 236, 212));
  EXPECT_EQ(skin.list.colors[gui::kListText], shell::PaletteRgb(12, 11, 9));
  EXPECT_EQ(skin.tree.words[5], 3u);

  // Without a button file the built-in font and resource ids apply.
  Put("skin.ini", "configuration files", "button", nullptr);
  classes.Load(Path("skin.ini"));
  shell::FillControlSkin(classes, &registry, "", nullptr, &skin);
  EXPECT_STREQ(skin.button.face, "CG Omega");
  EXPECT_EQ(skin.button.imageIds[gui::kBtCheck], 30287u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtRadio], 30289u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtLeft], 30291u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtMiddle], 30292u);
  EXPECT_EQ(skin.button.imageIds[gui::kBtRight], 30293u);
  EXPECT_EQ(skin.button.textOffsetY[1], 1);  // pushed captions sink a pixel
}

TEST_F(SkinRecordsTest, ControlSkinTakesTheTrackbarColours) {
  Put("skin.ini", "configuration files", "track_bar", "track.ini");
  Put("track.ini", "colors", "trackbar_thumb_color", "C8A050");
  Put("track.ini", "colors", "trackbar_channel_bordercolor", "010203");
  shell::SkinClassSet classes;
  classes.Load(Path("skin.ini"));
  gui::GuiSkin skin{};
  shell::FillControlSkin(classes, &registry, "", nullptr, &skin);
  EXPECT_EQ(skin.trackbar.thumb, 0x50A0C8u);
  EXPECT_EQ(skin.trackbar.channelFrame, 0x030201u);
}

}  // namespace
