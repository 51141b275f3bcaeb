#include "scene/lobby_layout.h"

namespace scene {
namespace {

const LobbySizeInfo kSizes[] = {
    {"LOBBY_BACKGROUND_TINY", 60, "neutreTiny.bmp", 262, 143},
    {"LOBBY_BACKGROUND_SMALL", 25, "neutreSmall.bmp", 273, 163},
    {"LOBBY_BACKGROUND_LARGE", 26, "neutre.bmp", 367, 313},
};

struct ButtonRow {
  LobbyAction action;
  int ids[3];  // tiny, small, large
  int room;
  bool needsProfile;
  uint32_t tooltip;
};

const ButtonRow kButtons[] = {
    {LobbyAction::kGame, {1421, 1374, 1368}, 1, false, 9900},
    {LobbyAction::kClassroom, {1422, 1375, 1367}, 3, false, 9901},
    {LobbyAction::kBookroom, {1423, 1376, 1370}, 17, false, 9902},
    {LobbyAction::kTournament, {1424, 1377, 1369}, 2, true, 9903},
    {LobbyAction::kOnline, {1428, 1380, 1373}, 4, true, 9904},
    {LobbyAction::kLoad, {1170, 1168, 1165}, -1, true, 9905},
    {LobbyAction::kOptions, {1624, 1623, 1622}, -1, false, 9906},
    {LobbyAction::kCredits, {1171, 1169, 1167}, -1, false, 9907},
    {LobbyAction::kRegister, {1427, 1394, 1392}, -1, false, 9908},
    {LobbyAction::kExit, {1429, 1395, 1393}, -1, false, 9909},
};

const ButtonRow* RowOf(LobbyAction action) {
  for (const ButtonRow& row : kButtons)
    if (row.action == action) return &row;
  return nullptr;
}

}  // namespace

LobbySize ChooseLobbySize(int width, int height) {
  if (width < 781 || height < 631) return LobbySize::kTiny;
  if (width < 1001 || height < 801) return LobbySize::kSmall;
  return LobbySize::kLarge;
}

const LobbySizeInfo& GetLobbySizeInfo(LobbySize size) { return kSizes[static_cast<int>(size)]; }

void LobbyTitlePoint(int clientWidth, int clientHeight, int* x, int* y) {
  // Integer arithmetic floors as the percentages of the positive sizes do.
  if (x) *x = clientWidth * 55 / 100;
  if (y) *y = clientHeight * 31 / 100;
}

LobbyAction LobbyActionOf(int controlId) {
  for (const ButtonRow& row : kButtons)
    for (int id : row.ids)
      if (id == controlId) return row.action;
  return LobbyAction::kNone;
}

int LobbyActionRoom(LobbyAction action) {
  const ButtonRow* row = RowOf(action);
  return row ? row->room : -1;
}

bool LobbyActionNeedsProfile(LobbyAction action) {
  const ButtonRow* row = RowOf(action);
  return row && row->needsProfile;
}

uint32_t LobbyActionTooltip(LobbyAction action) {
  const ButtonRow* row = RowOf(action);
  return row ? row->tooltip : 0;
}

}  // namespace scene
