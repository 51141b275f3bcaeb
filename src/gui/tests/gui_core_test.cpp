// Process table, skin records, font table and caption markup.
#include "gui/gui_core.h"

#include <gtest/gtest.h>

namespace gui {
namespace {

int g_fonts = 0;
GuiHandle FakeCreate(const char*, int32_t points, int32_t, int32_t, int32_t) {
  ++g_fonts;
  return reinterpret_cast<GuiHandle>(static_cast<uintptr_t>(0x1000 + points));
}
void FakeDelete(GuiHandle) { --g_fonts; }

struct GuiCoreTest : ::testing::Test {
  void SetUp() override { SetGuiFontFunctions(FakeCreate, FakeDelete); }
  void TearDown() override {
    GuiDeleteFonts();
    GuiFreeProcessSlot(GuiCurrentProcessId(), kSlotFonts);
    GuiFreeFrameSkin();
    SetGuiFontFunctions(nullptr, nullptr);
    EXPECT_EQ(g_fonts, 0);
  }
};

TEST_F(GuiCoreTest, AFifthProcessGetsNoRow) {
  int dummy = 0;
  for (uint32_t pid = 9001; pid < 9005; ++pid)
    EXPECT_GE(GuiAddProcessRow(pid, kSlotFonts, &dummy, sizeof dummy), 0);
  EXPECT_EQ(GuiAddProcessRow(9005, kSlotFonts, &dummy, sizeof dummy), -1);
  EXPECT_EQ(GuiInitFontTable(), 0);  // this process is the fifth too
  EXPECT_EQ(GuiGetFrameSkin(), nullptr);
  EXPECT_EQ(GuiSetProcessSlot(9001, 3, &dummy, sizeof dummy), 0);
  for (uint32_t pid = 9001; pid < 9005; ++pid)
    GuiFreeProcessSlot(pid, kSlotFonts);
  EXPECT_EQ(GuiAddProcessRow(9005, kSlotFonts, &dummy, sizeof dummy), 0);  // rows released
  GuiFreeProcessSlot(9005, kSlotFonts);
  EXPECT_EQ(GuiFreeProcessSlot(9005, kSlotFonts), -1);
}

TEST_F(GuiCoreTest, OversizedRecordsAreRefused) {
  GuiInitFontTable();
  char big[sizeof(GuiFontTable) + 64] = {};
  EXPECT_EQ(GuiSetProcessSlot(GuiCurrentProcessId(), kSlotFonts, big, sizeof big), 0);
}

TEST_F(GuiCoreTest, FreeingTheFrameSkinDropsTheWidgetSkin) {
  EXPECT_EQ(GuiInitDefaultFrameSkin(), 1);
  EXPECT_EQ(GuiInitDefaultSkin(42), 1);
  GuiSkin* skin = GuiGetSkin();
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->appValue, 42u);
  EXPECT_STREQ(skin->button.face, "Courier New");
  EXPECT_EQ(skin->scroll.imageIds[20], 39u);
  EXPECT_EQ(skin->tree.words[9], 0xFFFFFFu);
  EXPECT_EQ(GuiGetFrameSkin()->sizeValue, 8);
  GuiFrameSkin* frame = GuiGetFrameSkin();
  frame->popupPool = GuiListCreate(0);
  EXPECT_EQ(GuiFreeFrameSkin(), 1);
  EXPECT_EQ(GuiGetSkin(), nullptr);
  EXPECT_EQ(GuiFreeSkin(), 0);
  EXPECT_EQ(GuiFreeFrameSkin(), 0);
}

TEST_F(GuiCoreTest, ApplyingResolvesIdsToBorrowedImages) {
  SkinRegistry registry;
  registry.LoadText("", "");
  GuiFrameSkin skin;
  GuiBuildDefaultFrameSkin(&skin);
  skin.imageSource = &registry;
  skin.groups[kKindDialog].present = 1;
  skin.groups[kKindDialog].imageSource = &registry;
  skin.groups[kKindDialog].imageIds[kFrClose] = 77;  // unknown id: no image
  skin.menu.present = 1;
  std::snprintf(skin.menu.face, sizeof skin.menu.face, "%s", "Face");
  skin.menu.points = 11;
  EXPECT_EQ(GuiApplyFrameSkin(0, &skin), 1);
  GuiFrameSkin* installed = GuiGetFrameSkin();
  EXPECT_EQ(installed->groups[kKindDialog].loaded, 1);
  EXPECT_EQ(installed->groups[kKindDialog].images[kFrClose], nullptr);
  EXPECT_EQ(installed->groups[kKindThick].loaded, 0);  // not present: left alone
  EXPECT_EQ(installed->menu.font, FakeCreate(nullptr, 11, 0, 0, 0));
  --g_fonts;  // the probe above
  EXPECT_EQ(GuiApplyFrameSkin(0, nullptr), 0);
}

TEST_F(GuiCoreTest, FontTable) {
  EXPECT_EQ(GuiAddFont(0, nullptr, "Face", 10, 600, 0, 0), nullptr);  // no table yet
  ASSERT_EQ(GuiInitFontTable(), 1);
  GuiHandle f = GuiAddFont(0, nullptr, "Face", 10, 600, 0, 0);
  EXPECT_NE(f, nullptr);
  EXPECT_EQ(GuiAddFont(0, nullptr, "Other", 12, 400, 0, 0), nullptr);  // occupied
  EXPECT_EQ(GuiGetFont(0), f);
  GuiAddFont(4, nullptr, "Face", 20, 600, 0, 0);
  EXPECT_EQ(GuiFindFont(20, 600, 0), 4);
  EXPECT_EQ(GuiFindFont(20, 600, -1), -1);
  EXPECT_EQ(GuiFindFont(9, 600, 0), -1);
  EXPECT_EQ(GuiRemoveFont(4), 1);
  EXPECT_EQ(GuiRemoveFont(4), -1);
  EXPECT_EQ(GuiRemoveFont(11), -1);
  EXPECT_EQ(GuiGetFont(11), nullptr);
  auto* t = static_cast<GuiFontTable*>(GuiGetProcessSlot(0, kSlotFonts));
  EXPECT_EQ(t->count, 1);
  EXPECT_EQ(GuiDeleteFonts(), 1);
  EXPECT_EQ(t->count, 0);
}

TEST(CaptionMarkup, Cases) {
  struct Case {
    const char* text;
    bool markup;
    uint32_t flags;
    int32_t x, y, cx, cy;
  } cases[] = {
      {"Game {p:86,259 s:99,79 d:anim n:playSmall%02d.bmp #:30 r:20}", true, 4, 86, 259, 99, 79},
      {"Plain caption", false, 7, 0, 0, 0, 0},
      {"{s:10,20}", true, 4 | kSwpNoMove, 0, 0, 10, 20},
      {"{d:anim p:1,2}", true, 7, 0, 0, 0, 0},  // p after another key is not read
      {"{p:1,}", true, 7, 0, 0, 0, 0},
      {"{p:3,4", true, 4 | kSwpNoSize, 3, 4, 0, 0},  // the end of the text ends the markup
      {"{p:99999999999,1}", true, 4 | kSwpNoSize, 9999999, 1, 0, 0},
  };
  for (const Case& c : cases) {
    CaptionPlacement p;
    EXPECT_EQ(GuiParseCaptionMarkup(c.text, &p), c.markup) << c.text;
    EXPECT_EQ(p.swpFlags, c.flags) << c.text;
    EXPECT_EQ(p.x, c.x) << c.text;
    EXPECT_EQ(p.y, c.y) << c.text;
    EXPECT_EQ(p.cx, c.cx) << c.text;
    EXPECT_EQ(p.cy, c.cy) << c.text;
  }
}

}  // namespace
}  // namespace gui
