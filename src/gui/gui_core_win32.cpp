// Toolkit start-up on Windows: class registration, wheel settings and the
// placement markup of control captions.
#include <windows.h>

#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_list_wnd.h"
#include "gui/win32/gui_listview.h"
#include "gui/win32/gui_menu_win32.h"
#include "gui/win32/gui_tree_view.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {
HINSTANCE g_instance = nullptr;       // given to GuiInitialize
HINSTANCE g_classInstance = nullptr;  // the widget classes' instance

// The widget classes in their registration order (a superclass after its
// base). Each family adds its registration here when it is built.
using RegisterFn = int (*)(HINSTANCE);
const RegisterFn kClassRegistrations[] = {
    RegisterCGUIBMPButton,   RegisterCGUIHotButton, RegisterAnimButton,   RegisterCGUIStatic,
    RegisterCGUIScrollBar,   RegisterCGUISpinEdit,  RegisterCGUIComboBox, RegisterCGUIEdit,
    RegisterCGUIRichEdit,    RegisterCC20SpinList,  RegisterCGUITrackbar, RegisterCGUIListWnd,
    RegisterCGUITreeViewWnd, RegisterCGUIColorText, RegisterCGUITabWnd,   RegisterCGUIListViewWnd,
    RegisterCGUISplitter,
};
}  // namespace

HINSTANCE GuiGetInstance() { return g_instance; }

int GuiRegisterClasses(HINSTANCE instance) {
  g_classInstance = instance;
  int result = 1;
  for (RegisterFn fn : kClassRegistrations)
    if (fn) result = fn(instance);
  return result;
}

int GuiUnregisterClasses() {
  UnregisterCGUIEdit();
  UnregisterCGUIRichEdit();
  AnimButtonShutdown();
  UnregisterCGUIColorText(g_classInstance);
  UnregisterCGUISplitter();
  int result = GuiFreeSkin();
  g_classInstance = nullptr;
  return result;
}

int GuiInitialize(HINSTANCE instance) {
  g_instance = instance;
  GuiRegisterClasses(instance);
  GuiRegisterDialogClass(instance);
  return GuiMenuInit(instance);
}

void GuiShutdown() {
  GuiUnregisterClasses();
  GuiMenuShutdown();
  g_instance = nullptr;
}

int GuiWheelScrollLines() {
  UINT lines = 3;
  if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  return static_cast<int>(lines);
}

void GuiParseCaptionPlacement(HWND window) {
  char text[257] = {};
  GetWindowTextA(window, text, sizeof text);
  CaptionPlacement p;
  if (!GuiParseCaptionMarkup(text, &p)) return;
  SetWindowPos(window, nullptr, p.x, p.y, p.cx, p.cy, p.swpFlags);
}

}  // namespace gui
