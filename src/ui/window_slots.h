#pragma once
// The program's table of well-known windows: each window that other code
// must find registers under a fixed slot, and for each of the 18 rooms a
// placement per slot (rectangle, visibility, flags) is kept, so that entering
// a room moves, shows and hides the panels as that room last had them.
//
// The registry itself is portable; what it asks of the window system goes
// through SlotWindowPort, which the Win32 side implements on HWNDs and tests
// replace with a recording fake.
#include <cstdint>

namespace ui {

using SlotWindow = void*;  // an HWND on Windows

constexpr int kSlotCount = 31;        // slots 0 to 30
constexpr int kPlacementCount = 32;   // per room; slot 31 is never used
constexpr int kRoomLayoutCount = 18;  // room ids 0 to 17
constexpr int kFirstPanelSlot = 3;    // slots 3 to 30 are the panels
constexpr int kNetworkRoom = 4;       // panels suspended, windowless slots skipped

enum SlotId : int {
  kSlotMainFrame = 0,
  kSlotRoom = 1,
  kSlotBoard = 2,
  kSlotTutorial = 3,
  kSlotCurriculum = 4,
  kSlotRoomPanel = 5,
  kSlotMoveList = 6,
  kSlotDictionary = 7,
  kSlotMentor = 8,
  kSlotPositionSetup = 9,
  kSlotRemainingTiles = 10,
  kSlotChat = 11,
  kSlotNetworkGame = 12,
  kSlotFriendsList = 15,
  kSlotProfile = 16,
  kSlotPlayers = 17,
  kSlotGameInfo = 18,
  kSlotAnagramList = 19,
  kSlotSideGameEntry = 20,
  kSlotHintsList = 21,
  kSlotHint = 22,
  kSlotCommentedGames = 23,
  kSlotCommentedComments = 24,
  kSlotExerciseList = 25,
  kSlotUserComments = 26,
  kSlotBestMoveInfo = 27,
  kSlotFriendsSearch = 28,
  kSlotPanelToolbar = 29,
  kSlotGameToolbar = 30,
};

// SetWindowPos flags and show commands, with the window system's values.
enum : uint32_t {
  kSwpNoSize = 0x1,
  kSwpNoMove = 0x2,
  kSwpNoZOrder = 0x4,
  kSwpFrameChanged = 0x20,
  kSwpShowWindow = 0x40,
  kSwpHideWindow = 0x80,
  kSwpNoCopyBits = 0x100,
  kSwpNoClientSize = 0x1000,  // a WINDOWPOS that only re-frames: its rectangle is not kept
};
enum ShowCommand : int {
  kShowHide = 0,
  kShowShow = 5,
  kShowToggle = 9,
  kShowSuspend = 12,
  kShowResume = 13,
};
enum SlotOp : int {
  kOpRegister = 0,
  kOpUnregister = 1,
  kOpGetRect = 2,
  kOpGetRect2 = 3,
  kOpSetRect = 4,
  kOpStoreRect = 5,
  kOpShow = 6,
  kOpDisable = 7,
  kOpEnable = 8,
  kOpReplace = 9,
  kOpGetVisible = 10,
  kOpSetRoomFlag = 11,
  kOpGetRoomFlag = 12,
};

// Private messages of the slot windows.
constexpr uint32_t kMsgRoomResized = 0x8102;  // to the room window: lParam the frame's client
constexpr uint32_t kMsgSlotQuery = 0x8502;    // wParam 1: "keep your size?"; lParam 0: room flag

struct SlotRect {
  int32_t left, top, right, bottom;
  bool Empty() const { return right <= left || bottom <= top; }
};

struct SlotPlacement {
  SlotRect rect;
  int32_t visible;     // shown now
  int32_t closed;      // hidden by a suspend, shown again by a resume
  int32_t roomFlag;    // a value the window keeps per room
  int32_t inLayout;    // the page layout places this slot in this room
  int32_t showInRoom;  // shown when the room's layout is applied
};

struct RoomLayoutRecord {
  int32_t panelsHidden;
  SlotPlacement slots[kPlacementCount];
};

// The part of a WINDOWPOS the registry reads.
struct SlotWindowPos {
  int32_t x, y, cx, cy;
  uint32_t flags;
};

class SlotWindowPort {
 public:
  virtual ~SlotWindowPort() = default;
  virtual void Show(SlotWindow window, bool show) = 0;
  virtual void Enable(SlotWindow window, bool enable) = 0;
  virtual SlotRect WindowRect(SlotWindow window) = 0;
  virtual SlotRect ClientRect(SlotWindow window) = 0;  // in the window's own coordinates
  virtual void DesktopSize(int32_t* width, int32_t* height) = 0;
  // One batch of moves (BeginDeferWindowPos ... EndDeferWindowPos).
  virtual void BeginMoves(int count) = 0;
  virtual void Move(SlotWindow window, const SlotRect& rect, uint32_t flags) = 0;
  virtual void EndMoves() = 0;
  virtual void SetPos(SlotWindow window, const SlotRect& rect, uint32_t flags) = 0;
  virtual intptr_t Send(SlotWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual bool Post(SlotWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // BM_SETCHECK on the button with this id inside the toolbar window.
  virtual void CheckButton(SlotWindow toolbar, int buttonId, bool checked) = 0;
  virtual void Destroy(SlotWindow window) = 0;
  virtual void RepaintAll() = 0;
  // InvalidateRect(window, null, FALSE).
  virtual void Invalidate(SlotWindow window) = 0;
  // Adds or removes the sizing border of a skinned frame; true when it changed.
  virtual bool SetSizingBorder(SlotWindow window, bool sizable) = 0;
  // The players panel lays its rows out again.
  virtual void RelayoutPlayers(SlotWindow panel) = 0;
};

// Installs the port (not owned); null leaves the registry without a window
// system: every window operation is skipped. Returns the previous one.
SlotWindowPort* SetSlotWindowPort(SlotWindowPort* port);

// 0 for an op above 12 (or a slot outside 0..30), else 1. `arg`: the window
// (register, replace), a SlotRect* (rectangles), a SlotWindowPos* or 0 (store),
// the show command, an int32_t* (get visible, get room flag) or the flag.
int WindowSlotOp(int op, int slot, intptr_t arg);
SlotWindow GetSlotWindow(int slot);
bool IsPanelWindow(SlotWindow window);
int FindSlotOfWindow(SlotWindow window);
int IsSlotShown(int slot);
int GetSlotShowCommand(int slot);
int SlotToToolbarButton(int slot);
bool BroadcastToSlotWindows(uint32_t message, uintptr_t wParam, intptr_t lParam, int post);
// Null for a room outside 0..17.
RoomLayoutRecord* GetRoomLayoutRecord(int room);
int GetRoomSlotRect(int room, int slot, SlotRect* rect);
int GetCurrentLayoutIndex();
void SetCurrentLayoutIndex(int room);
int ApplyRoomLayout(int room);
int StoreRoomLayoutRecord(int room, const RoomLayoutRecord* record);
int FrameMoved(const SlotWindowPos* pos);
int RestoreSlotPlacement(int room, int slot, int resize);
void ShowClosedSlotWindow(int slot);
void HideSlotWindowForLater(int slot);
void EnableSlotWindow(int slot, int op);
// Repaints the slot's window later, without erasing it first.
void InvalidateSlotWindow(int slot);
void DestroySlotWindow(int slot);
void StoreSlotWindowSize(int slot);
// The width and height StoreSlotWindowSize recorded (0 by 0 when none).
void GetSlotWindowSize(int slot, int32_t* width, int32_t* height);
void ClampRectToDesktop(SlotRect* rect);
// The "Locked Windows" option as the options last set it.
void SetLockedWindowsOption(bool locked);
void ApplyPanelSizeLock();
void ResetWindowSlotRegistry();
// The desktop size the reset read.
void GetDisplaySize(int32_t* width, int32_t* height);

}  // namespace ui
