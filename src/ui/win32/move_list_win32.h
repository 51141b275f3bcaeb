#pragma once
// The move list panel (slot 6: every move of the history, stepping and
// jumping through it) and the comment panel (slot 26: the game's free-text
// note). Both live from start-up to shut-down and are shown per room.
#include <windows.h>

#include <cstdint>

namespace ui {

enum : int {
  kIdMoveList = 1591,
  kIdMoveNext = 1338,
  kIdMovePrevious = 1339,
  kIdCommentEdit = 4038,
};
constexpr UINT kMsgPanelClose = 0x8504;

// -1 when either argument is null, else 0 (also when creation fails).
int CreateMoveListWindow(HWND parent, HINSTANCE instance);
// Selects row number-1; -1 when the list refuses, else 0.
int SelectMoveListRow(HWND dialog, int moveNumber);
// Appends a row to the slot-6 list and selects it (with a current game).
void AddMoveListRow(const char* text);
// Refills the list from the current game's history; the cursor stays.
void RebuildMoveList(HWND dialog);
// Replays the current game to the selected row.
void GoToSelectedMove(HWND dialog);
// Enables the step buttons and jumping by the list.
void EnableMoveListNavigation(bool enable);
bool IsMoveListNavigationEnabled();

int CreateCommentWindow(HWND parent, HINSTANCE instance);
void DestroyCommentWindow();
// A new block (the caller frees it with GlobalFreePtr) of the edit's text;
// null when there is no panel or its edit is empty.
char* GetCommentText();
void SetCommentText(const char* text);
void ClearCommentEdit();

}  // namespace ui
