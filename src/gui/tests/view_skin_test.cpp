#include "gui/view_skin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "platform/path.h"

namespace gui {
namespace {

void WriteFile(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

void WriteBmp(const std::string& path, int w) {
  PackedDIB* d = DIBCreate(w, 1, 24);
  size_t size = 0;
  uint8_t* image = DIBToFileImage(d, &size);
  WriteFile(path, std::string(reinterpret_cast<char*>(image), size));
  GlobalFreePtr(image);
  GlobalFreePtr(d);
}

struct ViewSkinTest : ::testing::Test {
  std::string dir = std::string(TESS_BUILD_DIR) + "/gui_view_skin_test/";
  SkinRegistry* registry = nullptr;
  GuiSkin skin{};
  void SetUp() override {
    ASSERT_TRUE(platform::MakeDirectory(dir.c_str()));
    WriteBmp(dir + "one.bmp", 1);
    WriteBmp(dir + "two.bmp", 2);
    WriteFile(dir + "res.txt",
              "TREE_PLUS one.bmp 40\nTREE_MINUS two.bmp 41\nEDGE_TOP one.bmp 42\n"
              "EDGE_LEFT two.bmp 43\n");
    registry = SkinRegistryCreate((dir + "res.txt").c_str());
    ASSERT_NE(registry, nullptr);
    WriteFile(dir + "list_box.ini",
              "[resources]\nborder_top=edge_top\nborder_left=edge_left\nborder_right=nothing\n"
              "[colors]\nbackground_color=FAF4E2\nselected_background_color=10 20 30 RGB\n"
              "text_color=3B2412\nselected_text_color=FFF6E0\n"
              "[dimensions]\nborder_width=2\n");
    WriteFile(dir + "tree_view.ini",
              "[resources]\ntree_plus=tree_plus\ntree_minus=tree_minus\n"
              "[colors]\ntree_line_color=704626\n[dimensions]\ntree_prebutton_dx=4\n");
    GuiBuildDefaultSkin(&skin);
  }
  void TearDown() override {
    *GuiGetViewSkinImages() = GuiViewSkinImages{};
    SkinRegistryDestroy(registry);
  }
};

TEST_F(ViewSkinTest, ClassFilesFillTheListAndTreeGroups) {
  ASSERT_TRUE(GuiReadListIni((dir + "list_box.ini").c_str(), registry, &skin));
  EXPECT_EQ(skin.list.colors[kListBackground], 0xE2F4FAu);  // red in the low byte
  EXPECT_EQ(skin.list.colors[kListSelectedBackground], 0x1E140Au);
  EXPECT_EQ(skin.list.colors[kListFocusedBackground], 0u);  // absent: kept
  EXPECT_EQ(skin.list.imageIds[1], 42u);
  EXPECT_EQ(skin.list.imageIds[6], 43u);
  EXPECT_EQ(skin.list.imageIds[7], 0u);  // names no image
  EXPECT_EQ(GuiListBorderWidth(&skin), 2);

  ASSERT_TRUE(GuiReadTreeIni((dir + "tree_view.ini").c_str(), registry, &skin));
  const uint32_t* w = skin.tree.words;
  EXPECT_EQ(w[kTreeCollapsedId], 40u);
  EXPECT_EQ(w[kTreeExpandedId], 41u);
  EXPECT_EQ(w[kTreePreButtonDx], 4u);
  EXPECT_EQ(w[kTreePostButtonDx], 3u);       // the built-in default
  EXPECT_EQ(w[kTreeLine], 0x264670u);        // from the file
  EXPECT_EQ(w[kTreeBackground], 0xFFFFFFu);  // the built-in default
  EXPECT_EQ(w[kTreeSelectedBackground], skin.list.colors[kListSelectedBackground]);

  GuiSkin before = skin;
  EXPECT_FALSE(GuiReadListIni((dir + "missing.ini").c_str(), registry, &skin));
  EXPECT_FALSE(GuiReadTreeIni(nullptr, registry, &skin));
  EXPECT_EQ(std::memcmp(&before, &skin, sizeof skin), 0);
}

TEST_F(ViewSkinTest, InstallingResolvesTheImagesOnce) {
  GuiReadListIni((dir + "list_box.ini").c_str(), registry, &skin);
  GuiReadTreeIni((dir + "tree_view.ini").c_str(), registry, &skin);
  skin.identity = 0;
  EXPECT_EQ(CGUIListWndApplySkin(registry, &skin), 1);
  EXPECT_EQ(CGUITreeViewApplySkin(registry, &skin), 1);
  GuiViewSkinImages* images = GuiGetViewSkinImages();
  ASSERT_NE(images->listBorder[1], nullptr);
  EXPECT_EQ(images->listBorder[1]->biWidth, 1);
  EXPECT_EQ(images->listBorder[6]->biWidth, 2);
  EXPECT_EQ(images->listBorder[0], nullptr);
  EXPECT_EQ(images->listBorderCount, 2);
  ASSERT_NE(images->treeExpanded, nullptr);
  EXPECT_EQ(images->treeExpanded->biWidth, 2);
  // With the button flag set the buttons are left as they are.
  PackedDIB* kept = images->treeCollapsed;
  skin.tree.words[kTreeButtonFlag] = 1;
  skin.tree.words[kTreeCollapsedId] = 41;
  CGUITreeViewApplySkin(registry, &skin);
  EXPECT_EQ(images->treeCollapsed, kept);
  EXPECT_EQ(CGUIListWndApplySkin(registry, nullptr), 0);
}

}  // namespace
}  // namespace gui
