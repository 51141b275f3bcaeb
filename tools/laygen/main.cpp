// laygen: writes the page layouts a new profile starts from.
//
//   laygen <output folder>
//
// One file per desktop size, "Default(<w>x<h>).LAY", written through the
// program's own page-layout code so that it reads them back exactly. The
// game room's panels stand where the main window puts them without a
// layout: the players panel and the move list in columns at the screen's
// right, the other panels at its left; only the players panel shows.
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/path.h"
#include "shell/app_context.h"
#include "ui/page_layout.h"
#include "ui/window_slots.h"

namespace {

constexpr int kGameRoom = 1;
constexpr int kGap = 12;

struct Desktop {
  int32_t width, height;
};
constexpr Desktop kDesktops[] = {{800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}};

// The panels' outer sizes on the standard skin, in pixels, as the program
// shows them (their frames included), so that panels placed side by side do
// not overlap.
struct PanelSize {
  int slot;
  int32_t width, height;
};
constexpr PanelSize kPlayers = {ui::kSlotPlayers, 181, 431};
constexpr PanelSize kMoveList = {ui::kSlotMoveList, 165, 260};
constexpr PanelSize kMentor = {ui::kSlotMentor, 321, 373};
constexpr PanelSize kDictionary = {ui::kSlotDictionary, 321, 431};
constexpr PanelSize kRemainder = {ui::kSlotRemainingTiles, 216, 350};

// The registry asks the window system only for the desktop size here.
class DesktopOnlyPort : public ui::SlotWindowPort {
 public:
  Desktop desktop{};
  void Show(ui::SlotWindow, bool) override {}
  void Enable(ui::SlotWindow, bool) override {}
  ui::SlotRect WindowRect(ui::SlotWindow) override { return {}; }
  ui::SlotRect ClientRect(ui::SlotWindow) override { return {}; }
  void DesktopSize(int32_t* w, int32_t* h) override { *w = desktop.width, *h = desktop.height; }
  void BeginMoves(int) override {}
  void Move(ui::SlotWindow, const ui::SlotRect&, uint32_t) override {}
  void EndMoves() override {}
  void SetPos(ui::SlotWindow, const ui::SlotRect&, uint32_t) override {}
  intptr_t Send(ui::SlotWindow, uint32_t, uintptr_t, intptr_t) override { return 0; }
  bool Post(ui::SlotWindow, uint32_t, uintptr_t, intptr_t) override { return false; }
  void CheckButton(ui::SlotWindow, int, bool) override {}
  void Destroy(ui::SlotWindow) override {}
  void RepaintAll() override {}
  void Invalidate(ui::SlotWindow) override {}
  bool SetSizingBorder(ui::SlotWindow, bool) override { return false; }
  void RelayoutPlayers(ui::SlotWindow) override {}
};

void Place(ui::RoomLayoutRecord* room, const PanelSize& panel, int32_t x, int32_t y, bool shown,
           const Desktop& d) {
  x = std::max<int32_t>(0, std::min(x, d.width - panel.width));
  y = std::max<int32_t>(0, std::min(y, d.height - panel.height));
  ui::SlotPlacement& p = room->slots[panel.slot];
  p.rect = ui::SlotRect{x, y, x + panel.width, y + panel.height};
  p.inLayout = 1;
  p.showInRoom = shown ? 1 : 0;
}

ui::RoomLayoutRecord GameRoom(const Desktop& d) {
  ui::RoomLayoutRecord room{};
  const int32_t panelsTop = d.height * 3 / 8;
  Place(&room, kPlayers, d.width - (kPlayers.width + kGap), panelsTop, true, d);
  Place(&room, kMoveList, d.width - (kPlayers.width + kGap) - (kMoveList.width + kGap), panelsTop,
        false, d);
  const int32_t leftTop = d.height / 8;
  Place(&room, kMentor, kGap, leftTop, false, d);
  Place(&room, kDictionary, 2 * kGap + kMentor.width, leftTop, false, d);
  Place(&room, kRemainder, d.width - (kRemainder.width + kGap), kGap, false, d);
  return room;
}

bool WriteLayout(const std::string& folder, const Desktop& d, DesktopOnlyPort* port) {
  port->desktop = d;
  ui::ResetWindowSlotRegistry();  // every other room: no panel placed
  const ui::RoomLayoutRecord game = GameRoom(d);
  ui::StoreRoomLayoutRecord(kGameRoom, &game);
  char name[64];
  std::snprintf(name, sizeof name, "Default(%dx%d).LAY", d.width, d.height);
  const std::string path = folder + "\\" + name;
  platform::RemoveFile(path.c_str());  // a fresh file, not merged into an old one
  ui::ExportPageLayout(path.c_str());
  return platform::FileExists(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: laygen <output folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  std::replace(folder.begin(), folder.end(), '/', '\\');
  // The page-layout code keeps the file it writes in the settings record.
  if (!shell::CreateAppContextAt(folder + "\\laygen.exe")) {
    std::fprintf(stderr, "laygen: cannot set up in %s\n", argv[1]);
    return 1;
  }
  DesktopOnlyPort port;
  ui::SlotWindowPort* previous = ui::SetSlotWindowPort(&port);
  int status = 0;
  for (const Desktop& d : kDesktops)
    if (!WriteLayout(folder, d, &port)) {
      std::fprintf(stderr, "laygen: could not write the %dx%d layout\n", d.width, d.height);
      status = 1;
    }
  ui::SetSlotWindowPort(previous);
  shell::DestroyAppContext();
  return status;
}
