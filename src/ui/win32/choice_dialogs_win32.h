#pragma once
// The in-game choice dialogs: the letter of a blank ("Joker"), the tiles to
// swap ("Letters to swap", modeless) and a computer player's dictionary
// level ("Edit Player Profile").
#include <windows.h>

#include <cstdint>

class CGame;

namespace ui {

enum : int {
  kIdBlankEdit = 982,
  kIdExchangeAll = 1078,
  kIdExchangeSwap = 1079,
  kIdExchangeCancel = 1080,
  kIdLevelSpin = 1045,
  kIdLevelEdit = 1043,
};

// Asks until a blank that has no letter yet gets one; a blank that has a
// letter keeps it when the answer is no letter. The byte ends upper case.
void ChooseBlankLetter(char* letter, HWND owner);
bool IsBlankQuestionOpen();
HWND GetBlankQuestionDialog();

// The board window's side of the game's exchange: the dialog over `owner`
// for the game's viewing player. False when one is open already or the
// dialog cannot be made. When it closes the game is told
// (ExchangeDialogClosed).
bool OpenExchangeDialog(HWND owner, CGame* game);
void CloseExchangeDialog();
HWND GetExchangeDialog();

// Runs "Edit Player Profile" over the options record (13 words: the first
// byte the human flag, word 2 the level); the new level, or 0 when
// cancelled.
INT_PTR RunDictionaryLevelDialog(HWND owner, int32_t* options);
INT_PTR CALLBACK DictionaryLevelDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace ui
