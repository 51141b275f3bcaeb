#include "shell/skin_classes.h"

#include <gtest/gtest.h>

#include "platform/ini.h"
#include "platform/path.h"
#include "temp_dir.h"

namespace {

TEST(SkinColour, Parsing) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t colour;
  } cases[] = {
      {"FF0000", true, 0x0000FF},
      {"ff0000", true, 0x0000FF},
      {"00FF00", true, 0x00FF00},
      {"0000FF", true, 0xFF0000},
      {"123456", true, 0x563412},
      {"0", true, 0},
      {"255 0 0 RGB", true, 0x0000FF},
      {"0 0 255RGB", true, 0xFF0000},
      {"10 20 30 RGB", true, 0x1E140A},
      {"RGB 1 2 3", false, 0},
      {"256 0 0 RGB", false, 0},
      {"1 2 RGB", false, 0},
      {"1000000", false, 0},
      {"zz", false, 0},
      {"", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t v = 0xDEADBEEF;
    EXPECT_EQ(shell::ParseSkinColour(c.text, &v), c.ok) << c.text;
    EXPECT_EQ(v, c.ok ? c.colour : 0xDEADBEEF) << c.text;
  }
  EXPECT_EQ(shell::FontStyleWeight("bold"), 600);
  EXPECT_EQ(shell::FontStyleWeight("normal"), 400);
  EXPECT_EQ(shell::FontStyleWeight("Bold"), 0);
}

class SkinClassTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) { return dir / name; }
  void Put(const char* file, const char* section, const char* key, const char* value) {
    platform::IniWriteString(section, key, value, Path(file).c_str());
  }
  testsupport::TempDir dir;
};

TEST_F(SkinClassTest, FileValuesMissingKeysAndFallbacks) {
  const shell::SkinClassSpec* button = shell::FindSkinClassSpec("button");
  ASSERT_NE(button, nullptr);
  Put("button.ini", "resources", "check_up", "chk_up");
  Put("button.ini", "resources", "font_name", "Serif");
  Put("button.ini", "resources", "font_size", "11");
  Put("button.ini", "resources", "font_style", "bold");
  Put("button.ini", "colors", "text_color_up", "255 0 0 RGB");
  Put("button.ini", "colors", "text_color_down", "RGB(1,2,3)");
  Put("button.ini", "dimensions", "text_offset_x_down", "3");

  shell::SkinClassValues v;
  ASSERT_TRUE(shell::ReadSkinClass(*button, Path("button.ini"), &v));
  EXPECT_TRUE(v.fromFile);
  EXPECT_EQ(v.Name("check_up"), "chk_up");
  EXPECT_EQ(v.BitmapPath("check_up"), Path("chk_up.bmp"));
  EXPECT_EQ(v.Value("check_up"), 0u);  // named in the file: no resource id
  EXPECT_EQ(v.BitmapPath("radio_up"), "");
  EXPECT_EQ(v.Name("font_name"), "Serif");
  EXPECT_EQ(v.Value("font_size"), 11u);
  EXPECT_EQ(v.Value("font_style"), 600u);
  EXPECT_EQ(v.Value("text_color_up"), 0x0000FFu);
  // A malformed RGB keeps the built-in colour; a missing key is black.
  EXPECT_EQ(v.Value("text_color_down"), shell::PaletteRgb(12, 11, 9));
  EXPECT_EQ(v.Value("text_color_disabled"), 0u);
  EXPECT_EQ(v.Value("text_offset_x_down"), 3u);
  EXPECT_EQ(v.Value("text_offset_y_down"), 0u);
  EXPECT_EQ(v.Value("no_such_key"), 0u);

  // No file: every value built in.
  ASSERT_FALSE(shell::ReadSkinClass(*button, Path("missing.ini"), &v));
  EXPECT_FALSE(v.fromFile);
  EXPECT_EQ(v.Value("check_up"), 30287u);
  EXPECT_EQ(v.Name("check_up"), "");
  EXPECT_EQ(v.BitmapPath("check_up"), "");
  EXPECT_EQ(v.Name("font_name"), "CG Omega");
  EXPECT_EQ(v.Value("font_size"), 16u);
  EXPECT_EQ(v.Value("text_offset_x_down"), 1u);
  EXPECT_FALSE(shell::ReadSkinClass(*button, "", &v));
}

TEST_F(SkinClassTest, SetSkipsSharedColoursWithoutStaticButLoadsTheRest) {
  Put("skin.ini", "configuration files", "global", "global.ini");
  Put("skin.ini", "configuration files", "button", "button.ini");
  Put("skin.ini", "configuration files", "scroll", "none.ini");
  Put("global.ini", "colors", "border_color1", "010203");
  Put("global.ini", "resources", "face_mask0", "m0");
  Put("global.ini", "resources", "face_mask_alpha0", "a0");
  Put("global.ini", "resources", "face_mask1", "m1");
  Put("button.ini", "colors", "group_border_color", "0000FF");

  shell::SkinClassSet set;
  EXPECT_EQ(set.Load(Path("skin.ini")), 1);
  const shell::SkinClassValues* global = set.Find("global");
  ASSERT_NE(global, nullptr);
  EXPECT_FALSE(global->fromFile);
  EXPECT_EQ(global->Value("border_color1"), shell::PaletteRgb(214, 170, 120));
  EXPECT_TRUE(set.Find("button")->fromFile);
  EXPECT_EQ(set.Find("button")->Value("group_border_color"), 0xFF0000u);
  EXPECT_FALSE(set.Find("scroll")->fromFile);
  EXPECT_EQ(set.Find("no_class"), nullptr);

  Put("skin.ini", "configuration files", "static", "static.ini");
  Put("static.ini", "colors", "text_color", "102030");
  EXPECT_EQ(set.Load(Path("skin.ini")), 3);
  global = set.Find("global");
  EXPECT_TRUE(global->fromFile);
  EXPECT_EQ(global->Value("border_color1"), 0x030201u);
  EXPECT_EQ(global->faceMasks, (std::vector<std::string>{"m0", "m1"}));
  EXPECT_EQ(global->faceMaskAlphas, (std::vector<std::string>{"a0", ""}));
}

TEST(SkinClassTables, EveryClassHasUniqueKeysAndFontsHaveFaces) {
  for (size_t i = 0; i < shell::kSkinClassSpecCount; ++i) {
    const shell::SkinClassSpec& s = shell::kSkinClassSpecs[i];
    for (size_t a = 0; a < s.count; ++a) {
      for (size_t b = a + 1; b < s.count; ++b)
        EXPECT_STRNE(s.values[a].key, s.values[b].key) << s.configKey;
      if (s.values[a].kind == shell::SkinValueKind::kFontName) {
        EXPECT_NE(s.values[a].fallbackText, nullptr) << s.configKey;
      }
    }
  }
}

}  // namespace
