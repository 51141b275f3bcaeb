// The slot registry on real windows under Wine: a room's layout moves, shows
// and hides panels, the slot hook keeps a moved panel's rectangle and
// forgets a destroyed one, and a panel-toolbar button follows its panel.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/window_slots.h"
#include "ui_test_fixture.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

LRESULT CALLBACK PanelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  SlotWindowHook(static_cast<int>(GetWindowLongPtrA(w, GWLP_USERDATA)), w, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

HWND Panel(int slot, const char* cls) {
  HWND w = CreateWindowExA(0, cls, "panel", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(w, GWLP_USERDATA, slot);
  WindowSlotOp(kOpRegister, slot, reinterpret_cast<intptr_t>(w));
  return w;
}

TEST(SlotWindows, LayoutHookAndToolbarButton) {
  InstallWindowSlotPort();
  ResetWindowSlotRegistry();
  const char* panelClass = "TessarinSlotPanel";
  ASSERT_TRUE(uitest::RegisterPanelClass(panelClass, PanelProc));
  HWND moves = Panel(kSlotMoveList, panelClass);
  HWND toolbar = Panel(kSlotPanelToolbar, panelClass);
  HWND button = CreateWindowExA(0, "BUTTON", "Moves", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 40, 20,
                                toolbar, reinterpret_cast<HMENU>(30488), nullptr, nullptr);
  ASSERT_TRUE(button);

  RoomLayoutRecord room{};
  room.slots[kSlotMoveList] = SlotPlacement{{100, 120, 300, 320}, 0, 0, 0, 1, 1};
  StoreRoomLayoutRecord(3, &room);
  ApplyRoomLayout(3);
  RECT r;
  GetWindowRect(moves, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.bottom, 320);
  EXPECT_TRUE(IsWindowVisible(moves));

  // Moving the panel keeps its new place in the room's record.
  SetWindowPos(moves, nullptr, 140, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SlotRect kept{};
  GetRoomSlotRect(3, kSlotMoveList, &kept);
  EXPECT_EQ(kept.left, 140);
  EXPECT_EQ(kept.right, 340);

  WindowSlotOp(kOpShow, kSlotMoveList, kShowToggle);
  EXPECT_FALSE(IsWindowVisible(moves));
  EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  WindowSlotOp(kOpShow, kSlotMoveList, kShowToggle);
  EXPECT_TRUE(IsWindowVisible(moves));
  EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), BST_CHECKED);

  DestroyWindow(moves);
  EXPECT_EQ(GetSlotWindow(kSlotMoveList), nullptr);
  DestroySlotWindow(kSlotPanelToolbar);
  EXPECT_FALSE(IsWindow(toolbar));
  SetSlotWindowPort(nullptr);
}

}  // namespace
}  // namespace ui
