#pragma once
// Toolkit start-up state: the per-process table of skin records, the
// default records, the font table and the caption placement markup.
#include <cstdint>

#include "gui/gui_skin.h"

namespace gui {

// Record slots of a process row.
enum GuiSlot : int { kSlotFrameSkin = 0, kSlotSkin = 1, kSlotFonts = 2 };
constexpr int kProcessRows = 4;

uint32_t GuiCurrentProcessId();

// The calling process's record of a slot; null without a row or record.
void* GuiGetProcessSlot(int ignored, int slot);
// Copies the record into the slot (allocated on first use). Records larger
// than the slot's type are refused. 1 or 0.
int GuiSetProcessSlot(uint32_t pid, int slot, const void* record, size_t size);
// As GuiSetProcessSlot, claiming a row first; the row index or -1.
int GuiAddProcessRow(uint32_t pid, int slot, const void* record, size_t size);
// Frees slot 1 or 2; slot 0 frees the frame skin and the widget skin. The row
// is released once empty. The row index, or -1.
int GuiFreeProcessSlot(uint32_t pid, int slot);

// Frame skin.
void GuiBuildDefaultFrameSkin(GuiFrameSkin* skin);
int GuiInitDefaultFrameSkin();
// Resolves the images of the first three frame kinds, the menu and the status
// bar, then installs the record. 0 for null.
int GuiApplyFrameSkin(int ignored, GuiFrameSkin* skin);
GuiFrameSkin* GuiGetFrameSkin();
int GuiFreeFrameSkin();
GuiHandle GuiSwapFrameSkinHandle(int ignored, GuiHandle window);
// Turns the ids of a present, not yet loaded group into borrowed images.
void GuiLoadFrameGroupImages(GuiFrameGroup* group, bool identity);

// Widget skin.
void GuiBuildDefaultSkin(GuiSkin* skin);
void GuiInitSkinTreeDefaults(GuiSkin* skin);
int GuiInitDefaultSkin(uintptr_t value);
GuiSkin* GuiGetSkin();
GuiHandle GuiSwapSkinPalette(int ignored, GuiHandle palette);
int GuiFreeSkin();
// One family's skin loader; GuiApplySkin calls them in the family order.
using GuiSkinApplyFn = int (*)(SkinRegistry* source, GuiSkin* skin);
int GuiApplySkin(int ignored, GuiSkin* skin);

// Font table.
int GuiInitFontTable();
GuiHandle GuiAddFont(int slot, GuiHandle font, const char* face, int32_t points, int32_t weight,
                     int32_t charset, int32_t italic);
int GuiRemoveFont(int slot);
int GuiFindFont(int32_t points, int32_t weight, int32_t charset);
GuiHandle GuiGetFont(int slot);
int GuiDeleteFonts();

// Font objects: the system's on Windows; natively none unless a test
// installs its own pair.
GuiHandle GuiCreateFontPt(const char* face, int32_t points, int32_t weight, int32_t charset,
                          int32_t italic);
void GuiDeleteFontHandle(GuiHandle font);
using GuiFontCreator = GuiHandle (*)(const char*, int32_t, int32_t, int32_t, int32_t);
using GuiFontDeleter = void (*)(GuiHandle);
void SetGuiFontFunctions(GuiFontCreator create, GuiFontDeleter del);

// Caption placement markup: "{p:x,y s:w,h ...}". The flags start as
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER; p clears NOMOVE, s clears NOSIZE.
struct CaptionPlacement {
  int32_t x = 0, y = 0, cx = 0, cy = 0;
  uint32_t swpFlags = 7;
};
constexpr uint32_t kSwpNoSize = 1, kSwpNoMove = 2;
// False when the text has no markup (nothing to do).
bool GuiParseCaptionMarkup(const char* text, CaptionPlacement* out);

}  // namespace gui
