#include "ui/window_slots.h"

#include <algorithm>
#include <cstring>

namespace ui {
namespace {

// Does nothing, for a registry without a window system.
class NullPort : public SlotWindowPort {
 public:
  void Show(SlotWindow, bool) override {}
  void Enable(SlotWindow, bool) override {}
  SlotRect WindowRect(SlotWindow) override { return {}; }
  SlotRect ClientRect(SlotWindow) override { return {}; }
  void DesktopSize(int32_t* w, int32_t* h) override { *w = 1024, *h = 768; }
  void BeginMoves(int) override {}
  void Move(SlotWindow, const SlotRect&, uint32_t) override {}
  void EndMoves() override {}
  void SetPos(SlotWindow, const SlotRect&, uint32_t) override {}
  intptr_t Send(SlotWindow, uint32_t, uintptr_t, intptr_t) override { return 0; }
  bool Post(SlotWindow, uint32_t, uintptr_t, intptr_t) override { return false; }
  void CheckButton(SlotWindow, int, bool) override {}
  void Destroy(SlotWindow) override {}
  void RepaintAll() override {}
  void Invalidate(SlotWindow) override {}
  bool SetSizingBorder(SlotWindow, bool) override { return false; }
  void RelayoutPlayers(SlotWindow) override {}
};

NullPort g_nullPort;
SlotWindowPort* g_port = &g_nullPort;

struct SlotSize {
  int32_t width, height;
};

struct Registry {
  SlotWindow windows[kPlacementCount];
  RoomLayoutRecord rooms[kRoomLayoutCount];
  SlotSize sizes[kPlacementCount];
  int current;
  int32_t displayWidth, displayHeight;
  bool displayKnown;
};

Registry g_registry{};
bool g_lockedWindows = false;

bool ValidSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
bool ValidRoom(int room) { return room >= 0 && room < kRoomLayoutCount; }

SlotPlacement& Placement(int slot) { return g_registry.rooms[g_registry.current].slots[slot]; }

bool Shown(const SlotPlacement& p) { return p.visible && !p.closed; }

// A slot with a panel-toolbar button shows the window's state on it.
void UpdateToolbarButton(int slot) {
  const int button = SlotToToolbarButton(slot);
  SlotWindow toolbar = g_registry.windows[kSlotPanelToolbar];
  if (button && toolbar) g_port->CheckButton(toolbar, button, Shown(Placement(slot)));
}

void ApplyShowCommand(int slot, int command) {
  SlotPlacement& p = Placement(slot);
  SlotWindow w = g_registry.windows[slot];
  if (command == kShowToggle) command = Shown(p) ? kShowHide : kShowShow;
  switch (command) {
    case kShowHide:
      if (w) g_port->Show(w, false);
      p.visible = 0;
      break;
    case kShowShow:
      if (w) g_port->Show(w, true);
      p.visible = 1;
      p.closed = 0;
      break;
    case kShowSuspend:
      if (!p.visible) break;
      if (w) g_port->Show(w, false);
      p.closed = 1;
      break;
    case kShowResume:
      if (!p.closed) break;
      if (w) g_port->Show(w, true);
      p.closed = 0;
      break;
    default:
      break;
  }
}

// Panels whose size the layout never changes, and toolbars it never moves.
bool FixedSizeInLayout(int slot) {
  return (slot >= 7 && slot <= 15) || slot == 17 || slot == 18 || slot == 19 || slot == 23 ||
         slot == 29 || slot == 30;
}

bool Inside(const SlotRect& inner, const SlotRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

SlotWindowPort* SetSlotWindowPort(SlotWindowPort* port) {
  SlotWindowPort* old = g_port == &g_nullPort ? nullptr : g_port;
  g_port = port ? port : &g_nullPort;
  return old;
}

int WindowSlotOp(int op, int slot, intptr_t arg) {
  if (op < 0 || op > kOpGetRoomFlag || !ValidSlot(slot)) return 0;
  SlotPlacement& p = Placement(slot);
  SlotWindow& w = g_registry.windows[slot];
  switch (op) {
    case kOpRegister:
      w = reinterpret_cast<SlotWindow>(arg);
      break;
    case kOpUnregister:
      w = nullptr;
      break;
    case kOpGetRect:
    case kOpGetRect2:
      if (arg) *reinterpret_cast<SlotRect*>(arg) = p.rect;
      break;
    case kOpSetRect:
      if (arg) p.rect = *reinterpret_cast<const SlotRect*>(arg);
      break;
    case kOpStoreRect:
      if (!arg) {
        if (w) p.rect = g_port->WindowRect(w);
      } else {
        const auto* pos = reinterpret_cast<const SlotWindowPos*>(arg);
        if (!(pos->flags & kSwpNoClientSize))
          p.rect = SlotRect{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
      }
      break;
    case kOpShow:
      ApplyShowCommand(slot, static_cast<int>(arg));
      UpdateToolbarButton(slot);
      break;
    case kOpDisable:
    case kOpEnable:
      EnableSlotWindow(slot, op);
      break;
    case kOpReplace:
      if (!arg) break;
      if (w) g_port->Show(w, false);
      w = reinterpret_cast<SlotWindow>(arg);
      break;
    case kOpGetVisible:
      if (arg) *reinterpret_cast<int32_t*>(arg) = p.visible;
      break;
    case kOpSetRoomFlag:
      p.roomFlag = static_cast<int32_t>(arg);
      break;
    case kOpGetRoomFlag:
      if (arg) *reinterpret_cast<int32_t*>(arg) = p.roomFlag;
      break;
  }
  return 1;
}

SlotWindow GetSlotWindow(int slot) { return ValidSlot(slot) ? g_registry.windows[slot] : nullptr; }

int FindSlotOfWindow(SlotWindow window) {
  if (!window) return -1;
  for (int slot = kFirstPanelSlot; slot < kSlotCount; ++slot)
    if (g_registry.windows[slot] == window) return slot;
  return -1;
}

bool IsPanelWindow(SlotWindow window) { return FindSlotOfWindow(window) >= 0; }

int IsSlotShown(int slot) { return ValidSlot(slot) && Shown(Placement(slot)) ? 1 : 0; }

int GetSlotShowCommand(int slot) { return IsSlotShown(slot) ? kShowShow : kShowHide; }

int SlotToToolbarButton(int slot) {
  switch (slot) {
    case kSlotMoveList:
      return 30488;
    case kSlotDictionary:
      return 30500;
    case kSlotMentor:
      return 30524;
    case kSlotRemainingTiles:
      return 30512;
    case kSlotChat:
      return 30536;
    case kSlotFriendsList:
      return 30542;
    case kSlotPlayers:
      return 30506;
    case kSlotUserComments:
      return 30530;
    default:
      return 0;
  }
}

bool BroadcastToSlotWindows(uint32_t message, uintptr_t wParam, intptr_t lParam, int post) {
  bool any = false;
  for (int slot = kSlotBoard; slot < kSlotCount; ++slot) {
    SlotWindow w = g_registry.windows[slot];
    if (!w) continue;
    if (post)
      any |= g_port->Post(w, message, wParam, lParam);
    else
      any |= g_port->Send(w, message, wParam, lParam) != 0;
  }
  return any;
}

RoomLayoutRecord* GetRoomLayoutRecord(int room) {
  return ValidRoom(room) ? &g_registry.rooms[room] : nullptr;
}

int GetRoomSlotRect(int room, int slot, SlotRect* rect) {
  if (!rect || !ValidRoom(room) || slot < 0 || slot >= kPlacementCount) return 0;
  *rect = g_registry.rooms[room].slots[slot].rect;
  return 1;
}

int GetCurrentLayoutIndex() { return g_registry.current; }

void SetCurrentLayoutIndex(int room) {
  if (ValidRoom(room)) g_registry.current = room;
}

int ApplyRoomLayout(int room) {
  if (!ValidRoom(room)) return room;
  const int previous = g_registry.current;
  g_registry.current = room;
  RoomLayoutRecord& record = g_registry.rooms[room];
  if (record.slots[kSlotPlayers].showInRoom && g_registry.windows[kSlotPlayers])
    g_port->RelayoutPlayers(g_registry.windows[kSlotPlayers]);
  g_port->BeginMoves(28);
  for (int slot = kFirstPanelSlot; slot < kSlotCount; ++slot) {
    SlotPlacement& p = record.slots[slot];
    if (!p.inLayout) continue;
    p.visible = p.showInRoom;
    SlotWindow w = g_registry.windows[slot];
    if (!w) continue;
    uint32_t flags = kSwpNoZOrder | (p.visible ? kSwpShowWindow : kSwpHideWindow);
    if (FixedSizeInLayout(slot)) flags |= kSwpNoSize;
    if (slot == kSlotPanelToolbar || slot == kSlotGameToolbar) flags |= kSwpNoMove;
    ClampRectToDesktop(&p.rect);
    g_port->Move(w, p.rect, flags);
  }
  g_port->EndMoves();
  for (int slot : {kSlotRoom, kSlotBoard})
    if (record.slots[slot].rect.Empty() && previous != room)
      record.slots[slot].rect = g_registry.rooms[previous].slots[slot].rect;
  SlotWindowPos none{};
  FrameMoved(&none);
  if (room != 0) g_port->RepaintAll();
  return previous;
}

int StoreRoomLayoutRecord(int room, const RoomLayoutRecord* record) {
  if (!record || !ValidRoom(room)) return 0;
  g_registry.rooms[room] = *record;
  if (room == g_registry.current) ApplyRoomLayout(room);
  return 1;
}

int FrameMoved(const SlotWindowPos* pos) {
  if (!pos) return 0;
  const SlotRect frame = Placement(kSlotMainFrame).rect;
  if ((pos->flags & kSwpNoSize) && !(pos->flags & kSwpNoCopyBits)) {
    g_port->BeginMoves(28);
    for (int slot = kFirstPanelSlot; slot < kSlotCount; ++slot) {
      SlotWindow w = g_registry.windows[slot];
      const SlotRect& r = Placement(slot).rect;
      if (!w || !Inside(r, frame)) continue;
      const int32_t x = r.left - frame.left + pos->x, y = r.top - frame.top + pos->y;
      g_port->Move(w, SlotRect{x, y, x + (r.right - r.left), y + (r.bottom - r.top)},
                   kSwpNoSize | kSwpNoZOrder);
    }
    g_port->EndMoves();
  } else if (SlotWindow room = g_registry.windows[kSlotRoom]) {
    SlotRect client{};
    if (SlotWindow main = g_registry.windows[kSlotMainFrame]) client = g_port->ClientRect(main);
    g_port->Send(room, kMsgRoomResized, 0, reinterpret_cast<intptr_t>(&client));
  }
  WindowSlotOp(kOpStoreRect, kSlotMainFrame, reinterpret_cast<intptr_t>(pos));
  return 1;
}

int RestoreSlotPlacement(int room, int slot, int resize) {
  if (!ValidRoom(room) || !ValidSlot(slot)) return 0;
  SlotPlacement& p = g_registry.rooms[room].slots[slot];
  if (!p.inLayout) return 0;
  p.visible = p.showInRoom;
  if (SlotWindow w = g_registry.windows[slot])
    g_port->SetPos(w, p.rect,
                   kSwpNoZOrder | (p.visible > 0 ? kSwpShowWindow : kSwpHideWindow) |
                       (resize ? 0u : static_cast<uint32_t>(kSwpNoSize)));
  return 0;
}

void ShowClosedSlotWindow(int slot) {
  if (!ValidSlot(slot)) return;
  SlotPlacement& p = Placement(slot);
  if (p.closed) {
    if (SlotWindow w = g_registry.windows[slot]) g_port->Show(w, true);
    p.closed = 0;
  }
  UpdateToolbarButton(slot);
}

void HideSlotWindowForLater(int slot) {
  if (!ValidSlot(slot)) return;
  SlotPlacement& p = Placement(slot);
  if (p.visible) {
    if (SlotWindow w = g_registry.windows[slot]) g_port->Show(w, false);
    p.closed = 1;
  }
  UpdateToolbarButton(slot);
}

void EnableSlotWindow(int slot, int op) {
  if (SlotWindow w = GetSlotWindow(slot)) g_port->Enable(w, op != kOpDisable);
}

void InvalidateSlotWindow(int slot) {
  if (SlotWindow w = GetSlotWindow(slot)) g_port->Invalidate(w);
}

void DestroySlotWindow(int slot) {
  SlotWindow w = GetSlotWindow(slot);
  if (!w) return;
  g_port->Destroy(w);
  // The window's own hook unregisters it on WM_DESTROY; a window without
  // the hook must not stay behind as a dangling handle either.
  if (g_registry.windows[slot] == w) g_registry.windows[slot] = nullptr;
}

void StoreSlotWindowSize(int slot) {
  SlotWindow w = GetSlotWindow(slot);
  if (!w) return;
  const SlotRect r = g_port->WindowRect(w);
  g_registry.sizes[slot] = SlotSize{r.right - r.left, r.bottom - r.top};
}

void GetSlotWindowSize(int slot, int32_t* width, int32_t* height) {
  const SlotSize s = ValidSlot(slot) ? g_registry.sizes[slot] : SlotSize{0, 0};
  if (width) *width = s.width;
  if (height) *height = s.height;
}

void ClampRectToDesktop(SlotRect* r) {
  if (!r) return;
  int32_t W = 0, H = 0;
  g_port->DesktopSize(&W, &H);
  const int32_t w = std::min(r->right - r->left, W), h = std::min(r->bottom - r->top, H);
  if (r->left < 0) r->left = 0, r->right = w;
  if (r->top < 0) r->top = 0, r->bottom = h;
  if (r->right > W) r->right = W, r->left = W - w;
  if (r->bottom > H) r->bottom = H, r->top = H - h;
}

void SetLockedWindowsOption(bool locked) { g_lockedWindows = locked; }

void ApplyPanelSizeLock() {
  for (int slot : {3, 4, 21, 22, 23, 24, 6, 26, 25, 20}) {
    SlotWindow w = g_registry.windows[slot];
    if (w && g_port->SetSizingBorder(w, !g_lockedWindows))
      g_port->SetPos(w, SlotRect{}, kSwpNoSize | kSwpNoMove | kSwpFrameChanged);
  }
}

void ResetWindowSlotRegistry() {
  g_registry = Registry{};
  g_registry.displayKnown = true;
  g_port->DesktopSize(&g_registry.displayWidth, &g_registry.displayHeight);
  g_registry.rooms[0].slots[kSlotMainFrame].visible = 1;
}

void GetDisplaySize(int32_t* width, int32_t* height) {
  if (width) *width = g_registry.displayWidth;
  if (height) *height = g_registry.displayHeight;
}

}  // namespace ui
