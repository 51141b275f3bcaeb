#include "ui/window_slots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "slot_port_fake.h"

namespace ui {
namespace {

using uitest::FakeSlotPort;
using uitest::Win;
using Calls = std::vector<std::string>;

class WindowSlotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSlotRegistry();
    port.Take();
  }
  FakeSlotPort port;
};

TEST_F(WindowSlotsTest, OpsRegisterAndAnswerAndRefuseWhatIsOutOfRange) {
  EXPECT_EQ(WindowSlotOp(kOpRegister, kSlotMentor, 80), 1);
  EXPECT_EQ(GetSlotWindow(kSlotMentor), Win(80));
  EXPECT_TRUE(IsPanelWindow(Win(80)));
  EXPECT_EQ(FindSlotOfWindow(Win(80)), kSlotMentor);
  WindowSlotOp(kOpRegister, kSlotBoard, 20);
  EXPECT_FALSE(IsPanelWindow(Win(20)));  // the board is no panel

  SlotRect r{1, 2, 30, 40}, back{};
  WindowSlotOp(kOpSetRect, kSlotMentor, reinterpret_cast<intptr_t>(&r));
  WindowSlotOp(kOpGetRect, kSlotMentor, reinterpret_cast<intptr_t>(&back));
  EXPECT_EQ(back.right, 30);
  SlotWindowPos pos{5, 6, 100, 50, 0};
  WindowSlotOp(kOpStoreRect, kSlotMentor, reinterpret_cast<intptr_t>(&pos));
  WindowSlotOp(kOpGetRect2, kSlotMentor, reinterpret_cast<intptr_t>(&back));
  EXPECT_EQ(back.right, 105);
  pos.flags = kSwpNoClientSize;  // a re-framing only: kept as it was
  pos.x = 900;
  WindowSlotOp(kOpStoreRect, kSlotMentor, reinterpret_cast<intptr_t>(&pos));
  WindowSlotOp(kOpGetRect, kSlotMentor, reinterpret_cast<intptr_t>(&back));
  EXPECT_EQ(back.left, 5);

  int32_t flag = 0;
  WindowSlotOp(kOpSetRoomFlag, kSlotMentor, 7);
  WindowSlotOp(kOpGetRoomFlag, kSlotMentor, reinterpret_cast<intptr_t>(&flag));
  EXPECT_EQ(flag, 7);

  EXPECT_EQ(WindowSlotOp(13, kSlotMentor, 0), 0);
  EXPECT_EQ(WindowSlotOp(kOpRegister, 31, 5), 0);
  EXPECT_EQ(WindowSlotOp(kOpRegister, -1, 5), 0);
  EXPECT_EQ(GetSlotWindow(40), nullptr);
  EXPECT_EQ(GetRoomLayoutRecord(18), nullptr);
  SlotRect none{};
  EXPECT_EQ(GetRoomSlotRect(0, 0, nullptr), 0);
  EXPECT_EQ(GetRoomSlotRect(18, 0, &none), 0);

  WindowSlotOp(kOpUnregister, kSlotMentor, 0);
  EXPECT_FALSE(IsPanelWindow(Win(80)));
}

TEST_F(WindowSlotsTest, ShowCommandsKeepVisibilityAndTheToolbarButton) {
  WindowSlotOp(kOpRegister, kSlotPanelToolbar, 290);
  WindowSlotOp(kOpRegister, kSlotMoveList, 60);
  port.Take();
  struct Step {
    int command;
    Calls calls;
    int shown;
  } steps[] = {
      {kShowToggle, {"show 60 1", "check 30488 1"}, 1},
      {kShowToggle, {"show 60 0", "check 30488 0"}, 0},
      {kShowSuspend, {"check 30488 0"}, 0},  // hidden: nothing to suspend
      {kShowResume, {"check 30488 0"}, 0},   // so nothing to resume
      {kShowShow, {"show 60 1", "check 30488 1"}, 1},
      {kShowSuspend, {"show 60 0", "check 30488 0"}, 0},
      {kShowResume, {"show 60 1", "check 30488 1"}, 1},
      {77, {"check 30488 1"}, 1},  // an unknown command changes nothing
  };
  for (const Step& s : steps) {
    EXPECT_EQ(WindowSlotOp(kOpShow, kSlotMoveList, s.command), 1);
    EXPECT_EQ(port.Take(), s.calls) << s.command;
    EXPECT_EQ(IsSlotShown(kSlotMoveList), s.shown) << s.command;
  }
  EXPECT_EQ(GetSlotShowCommand(kSlotMoveList), kShowShow);
  HideSlotWindowForLater(kSlotMoveList);
  EXPECT_EQ(IsSlotShown(kSlotMoveList), 0);
  ShowClosedSlotWindow(kSlotMoveList);
  EXPECT_EQ(IsSlotShown(kSlotMoveList), 1);
}

