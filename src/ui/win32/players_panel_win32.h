#pragma once
// The players panel (slot 17): up to four players of the current game, one
// row each, with the turn number and the clocks above them.
#include <windows.h>

namespace ui {

// -1 without an owner or instance, else 0.
int CreatePlayersPanel(HWND owner, HINSTANCE instance);
void RefreshPlayerPanels();
void LayoutPlayerPanel();
void ScrollPlayersPanel(int row);
int GetFirstPlayerRow();

enum : int {
  kIdPlayersScroll = 5944,
  kIdTurnNumber = 5814,
  kIdTotalTime = 5816,
  kIdTurnTime = 5817,
};
enum : UINT {
  kMsgPlayersClose = 0x8504,
  kMsgPlayersSetFirst = 0x8612,
  kMsgPlayersSetFirst2 = 0x8614,
  kMsgPlayerRowIndex = 0x1501,
};

}  // namespace ui
