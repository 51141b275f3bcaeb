#include "gui/skin_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/gui_core.h"
#include "platform/path.h"

namespace gui {
namespace {

TEST(SkinReader, ColourValues) {
  EXPECT_EQ(GuiParseSkinColour("FF0000", 7), 0x0000FFu);  // red in the low byte
  EXPECT_EQ(GuiParseSkinColour("255 0 0 RGB", 7), 0x0000FFu);
  EXPECT_EQ(GuiParseSkinColour("0 128 255 RGB", 7), 0xFF8000u);
  EXPECT_EQ(GuiParseSkinColour("RGB", 7), 7u);  // no numbers: unchanged
  EXPECT_EQ(GuiParseSkinColour("300 0 0 RGB", 7), 7u);
  EXPECT_EQ(GuiParseSkinColour("zz", 7), 7u);
  EXPECT_EQ(GuiParseSkinColour("1FFFFFF", 7), 7u);
}

// The generated standard skin: every image the frame, menu and status readers
// name is in the registry.
TEST(SkinReader, StandardSkinResolvesEveryImage) {
  std::string ini = std::string(TESS_BUILD_DIR) + "/Data/Skin/standard_skin.ini";
  if (!platform::FileExists(ini.c_str())) GTEST_SKIP() << "skin not generated";
  GuiFrameSkin skin;
  GuiBuildDefaultFrameSkin(&skin);
  SkinRegistry* registry = nullptr;
  ASSERT_TRUE(GuiLoadFrameSkinFromFile(ini.c_str(), &skin, &registry));
  for (int kind : {kKindThick, kKindBordered, kKindDialog}) {
    GuiFrameGroup& g = skin.groups[kind];
    EXPECT_EQ(g.present, 1);
    GuiLoadFrameGroupImages(&g, false);
    for (int i = 0; i < kFrameImageCount; ++i)
      EXPECT_NE(g.images[i], nullptr) << "kind " << kind << " image " << i;
  }
  for (int i = 0; i < kMenuImageCount; ++i)
    EXPECT_NE(SkinRegistryFindIdDIB(registry, skin.menu.imageIds[i]), nullptr) << i;
  EXPECT_NE(SkinRegistryFindIdDIB(registry, skin.status.separatorId), nullptr);
  EXPECT_STREQ(skin.menu.face, "DejaVu Sans");
  EXPECT_EQ(GuiSkinConfigPath(ini.c_str(), "captured_pieces"), "");  // none.ini: no file
  SkinRegistryDestroy(registry);
}

}  // namespace
}  // namespace gui
