#include "shell/window/dialog_support.h"

#include <vector>

#include "shell/modeless_registry.h"
#include "shell/window/win_utils.h"

namespace shell {
namespace {

InterfaceSwitch g_interfaceSwitch = nullptr;
int g_userDataOffset = 0;
constexpr char kOldProcProp[] = "StaticFontOldProc";

struct ControlBox {
  HWND window;
  RECT rect;  // in the dialog's client coordinates
};

// The controls found, in order; false when any is missing.
bool FindControls(HWND dialog, const int* ids, int count, std::vector<ControlBox>& out) {
  for (int i = 0; i < count; ++i) {
    HWND c = GetDlgItem(dialog, ids[i]);
    if (!c) return false;
    RECT r;
    GetWindowRect(c, &r);
    ScreenRectToClient(dialog, &r);
    out.push_back({c, r});
  }
  return true;
}

void Spread(HWND dialog, const int* ids, int count) {
  std::vector<ControlBox> boxes;
  if (!dialog || !FindControls(dialog, ids, count, boxes)) return;
  RECT client;
  GetClientRect(dialog, &client);
  int free = client.right - client.left;
  for (const ControlBox& b : boxes)
    free -= b.rect.right - b.rect.left;
  const int gap = free / (count + 1);
  int x = gap;
  for (const ControlBox& b : boxes) {
    SetWindowPos(b.window, nullptr, x, b.rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    x += (b.rect.right - b.rect.left) + gap;
  }
}

}  // namespace

void SetInterfaceSwitch(InterfaceSwitch fn) { g_interfaceSwitch = fn; }
InterfaceSwitch GetInterfaceSwitch() { return g_interfaceSwitch; }

// Only the outermost modal dialog switches the interface.
static int OuterSwitch(int on) {
  return ModalDialogDepth() == 0 && g_interfaceSwitch ? g_interfaceSwitch(on) : 0;
}

// The nesting is the shell core's (one modal depth for the whole program,
// which ModalDialogDepth reports).
INT_PTR DoModalDialog(HINSTANCE instance, LPCSTR dialogTemplate, HWND owner, DLGPROC procedure,
                      LPARAM parameter) {
  struct Call {
    HINSTANCE instance;
    LPCSTR dialogTemplate;
    HWND owner;
    DLGPROC procedure;
    LPARAM parameter;
  } call{instance, dialogTemplate, owner, procedure, parameter};
  return RunModalDialog(
      OuterSwitch,
      [](void* context) -> intptr_t {
        const Call* c = static_cast<const Call*>(context);
        return DialogBoxParamA(c->instance, c->dialogTemplate, c->owner, c->procedure,
                               c->parameter);
      },
      &call);
}

void SetWindowUserDataOffset(int offset) { g_userDataOffset = offset; }

MessageBoxParams* GetWindowUserData(HWND window) {
  if (!window || !IsWindow(window)) return nullptr;
  return reinterpret_cast<MessageBoxParams*>(GetWindowLongPtrA(window, g_userDataOffset));
}

void CloseModelessDialog(HWND dialog, int result) {
  if (!dialog || !IsWindow(dialog)) return;
  MessageBoxParams* record = GetWindowUserData(dialog);
  const bool modal = record && (record->state & kMsgBoxModal);
  if (record && record->callback) record->callback(result, record->userValue);
  if (modal)
    EndDialog(dialog, result);
  else
    DestroyWindow(dialog);
}

void SpreadThreeButtons(HWND dialog, int id1, int id2, int id3) {
  const int ids[] = {id1, id2, id3};
  Spread(dialog, ids, 3);
}

void SpreadTwoButtons(HWND dialog, int id1, int id2) {
  const int ids[] = {id1, id2};
  Spread(dialog, ids, 2);
}

void CenterButton(HWND dialog, int id) {
  const int ids[] = {id};
  Spread(dialog, ids, 1);
}

LRESULT CALLBACK StaticFontSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcProp));
  LRESULT result = old ? CallWindowProcA(old, window, message, wParam, lParam)
                       : DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_CTLCOLORSTATIC && lParam) {
    HFONT font =
        reinterpret_cast<HFONT>(SendMessageA(reinterpret_cast<HWND>(lParam), WM_GETFONT, 0, 0));
    if (font) SelectObject(reinterpret_cast<HDC>(wParam), font);
  }
  if (message == WM_NCDESTROY) {
    if (old) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(window, kOldProcProp);
  }
  return result;
}

bool InstallStaticFontSubclass(HWND window) {
  if (!window || GetPropA(window, kOldProcProp)) return false;
  LONG_PTR old =
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticFontSubclassProc));
  if (!old) return false;
  SetPropA(window, kOldProcProp, reinterpret_cast<HANDLE>(old));
  return true;
}

}  // namespace shell
