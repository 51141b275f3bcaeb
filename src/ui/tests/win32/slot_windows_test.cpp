// The slot registry on real windows under Wine: a room's layout moves, shows
// and hides panels, the slot hook keeps a moved panel's rectangle and
// forgets a destroyed one, and a panel-toolbar button follows its panel.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

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

// The visible ones of `windows`, top first.
struct Stack {
  std::vector<HWND> windows, visible;
};

BOOL CALLBACK CollectVisible(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Stack*>(lp);
  if (IsWindowVisible(w) && std::find(s->windows.begin(), s->windows.end(), w) != s->windows.end())
    s->visible.push_back(w);
  return TRUE;
}

std::vector<HWND> VisibleOrder(std::vector<HWND> windows) {
  Stack s{std::move(windows), {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&s));
  return s.visible;
}

// A panel of a topmost frame comes into view above the panels already shown,
// whether the registry shows it on its own or by a room's layout: a window
// system that raises only the first window shown would otherwise map it
// under the frame.
TEST(SlotWindows, APanelComingIntoViewStandsAboveThePanelsShown) {
  InstallWindowSlotPort();
  ResetWindowSlotRegistry();
  const char* panelClass = "TessarinSlotPanelOwned";
  ASSERT_TRUE(uitest::RegisterPanelClass(panelClass, PanelProc));
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND frame = CreateWindowExA(WS_EX_TOPMOST, panelClass, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                               300, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrA(frame, GWLP_USERDATA, kSlotMainFrame);
  HWND panels[2] = {};
  const int slots[2] = {kSlotPlayers, kSlotMoveList};
  for (int i = 0; i < 2; ++i) {
    panels[i] = CreateWindowExA(WS_EX_TOOLWINDOW, panelClass, "panel", WS_POPUP, 20 + 60 * i, 20,
                                50, 40, frame, nullptr, instance, nullptr);
    SetWindowLongPtrA(panels[i], GWLP_USERDATA, slots[i]);
    WindowSlotOp(kOpRegister, slots[i], reinterpret_cast<intptr_t>(panels[i]));
  }
  HWND players = panels[0], moves = panels[1];
  const std::vector<HWND> all{frame, players, moves};

  WindowSlotOp(kOpShow, kSlotPlayers, kShowShow);
  WindowSlotOp(kOpShow, kSlotMoveList, kShowShow);
  EXPECT_EQ(VisibleOrder(all), (std::vector<HWND>{moves, players, frame}));

  // Hidden and placed under the players panel, the move list comes back
  // above it with the room's layout.
  WindowSlotOp(kOpShow, kSlotMoveList, kShowHide);
  SetWindowPos(players, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RoomLayoutRecord room{};
  room.slots[kSlotPlayers] = SlotPlacement{{20, 20, 70, 60}, 0, 0, 0, 1, 1};
  room.slots[kSlotMoveList] = SlotPlacement{{80, 20, 130, 60}, 0, 0, 0, 1, 1};
  StoreRoomLayoutRecord(3, &room);
  ApplyRoomLayout(3);
  EXPECT_EQ(VisibleOrder(all), (std::vector<HWND>{moves, players, frame}));
  // A panel already in view keeps its place.
  ApplyRoomLayout(3);
  EXPECT_EQ(VisibleOrder(all), (std::vector<HWND>{moves, players, frame}));

  DestroyWindow(frame);  // and the panels it owns
  EXPECT_EQ(GetSlotWindow(kSlotPlayers), nullptr);
  SetSlotWindowPort(nullptr);
}

}  // namespace
}  // namespace ui