TEST_F(WindowSlotsTest, ApplyingARoomPlacesOnlyItsLaidOutPanels) {
  WindowSlotOp(kOpRegister, kSlotMainFrame, 1);
  WindowSlotOp(kOpRegister, kSlotRoom, 10);
  WindowSlotOp(kOpRegister, kSlotMoveList, 60);
  WindowSlotOp(kOpRegister, kSlotDictionary, 70);
  WindowSlotOp(kOpRegister, kSlotHint, 220);
  WindowSlotOp(kOpRegister, kSlotGameToolbar, 300);
  RoomLayoutRecord r{};
  r.slots[kSlotMoveList] = SlotPlacement{{-20, 10, 180, 110}, 0, 0, 0, 1, 1};
  r.slots[kSlotDictionary] = SlotPlacement{{900, 700, 1200, 900}, 0, 0, 0, 1, 0};
  r.slots[kSlotGameToolbar] = SlotPlacement{{0, 0, 50, 20}, 0, 0, 0, 1, 1};
  r.slots[kSlotHint] = SlotPlacement{{5, 5, 50, 50}, 0, 0, 0, 0, 1};  // not laid out
  GetRoomLayoutRecord(0)->slots[kSlotRoom].rect = SlotRect{0, 40, 800, 600};
  SetCurrentLayoutIndex(0);
  ASSERT_EQ(StoreRoomLayoutRecord(1, &r), 1);  // not current: stored only
  EXPECT_TRUE(port.Take().empty());

  EXPECT_EQ(ApplyRoomLayout(1), 0);
  const Calls expected = {
      "begin",
      "move 60 0,10,200,110 68",       // clamped, keeping its width
      "move 70 724,568,1024,768 133",  // hidden, fixed size, clamped
      "move 300 0,0,50,20 71",         // toolbars neither sized nor moved
      "end",
      "send 10 " + std::to_string(kMsgRoomResized),  // the frame "sized"
      "repaint",
  };
  EXPECT_EQ(port.Take(), expected);
  EXPECT_EQ(IsSlotShown(kSlotMoveList), 1);
  EXPECT_EQ(IsSlotShown(kSlotHint), 0);
  // An empty room-window rectangle takes the previous room's.
  SlotRect room{};
  GetRoomSlotRect(1, kSlotRoom, &room);
  EXPECT_EQ(room.bottom, 600);

  EXPECT_EQ(ApplyRoomLayout(0), 1);
  Calls back = port.Take();
  EXPECT_EQ(std::count(back.begin(), back.end(), "repaint"), 0);  // room 0 does not repaint
  EXPECT_EQ(ApplyRoomLayout(18), 18);                             // refused
  EXPECT_EQ(GetCurrentLayoutIndex(), 0);
}

TEST_F(WindowSlotsTest, AMovedFrameCarriesOnlyThePanelsInsideIt) {
  WindowSlotOp(kOpRegister, kSlotMoveList, 60);
  WindowSlotOp(kOpRegister, kSlotMentor, 80);
  SlotRect frame{100, 100, 900, 700}, inside{150, 150, 350, 300}, across{850, 150, 1000, 300};
  WindowSlotOp(kOpSetRect, kSlotMainFrame, reinterpret_cast<intptr_t>(&frame));
  WindowSlotOp(kOpSetRect, kSlotMoveList, reinterpret_cast<intptr_t>(&inside));
  WindowSlotOp(kOpSetRect, kSlotMentor, reinterpret_cast<intptr_t>(&across));
  port.Take();
  SlotWindowPos moved{120, 90, 800, 600, kSwpNoSize};
  EXPECT_EQ(FrameMoved(&moved), 1);
  EXPECT_EQ(port.Take(), (Calls{"begin", "move 60 170,140,370,290 5", "end"}));
  SlotRect now{};
  WindowSlotOp(kOpGetRect, kSlotMainFrame, reinterpret_cast<intptr_t>(&now));
  EXPECT_EQ(now.left, 120);
  EXPECT_EQ(now.right, 920);
}

TEST_F(WindowSlotsTest, BroadcastSkipsTheFrameAndTheRoomWindow) {
  for (int slot : {0, 1, 2, 17})
    WindowSlotOp(kOpRegister, slot, 100 + slot);
  port.Take();
  EXPECT_TRUE(BroadcastToSlotWindows(0x8103, 0, 0, 1));
  EXPECT_EQ(port.Take(), (Calls{"post 102 33027", "post 117 33027"}));
  EXPECT_FALSE(BroadcastToSlotWindows(0x8111, 0, 0, 0));  // every answer 0
}

TEST_F(WindowSlotsTest, ClampKeepsTheSizeThatFits) {
  struct Case {
    SlotRect in, out;
  } cases[] = {
      {{-30, 10, 70, 60}, {0, 10, 100, 60}},
      {{10, -5, 60, 45}, {10, 0, 60, 50}},
      {{1000, 700, 1100, 800}, {924, 668, 1024, 768}},
      {{-10, -10, 2000, 1000}, {0, 0, 1024, 768}},
  };
  for (const Case& c : cases) {
    SlotRect r = c.in;
    ClampRectToDesktop(&r);
    EXPECT_EQ(r.left, c.out.left);
    EXPECT_EQ(r.top, c.out.top);
    EXPECT_EQ(r.right, c.out.right);
    EXPECT_EQ(r.bottom, c.out.bottom);
  }
}

TEST_F(WindowSlotsTest, DestroyingAWindowEmptiesItsSlot) {
  WindowSlotOp(kOpRegister, kSlotChat, 110);
  DestroySlotWindow(kSlotChat);
  EXPECT_EQ(port.Take(), (Calls{"destroy 110"}));
  EXPECT_EQ(GetSlotWindow(kSlotChat), nullptr);
  DestroySlotWindow(kSlotChat);
  EXPECT_TRUE(port.Take().empty());
}

}  // namespace
}  // namespace ui
