#include "ui/toolbar_buttons.h"

#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr int kNetworkGameRoom = 14;
constexpr int kOnlineRoom = 11;

constexpr ToolbarButton kPanelButtons[kPanelToolbarMaxButtons] = {
    {30506, kSlotPlayers, 3145},    {30488, kSlotMoveList, 3140},
    {30500, kSlotDictionary, 3141}, {30512, kSlotRemainingTiles, 3143},
    {30524, kSlotMentor, 3144},     {30530, kSlotUserComments, 3142},
    {30536, kSlotChat, 4300},       {30542, kSlotFriendsList, 4301},
};

constexpr ToolbarButton kGameButtons[kGameToolbarButtonCount] = {
    {kIdToolbarRestart, 0, 3139}, {kIdToolbarSave, 0, 3137},         {kIdToolbarLoad, 0, 3136},
    {kIdToolbarOptions, 0, 3138}, {kIdToolbarPreviousMenu, 0, 3134}, {kIdToolbarMainMenu, 0, 3135},
};

bool BelongsInRoom(const ToolbarButton& b, int room) {
  if (b.slot == kSlotChat) return room == kNetworkGameRoom;
  if (b.slot == kSlotFriendsList) return room == kNetworkGameRoom || room == kOnlineRoom;
  return true;
}

}  // namespace

const ToolbarButton* PanelToolbarButtons() { return kPanelButtons; }
const ToolbarButton* GameToolbarButtons() { return kGameButtons; }

std::vector<ToolbarButton> PanelToolbarButtonsForRoom(int room) {
  std::vector<ToolbarButton> out;
  for (const ToolbarButton& b : kPanelButtons)
    if (BelongsInRoom(b, room)) out.push_back(b);
  return out;
}

int ToolbarButtonToSlot(int id) {
  for (const ToolbarButton& b : kPanelButtons)
    if (b.id == id) return b.slot;
  return 0;
}

}  // namespace ui
