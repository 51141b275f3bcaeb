#pragma once
// Dialog support the whole window side shares: modal dialogs that switch the
// rest of the interface off while the outermost one runs, closing a dialog
// through the record it keeps in its window data, and the button layout of
// small question dialogs.
#include <windows.h>

#include <cstdint>

namespace shell {

using MessageBoxCallback = void (*)(int result, uint32_t userValue);

// The record a dialog keeps in its window data (the message box's, for one):
// the close callback and its argument, and whether it runs modally.
struct MessageBoxParams {
  MessageBoxCallback callback;
  uint32_t userValue;
  uint32_t flags;
  uint32_t state;    // bit 0 modal, bit 1 set up
  const char* text;  // cleared once the box is set up
};
constexpr uint32_t kMsgBoxModal = 1, kMsgBoxSetUp = 2;

// The program's interface switch (the main frame's lock): takes 0 or 1 and
// answers whether the interface was on. Null: the interface counts as on.
using InterfaceSwitch = int (*)(int on);
void SetInterfaceSwitch(InterfaceSwitch fn);
InterfaceSwitch GetInterfaceSwitch();

// DialogBoxParamA with the interface off while the outermost modal dialog
// runs; a nested dialog leaves it to its outer one to switch it back on.
INT_PTR DoModalDialog(HINSTANCE instance, LPCSTR dialogTemplate, HWND owner, DLGPROC procedure,
                      LPARAM parameter);
int ModalDialogDepth();

// The byte offset of the record in the window data of dialogs that keep one.
void SetWindowUserDataOffset(int offset);
// The record, or null for a null or destroyed window.
MessageBoxParams* GetWindowUserData(HWND window);
// Calls the record's close callback (when set) with the result, then ends a
// modal dialog or destroys a modeless one. Nothing for a window that is gone.
void CloseModelessDialog(HWND dialog, int result);

// Spread the controls over the client width with equal gaps, keeping their
// sizes and heights; CenterButton centres one.
void SpreadThreeButtons(HWND dialog, int id1, int id2, int id3);
void SpreadTwoButtons(HWND dialog, int id1, int id2);
void CenterButton(HWND dialog, int id);

// Subclass procedure for a static control's parent: after the procedure it
// replaced (kept in the window property "StaticFontOldProc"), selects the
// static control's own font into the colour request's device context.
LRESULT CALLBACK StaticFontSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool InstallStaticFontSubclass(HWND window);

}  // namespace shell
