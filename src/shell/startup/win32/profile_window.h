#pragma once
// The player profile window (dialog 22): the profile and its three
// statistics tables on four tab pages. Modeless in window slot 16 for the
// current profile (refreshed when another is selected), or modal for a named
// profile.
#include <windows.h>

namespace shell {

struct UserProfile;

// The profile page re-reads its fields from the profile in lParam.
constexpr UINT kMsgProfileChanged = 0x1101;

// No name: the modeless window for the current profile (its handle). A
// name: that profile's window, run modally (null once it has ended).
HWND ShowProfileWindow(HWND parent, HINSTANCE instance, const char* profileName);
// Sends the profile to the modeless window, if any.
void NotifyProfileWindow(const UserProfile& profile);
void CloseProfileWindow();
void ShowProfileWindowPage(bool show, int page);

// A child dialog from the resource `dialogId`, inserted as tab `index` of
// the tab control with the title; the page window.
HWND AddDialogTabPage(HWND parent, int index, int dialogId, int tabControlId, const char* title,
                      DLGPROC procedure, LPARAM parameter);

// The four pages' procedures (the profile page and the statistics pages);
// their parameter is the window's profile copy.
INT_PTR CALLBACK ProfilePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GameStatsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TournamentStatsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OnlineStatsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace shell
