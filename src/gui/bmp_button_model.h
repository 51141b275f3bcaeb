#pragma once
// The skinned button's rules that need no window: its kind from the style,
// the image slot its state shows, and where the caption goes on an image.
#include <cstdint>

namespace gui {

// Display flags: the system button's state word plus the hover bit.
constexpr uint32_t kBtnChecked = 0x1, kBtnPushed = 0x4, kBtnFocused = 0x8, kBtnHover = 0x10000;

// Kind flags kept from the creation style.
constexpr uint32_t kBtnBitmap = 0x80, kBtnLeftText = 0x20, kBtnPushLike = 0x1000,
                   kBtnNotify = 0x4000, kBtnFocusImage = 0x80000, kBtnTop = 0x400,
                   kBtnBottom = 0x800;

enum GuiButtonKind : int { kKindPush, kKindCheck, kKindRadio, kKindGroup, kKindOther };
GuiButtonKind BmpButtonKind(uint32_t style);
// Push buttons and push-like check or radio buttons own images built for
// them; plain check and radio buttons show the skin's shared marks.
bool BmpButtonDrawsAsPush(uint32_t style);

constexpr int kButtonSlots = 6;  // normal, pushed, disabled, focused, hover, pushed+disabled
// The slot the state shows, or -1 when that slot is empty.
int BmpButtonChooseSlot(uint32_t displayFlags, bool disabled, void* const slots[kButtonSlots]);
// The slot the short rule picks (checked or pushed: 1, or 2 when disabled;
// else 0): a new image there needs a redraw.
int BmpButtonShortSlot(uint32_t stateWord, bool disabled);

// Where a caption of textWidth x textHeight goes on a button image.
struct BtnPoint {
  int32_t x, y;
};
BtnPoint BmpButtonTextOrigin(int32_t width, int32_t height, int32_t textWidth, int32_t textHeight,
                             int32_t offsetX, int32_t offsetY, bool pushed);

}  // namespace gui
