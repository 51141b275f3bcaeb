#include "gui/gui_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gui {
namespace {

// Builds a menu resource: header, then (flags, id, text) items.
struct ResourceWriter {
  std::vector<uint8_t> bytes{0, 0, 0, 0};
  void Word(uint16_t w) {
    bytes.push_back(static_cast<uint8_t>(w));
    bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  void Text(const std::string& s) {
    for (char c : s)
      Word(static_cast<uint8_t>(c));
    Word(0);
  }
  void Item(uint16_t flags, uint16_t id, const std::string& text) {
    Word(flags);
    Word(id);
    Text(text);
  }
  void Popup(uint16_t flags, const std::string& text) {
    Word(flags | kMenuPopup);
    Text(text);
  }
};

std::vector<uint8_t> SampleResource() {
  ResourceWriter w;
  w.Popup(0, "&Game");
  w.Item(0, 101, "&New game\tCtrl+N");
  w.Item(0, 0, "");  // separator
  w.Item(kMenuGrayed, 102, "Save && &quit");
  w.Popup(kMenuEnd, "&More");
  w.Item(kMenuEnd, 103, "&Deep");
  w.Popup(kMenuEnd, "&Help");
  w.Item(kMenuEnd, 201, "&About");
  return w.bytes;
}

TEST(GuiMenu, ParsesAResourceWithSeparatorsAndSubmenus) {
  std::vector<uint8_t> res = SampleResource();
  GuiMenu* menu = GuiParseMenuResource(res.data(), res.size());
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->count, 2);
  EXPECT_STREQ(menu->items[0].text, "&Game");
  EXPECT_EQ(menu->items[0].mnemonic, 'g');
  ASSERT_EQ(menu->items[0].subCount, 4);
  GuiMenuItem* game = menu->items[0].subItems;
  EXPECT_EQ(game[0].id, 101u);
  EXPECT_TRUE(game[1].flags & kMenuSeparator);
  EXPECT_EQ(game[2].mnemonic, 'q');  // "&&" is not a mnemonic
  EXPECT_EQ(game[3].subItems[0].id, 103u);
  EXPECT_EQ(menu->selected, -1);
  GuiDestroyMenu(menu);
}

TEST(GuiMenu, TruncatedOrEndlessResourcesAreRefused) {
  std::vector<uint8_t> res = SampleResource();
  for (size_t cut = 0; cut < res.size(); ++cut)
    EXPECT_EQ(GuiParseMenuResource(res.data(), cut), nullptr) << cut;
  ResourceWriter deep;
  for (int i = 0; i < 20; ++i)
    deep.Popup(0, "x");
  EXPECT_EQ(GuiParseMenuResource(deep.bytes.data(), deep.bytes.size()), nullptr);
}

TEST(GuiMenu, EnableByIdOrPositionSetsBothBits) {
  std::vector<uint8_t> res = SampleResource();
  GuiMenu* menu = GuiParseMenuResource(res.data(), res.size());
  EXPECT_EQ(GuiEnableMenuItem(menu, 103, kMenuGrayed), 0);  // found in a nested submenu
  EXPECT_EQ(menu->items[0].subItems[3].subItems[0].flags, kMenuGrayed | kMenuDisabled);
  EXPECT_EQ(GuiEnableMenuItem(menu, 103, 0), static_cast<int32_t>(kMenuGrayed | kMenuDisabled));
  EXPECT_EQ(GuiEnableMenuItem(menu, 1, kMenuByPosition | kMenuDisabled),
            static_cast<int32_t>(kMenuPopup));
  EXPECT_EQ(GuiEnableMenuItem(menu, 999, 0), -1);
  EXPECT_EQ(GuiEnableMenuItem(menu, 5, kMenuByPosition), -1);
  GuiDestroyMenu(menu);
}

TEST(GuiMenu, SubmenuViewsShareAndAppendTakesOver) {
  GuiMenu* sub = GuiCreateMenu();
  EXPECT_EQ(GuiAppendMenu(sub, 0, 7, "&Seven"), 1);
  EXPECT_EQ(GuiAppendMenu(sub, 0, 8, nullptr), 0);
  GuiMenu* bar = GuiCreateMenu();
  GuiAppendMenu(bar, kMenuPopup, reinterpret_cast<uintptr_t>(sub), "&File");
  GuiAppendMenu(bar, 0, 9, "Plain");
  EXPECT_EQ(sub->count, 0);  // the item now owns them
  GuiDestroyMenu(sub);
  GuiMenu* view = GuiGetSubMenu(bar, 0);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->items[0].id, 7u);
  EXPECT_EQ(GuiGetSubMenu(bar, 1), nullptr);
  EXPECT_EQ(GuiGetSubMenu(bar, 2), nullptr);
  GuiDestroyMenu(view);  // does not free the shared items
  EXPECT_EQ(bar->items[0].subItems[0].id, 7u);
  GuiDestroyMenu(bar);
}

TEST(GuiMenu, KeyboardSteppingSkipsSeparatorsAndWraps) {
  GuiMenu* m = GuiCreateMenu();
  GuiAppendMenu(m, 0, 1, "&One");
  GuiAppendMenu(m, kMenuSeparator, 0, "");
  GuiAppendMenu(m, 0, 2, "&Two");
  GuiAppendMenu(m, kMenuSeparator, 0, "");
  EXPECT_EQ(GuiMenuStep(m, 0, -1), 2);   // up from the first wraps to the last item
  EXPECT_EQ(GuiMenuStep(m, -1, -1), 2);  // up with no selection starts at the end
  EXPECT_EQ(GuiMenuStep(m, 2, 1), 0);
  EXPECT_EQ(GuiMenuStep(m, -1, 1), 0);
  EXPECT_EQ(GuiFindMnemonic(m, 'T'), 2);
  EXPECT_EQ(GuiFindMnemonic(m, 'x'), -1);
  GuiDestroyMenu(m);
}

}  // namespace
}  // namespace gui
