#pragma once
// The button, hot button, animated button, label, edit, rich edit and spin
// field classes: their registration, private messages and notifications.
#include <windows.h>

#include "gui/gui_skin.h"
#include "gui/utils.h"

namespace gui {

// Private messages.
constexpr UINT kMsgSetImage = 0x8600;       // wParam slot, lParam image; the old image
constexpr UINT kMsgRepeatPeriod = 0x8606;   // wParam: new period (0 keeps); the old one
constexpr UINT kMsgFreeImage = 0x8630;      // wParam slot: frees the image there
constexpr UINT kMsgStyleInk = 0x8631;       // text-style label: ink index or image
constexpr UINT kMsgStyleFont = 0x8642;      // text-style label: face, height and weight
constexpr UINT kMsgSpinSetRange = 0x8651;   // lParam MAKELONG(min, max), wParam value or -1
constexpr UINT kMsgSpinGetRange = 0x8652;   // MAKELONG(min, max)
constexpr UINT kMsgSpinGetPos = 0x8653;     // the value
constexpr UINT kMsgSpinSetPos = 0x8654;     // wParam: the value (clamped)
constexpr UINT kMsgEditBarRedraw = 0x86C1;  // wParam: the scroll bar's redraw switch
constexpr UINT kMsgHoverText = 0x8116;      // wParam: the hover text

// WM_COMMAND notification codes.
constexpr WORD kNotifyRepeat = 0x5E;       // a held auto-repeat button ticks
constexpr WORD kNotifySpinChanged = 0x5C;  // the spin's value changed
constexpr WORD kNotifySpinText = 0x5B;     // lParam: the number's text, rewritable
constexpr WORD kNotifyLabelEmpty = 0x100;  // a label painted nothing
constexpr size_t kSpinTextSize = 1024;     // the text the parent may rewrite

// Kind flag of a button's extended style: light up under the mouse.
constexpr DWORD kExHotTrack = 0x200000;
// Label styles.
constexpr DWORD kLabelParentBackground = 0x1, kLabelRight = 0x2, kLabelImage = 0x400,
                kLabelTextStyle = 0x800, kLabelHover = 0x10000, kLabelAlternative = 0x80000,
                kLabelHoverMark = 0x100000;
// Spin style: read-only edit, the parent sees each number first.
constexpr DWORD kSpinParentText = 0x800;

int RegisterCGUIBMPButton(HINSTANCE instance);
int CGUIBMPButtonApplySkin(SkinRegistry* source, GuiSkin* skin);
int RegisterCGUIHotButton(HINSTANCE instance);
int RegisterAnimButton(HINSTANCE instance);
int AnimButtonShutdown();
int RegisterCGUIStatic(HINSTANCE instance);
int RegisterCGUIEdit(HINSTANCE instance);
int UnregisterCGUIEdit();
int RegisterCGUIRichEdit(HINSTANCE instance);
int UnregisterCGUIRichEdit();
int RegisterCGUISpinEdit(HINSTANCE instance);

// The game's tooltip for animated buttons.
using AnimTooltipShow = void (*)(HWND parent, const RECT* screenRect, int hasText,
                                 const char* text);
using AnimTooltipHide = void (*)(HWND parent, int hasText);
void AnimButtonSetTooltipCallbacks(AnimTooltipShow show, AnimTooltipHide hide);
// How animated buttons read their resource pack: the application installs
// its archive reader (the toolkit sits below it). Images are owned by the
// caller and freed with GlobalFreePtr.
using AnimLoadIndex = void* (*)(const char* indexPath);
using AnimLoadBitmap = PackedDIB* (*)(const char* indexPath, const char* dataPath, const char* name,
                                      void* index);
using AnimFreeIndex = void (*)(void* index);
void AnimButtonSetArchiveFunctions(AnimLoadIndex loadIndex, AnimLoadBitmap loadBitmap,
                                   AnimFreeIndex freeIndex);

// A skinned button's display flags (bmp_button_model.h), for the hot button
// built on it; 0 and nothing done for a window without a button state.
uint32_t BmpButtonGetDisplay(HWND button);
void BmpButtonSetDisplay(HWND button, uint32_t flags);

// Shared by the widgets: the skin's images and drawing.
PackedDIB* GuiSkinImage(const GuiSkin* skin, uint32_t id);
HPALETTE GuiRealizeSkinPalette(HDC dc);
// Frames a window's rectangle (at 0,0) with the skin's edit border pieces or,
// without them, its edge callback or two-colour lines.
void GuiDrawSkinBorder(HWND window, HDC dc, const RECT* rect);

}  // namespace gui
