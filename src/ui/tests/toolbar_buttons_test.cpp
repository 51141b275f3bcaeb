#include "ui/toolbar_buttons.h"

#include <gtest/gtest.h>

#include "ui/window_slots.h"

namespace ui {
namespace {

std::vector<int> Ids(const std::vector<ToolbarButton>& buttons) {
  std::vector<int> ids;
  for (const ToolbarButton& b : buttons)
    ids.push_back(b.id);
  return ids;
}

TEST(ToolbarButtons, PanelButtonsPerRoom) {
  const std::vector<int> common{30506, 30488, 30500, 30512, 30524, 30530};
  EXPECT_EQ(Ids(PanelToolbarButtonsForRoom(1)), common);
  std::vector<int> online = common;
  online.push_back(30542);
  EXPECT_EQ(Ids(PanelToolbarButtonsForRoom(11)), online);
  // In the online room the friends button stands seventh, at x 330.
  EXPECT_EQ(ToolbarButtonX(6), 330);
  std::vector<int> network = common;
  network.insert(network.end(), {30536, 30542});
  EXPECT_EQ(Ids(PanelToolbarButtonsForRoom(14)), network);
}

TEST(ToolbarButtons, ButtonsAndSlotsMapBothWays) {
  for (int i = 0; i < kPanelToolbarMaxButtons; ++i) {
    const ToolbarButton& b = PanelToolbarButtons()[i];
    EXPECT_EQ(ToolbarButtonToSlot(b.id), b.slot) << b.id;
    EXPECT_EQ(SlotToToolbarButton(b.slot), b.id) << b.slot;
  }
  EXPECT_EQ(ToolbarButtonToSlot(kIdToolbarSave), 0);
  EXPECT_EQ(ToolbarButtonToSlot(0), 0);
  EXPECT_EQ(ToolbarButtonToSlot(30507), 0);
}

TEST(ToolbarButtons, GameToolbarOrderAndTexts) {
  const int expected[][2] = {{30630, 3139}, {30606, 3137}, {30612, 3136},
                             {30618, 3138}, {30600, 3134}, {30624, 3135}};
  for (int i = 0; i < kGameToolbarButtonCount; ++i) {
    EXPECT_EQ(GameToolbarButtons()[i].id, expected[i][0]);
    EXPECT_EQ(GameToolbarButtons()[i].tooltipId, static_cast<uint32_t>(expected[i][1]));
  }
}

}  // namespace
}  // namespace ui
