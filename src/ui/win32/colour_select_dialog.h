#pragma once
// The colour chooser: three track bars and three numbers kept in step.
#include <windows.h>

namespace ui {

enum : int {
  kIdRedTrack = 599,
  kIdGreenTrack = 601,
  kIdBlueTrack = 602,
  kIdRedEdit = 1003,
  kIdGreenEdit = 1004,
  kIdBlueEdit = 1005,
  kIdColourSwatch = 1002,
};

// Runs the chooser on the colour; OK writes the chosen colour back and
// answers 1, Cancel leaves it and answers 0.
int RunColourSelectDialog(HWND owner, COLORREF* colour);

}  // namespace ui
