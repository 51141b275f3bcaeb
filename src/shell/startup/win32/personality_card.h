#pragma once
// The personality card: a window of class "QN9000PersClass" showing one
// personality's portrait (from the "faces" pack), its name upper-cased with
// its rating, and its description. The chooser shows four of them side by
// side; the card dialog (16011) shows one. A click on a card is passed to
// its parent as WM_COMMAND (BN_CLICKED) from the card's id.
#include <windows.h>

#include "shell/personality.h"

namespace shell {

constexpr char kPersonalityCardClass[] = "QN9000PersClass";
constexpr int kPersonalityCardWidth = 236;
constexpr int kPersonalityCardHeight = 113;
constexpr int kPersonalityCardDialog = 16011;

// Counted: the class stays registered until every user has let it go. The
// portraits read meanwhile are kept until the last one does.
bool AcquirePersonalityCardClass(HINSTANCE instance);
void ReleasePersonalityCardClass(HINSTANCE instance);

HWND CreatePersonalityCard(HWND parent, int id, int x, int y);
// The entry the card shows (null: an empty card); it must outlive the card
// or be replaced first.
void SetPersonalityCardEntry(HWND card, const PersonalityEntry* entry);
const PersonalityEntry* GetPersonalityCardEntry(HWND card);
// The entry drawn as selected on every card.
void SetSelectedPersonalityEntry(const PersonalityEntry* entry);

// Sizes a window so that its client area is width x height, whatever its
// frame (the skinned frames are not the system's).
void FitClientArea(HWND window, int width, int height);

// The card dialog for the personality of that file name ("pip" or
// "pip.QNP"); false when it is not in the personality list.
bool ShowPersonalityCardDialog(HWND owner, const char* name);

}  // namespace shell
