#pragma once
// The two toolbars at the bottom corners of a game room: which buttons each
// holds, in which room, where they stand and the panel each one toggles.
#include <cstdint>
#include <vector>

namespace ui {

constexpr int kToolbarButtonSize = 55;  // square buttons, left to right on one row
constexpr int kPanelToolbarTemplate = 16014;
constexpr int kGameToolbarTemplate = 3799;
constexpr uint32_t kStrPanelToolbarTitle = 3104;
constexpr int kPanelToolbarMaxButtons = 8;
constexpr int kGameToolbarButtonCount = 6;

// Game toolbar commands.
enum GameToolbarId : int {
  kIdToolbarPreviousMenu = 30600,
  kIdToolbarSave = 30606,
  kIdToolbarLoad = 30612,
  kIdToolbarOptions = 30618,
  kIdToolbarMainMenu = 30624,
  kIdToolbarRestart = 30630,
};

struct ToolbarButton {
  int id;
  int slot;            // the panel it toggles; 0 on the game toolbar
  uint32_t tooltipId;  // string-table text
};

// The panel toolbar's buttons, in order, including those of other rooms.
const ToolbarButton* PanelToolbarButtons();
// The buttons the panel toolbar holds in this room (the chat button only in
// the network game, the friends button there and in the online room).
std::vector<ToolbarButton> PanelToolbarButtonsForRoom(int room);
// The game toolbar's six buttons, in order.
const ToolbarButton* GameToolbarButtons();
// The panel slot of a panel toolbar button; 0 for other ids.
int ToolbarButtonToSlot(int id);
// The x of the button at this place on its toolbar.
inline int ToolbarButtonX(int index) { return index * kToolbarButtonSize; }

}  // namespace ui
