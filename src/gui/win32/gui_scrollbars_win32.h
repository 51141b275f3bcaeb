#pragma once
// The scroll-bar engine's window side: what a widget forwards from its
// window procedure, with the window system's own argument forms.
#include <windows.h>

#include "gui/gui_scrollbars.h"

namespace gui {

int GuiScrollBarsGetInfo(GuiScrollBars* state, int bar, SCROLLINFO* info);
int GuiScrollBarsSetInfo(GuiScrollBars* state, int bar, const SCROLLINFO* info);
// The rectangle is the proposed client rectangle in window coordinates.
int GuiScrollBarsNcCalcSize(GuiScrollBars* state, WPARAM wParam, RECT* rect);
void GuiScrollBarsNcPaint(GuiScrollBars* state);
void GuiScrollBarsPaint(GuiScrollBars* state, int bar, uint32_t mask);
void GuiScrollBarsPaintCorner(GuiScrollBars* state);
// lParam holds a screen point.
int GuiScrollBarsHitTest(GuiScrollBars* state, LPARAM lParam);
void GuiScrollBarsNcButtonDown(GuiScrollBars* state, int hitCode, LPARAM lParam);
void GuiScrollBarsMouseMove(GuiScrollBars* state, WPARAM wParam, LPARAM lParam);
void GuiScrollBarsTimer(GuiScrollBars* state);
LRESULT GuiScrollBarsSetRedraw(GuiScrollBars* state, WPARAM wParam);

}  // namespace gui
