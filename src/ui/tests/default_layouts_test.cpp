// The page layouts the build writes into the program folder's Data\Layouts,
// read back the way a new profile's copy is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell_fixture.h"
#include "slot_port_fake.h"
#include "ui/page_layout.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

class DefaultLayoutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = shelltest::Backslashed(TESS_BUILD_DIR);
    ASSERT_TRUE(shell::CreateAppContextAt(program + "\\tessarin.exe"));
    // A desktop far larger than any layout's, so that reading clamps nothing
    // and a placement off its own desktop shows.
    port.width = port.height = 10000;
    ResetWindowSlotRegistry();
  }
  void TearDown() override { shell::DestroyAppContext(); }
  std::string program;
  uitest::FakeSlotPort port;
};

TEST_F(DefaultLayoutsTest, EveryPlacementLiesWithinItsDesktop) {
  const struct {
    int32_t width, height;
  } desktops[] = {{800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}};
  for (const auto& d : desktops) {
    const std::string file = program + "\\Data\\Layouts\\Default(" + std::to_string(d.width) + "x" +
                             std::to_string(d.height) + ").LAY";
    SCOPED_TRACE(file);
    ASSERT_TRUE(platform::FileExists(file.c_str()));
    EXPECT_EQ(platform::IniGetInt("Desktop", "width", 0, file.c_str()), d.width);
    EXPECT_EQ(platform::IniGetInt("Desktop", "height", 0, file.c_str()), d.height);
    LoadAllRoomLayouts(file.c_str());
    for (int room = 0; room < kRoomLayoutCount; ++room)
      for (int slot = 0; slot < kSlotCount; ++slot) {
        const SlotRect& r = GetRoomLayoutRecord(room)->slots[slot].rect;
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= d.width && r.bottom <= d.height &&
                    r.left <= r.right && r.top <= r.bottom)
            << "room " << room << " slot " << slot << ": " << r.left << " " << r.top << " "
            << r.right << " " << r.bottom;
      }
    // The game room places its panels (so their buttons and options work)
    // and shows the players panel at the screen's right.
    const RoomLayoutRecord& game = *GetRoomLayoutRecord(1);
    for (int slot :
         {kSlotPlayers, kSlotMoveList, kSlotMentor, kSlotDictionary, kSlotRemainingTiles})
      EXPECT_EQ(game.slots[slot].inLayout, 1) << "slot " << slot;
    EXPECT_EQ(game.slots[kSlotPlayers].showInRoom, 1);
    EXPECT_EQ(game.slots[kSlotMoveList].showInRoom, 0);
    EXPECT_GT(game.slots[kSlotPlayers].rect.left, d.width / 2);
    // The move list stands in its own column beside the players panel.
    const SlotRect& players = game.slots[kSlotPlayers].rect;
    const SlotRect& moves = game.slots[kSlotMoveList].rect;
    EXPECT_LT(moves.right, players.left);
    // From 1024x768 up the panels a game shows together stand clear of each
    // other and of the toolbars along the bottom edge; from 1280x1024 the
    // dictionary too.
    if (d.width < 1024) continue;
    std::vector<int> panels = {kSlotPlayers, kSlotMoveList, kSlotMentor, kSlotRemainingTiles};
    if (d.width >= 1280) panels.push_back(kSlotDictionary);
    for (size_t i = 0; i < panels.size(); ++i) {
      const SlotRect& a = game.slots[panels[i]].rect;
      EXPECT_LE(a.bottom, d.height - 64) << "slot " << panels[i];
      for (size_t j = i + 1; j < panels.size(); ++j) {
        const SlotRect& b = game.slots[panels[j]].rect;
        const bool apart =
            a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
        EXPECT_TRUE(apart) << "slots " << panels[i] << " and " << panels[j];
      }
    }
  }
}

}  // namespace
}  // namespace ui
