#include "gui/bmp_button_model.h"

namespace gui {

GuiButtonKind BmpButtonKind(uint32_t style) {
  switch (style & 15) {
    case 0:
    case 1:
      return kKindPush;
    case 2:
    case 3:
    case 5:
    case 6:
      return kKindCheck;
    case 4:
    case 9:
      return kKindRadio;
    case 7:
      return kKindGroup;
    default:
      return kKindOther;
  }
}

bool BmpButtonDrawsAsPush(uint32_t style) {
  GuiButtonKind k = BmpButtonKind(style);
  if (k == kKindPush || k == kKindOther) return true;
  return (k == kKindCheck || k == kKindRadio) && (style & kBtnPushLike);
}

int BmpButtonChooseSlot(uint32_t flags, bool disabled, void* const slots[kButtonSlots]) {
  int slot;
  if (flags & (kBtnChecked | kBtnPushed)) {
    slot = 1;
    if (disabled) slot = slots[5] ? 5 : 2;
  } else {
    slot = 0;
    if ((flags & kBtnFocused) && slots[3])
      slot = 3;
    else if (disabled && slots[2])
      slot = 2;
  }
  if (flags & kBtnHover) slot = 4;
  return slots[slot] ? slot : -1;
}

int BmpButtonShortSlot(uint32_t state, bool disabled) {
  if (state & (kBtnChecked | kBtnPushed)) return disabled ? 2 : 1;
  return 0;
}

BtnPoint BmpButtonTextOrigin(int32_t width, int32_t height, int32_t tw, int32_t th, int32_t ox,
                             int32_t oy, bool pushed) {
  int32_t x = width / 2 - tw / 2, y = height / 2 - th / 2;
  return BtnPoint{ox + (x > 0 ? x : 0), oy + (y > 0 ? y : 0) + (pushed ? 1 : 0)};
}

}  // namespace gui
