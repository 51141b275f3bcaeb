// laygen: writes the page layouts a new profile starts from.
//
//   laygen <output folder>
//
// One file per desktop size, "Default(<w>x<h>).LAY", written through the
// program's own page-layout code so that it reads them back exactly. The
// game room's panels stand where the main window puts them without a
// layout: the players panel and the move list in columns at the screen's
// right, the other panels at its left, none over another where the desktop
// has room; only the players panel shows.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

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

// Where panels may stand: below the main window's caption and above the
// toolbars along the screen's bottom edge.
constexpr int32_t kCaption = 40;
constexpr int32_t kToolbars = 64;

struct Box {
  int32_t left, top, right, bottom;
};

Box At(const PanelSize& panel, int32_t x, int32_t y) {
  return {x, y, x + panel.width, y + panel.height};
}

int64_t Overlap(const Box& a, const Box& b) {
  const int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Places panels one by one, each at the first of its candidate spots that
// lies in the free area and clear of the panels placed before it. On a
// desktop too small for that, the candidate covering the least of the
// others wins, so that every panel still shows most of itself.
class Packer {
 public:
  explicit Packer(const Desktop& d) : d_(d) {}

  Box Place(ui::RoomLayoutRecord* room, const PanelSize& panel, bool shown,
            std::initializer_list<Box> candidates) {
    Box best{};
    int64_t bestCover = -1;
    for (Box b : candidates) {
      const bool inside = b.left >= kGap && b.top >= kCaption && b.right <= d_.width - kGap &&
                          b.bottom <= d_.height - kToolbars - kGap;
      b = Clamped(b);
      int64_t cover = 0;
      for (const Box& other : placed_)
        cover += Overlap(b, other);
      if (inside && cover == 0) {
        best = b;
        break;
      }
      if (bestCover < 0 || cover < bestCover) best = b, bestCover = cover;
    }
    placed_.push_back(best);
    ui::SlotPlacement& p = room->slots[panel.slot];
    p.rect = ui::SlotRect{best.left, best.top, best.right, best.bottom};
    p.inLayout = 1;
    p.showInRoom = shown ? 1 : 0;
    return best;
  }

 private:
  Box Clamped(const Box& b) const {
    const int32_t w = b.right - b.left, h = b.bottom - b.top;
    const int32_t x = std::max<int32_t>(0, std::min(b.left, d_.width - w));
    const int32_t y = std::max<int32_t>(0, std::min(b.top, d_.height - h));
    return {x, y, x + w, y + h};
  }
  Desktop d_;
  std::vector<Box> placed_;
};

// The players panel and the move list stand in columns at the screen's
// right, beside the board; the word panels at its left.
ui::RoomLayoutRecord GameRoom(const Desktop& d) {
  ui::RoomLayoutRecord room{};
  Packer pack(d);
  const int32_t lowest = d.height - kToolbars - kGap - kPlayers.height;
  const int32_t columnsTop = std::max(kCaption, std::min(d.height * 3 / 8, lowest));
  const Box players = pack.Place(&room, kPlayers, true,
                                 {At(kPlayers, d.width - kGap - kPlayers.width, columnsTop)});
  const Box moves = pack.Place(&room, kMoveList, false,
                               {At(kMoveList, players.left - kGap - kMoveList.width, players.top)});
  const Box mentor =
      pack.Place(&room, kMentor, false, {At(kMentor, kGap, std::max(kCaption, d.height / 8))});
  const Box remainder = pack.Place(&room, kRemainder, false,
                                   {At(kRemainder, mentor.left, mentor.bottom + kGap),
                                    At(kRemainder, mentor.right + kGap, mentor.top),
                                    At(kRemainder, moves.left - kGap - kRemainder.width, moves.top),
                                    At(kRemainder, moves.left, moves.bottom + kGap)});
  pack.Place(&room, kDictionary, false,
             {At(kDictionary, mentor.right + kGap, mentor.top),
              At(kDictionary, remainder.right + kGap, mentor.top),
              At(kDictionary, mentor.left, mentor.bottom + kGap),
              At(kDictionary, moves.left - kGap - kDictionary.width, moves.top)});
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
