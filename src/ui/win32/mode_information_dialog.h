#pragma once
// "Mode information": a text about the mode being entered, with a box that
// stops it from showing again.
#include <windows.h>

namespace ui {

enum : int {
  kModeInformationTemplate = 4053,
  kIdModeInformationText = 4054,
  kIdModeInformationNoMore = 4055,
};
// The draw panel's command that opens the best-solution room's information.
constexpr int kIdShowSolvePositionInfo = 3793;
constexpr char kSolvePositionInfoKey[] = "Do not show solve position info";

// Shows string `textId` with the box ticked or not; answers the box's state
// when the dialog closes.
bool RunModeInformationDialog(HWND owner, UINT textId, bool noMore);

// The best-solution room's information (string 3063); the box starts from
// and is written back to "Do not show solve position info" in section
// "settings" of the current settings ini.
void ShowSolvePositionInfo(HWND owner);

}  // namespace ui
