#pragma once
// The lobby's geometry: the size class the Room window's size calls for,
// and per class the background picture, the dialog template, the overlay
// picture and where it stands; and what each of the lobby's buttons does.
#include <cstdint>

namespace scene {

enum class LobbySize { kTiny = 0, kSmall = 1, kLarge = 2 };

// Tiny below 781 wide or 631 high, small below 1001 or 801, else large.
LobbySize ChooseLobbySize(int width, int height);

struct LobbySizeInfo {
  const char* background;  // skin resource name
  int templateId;
  const char* overlay;  // bitmap file in the skin folder
  int overlayX, overlayY;
};
const LobbySizeInfo& GetLobbySizeInfo(LobbySize size);

// Where the user's name is written: 55 % across and 31 % down the client
// area, floored.
void LobbyTitlePoint(int clientWidth, int clientHeight, int* x, int* y);

enum class LobbyAction {
  kNone,
  kGame,
  kClassroom,
  kBookroom,
  kTournament,
  kOnline,
  kLoad,
  kOptions,
  kCredits,
  kRegister,
  kExit,
};
// The action of a control id of any of the three templates.
LobbyAction LobbyActionOf(int controlId);
// The room a button leads to (-1 for the other actions), and whether it
// needs a profile other than the default one.
int LobbyActionRoom(LobbyAction action);
bool LobbyActionNeedsProfile(LobbyAction action);
// The tooltip text's string id of a button's action (0 for none).
uint32_t LobbyActionTooltip(LobbyAction action);

}  // namespace scene
