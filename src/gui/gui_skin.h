#pragma once
// The toolkit's three per-process records: the frame skin (frames, menus and
// status bar), the widget skin and the font table. Handles of the window
// system (windows, fonts, palettes, instances) are kept as opaque pointers.
//
// Ownership: image words hold skin-registry ids until the record is applied;
// applying resolves them to images that the SkinRegistry owns. Records only
// borrow images: freeing a record never frees an image.
#include <cstdint>

#include "gui/gui_list.h"
#include "gui/skin_registry.h"
#include "gui/utils.h"

namespace gui {

using GuiHandle = void*;

// Images of a frame-kind group, in record order. Pairs are (active or
// normal, inactive or pressed); rows are (start, middle, end), active row
// first.
enum GuiFrameImage : int {
  kFrIcon = 0,
  kFrMinimize = 2,
  kFrMaximize = 4,
  kFrClose = 6,
  kFrRestore = 8,
  kFrCollapseExpanded = 10,
  kFrCollapseCollapsed = 12,
  kFrCaption = 14,   // 6: active start/middle/end, inactive start/middle/end
  kFrLeft = 20,      // 6
  kFrRight = 26,     // 6
  kFrTop = 32,       // 6
  kFrBottom = 38,    // 6
  kFrCornerTL = 44,  // pairs
  kFrCornerTR = 46,
  kFrCornerBL = 48,
  kFrCornerBR = 50,
  kFrBackground = 52,
  kFrameImageCount = 53
};

enum GuiCaptionTextMode : int32_t { kCaptionText = 1, kCaptionImage = 2, kCaptionBaked = 3 };

struct GuiFrameGroup {
  int32_t present;
  SkinRegistry* imageSource;
  int32_t loaded;
  int32_t imageSet;
  char captionFace[48];
  GuiHandle captionFont;
  int32_t captionHeight, captionWidth;
  int32_t captionLeft, captionVAdjust;
  int32_t captionTextMode;
  uint32_t captionColor[2];  // active, inactive (COLORREF)
  uint32_t imageIds[kFrameImageCount];
  PackedDIB* images[kFrameImageCount];  // borrowed from the registry once loaded
  int32_t captionCentred;
  int32_t closeOffset[2], minOffset[2], maxOffset[2], collapseOffset[2];
  int32_t captionTextOffset[2];
  int32_t collapsedWidth;  // width of a dialog sized by the collapse protocol
};

enum GuiFrameKindIndex : int {
  kKindThick = 0,
  kKindBordered = 1,
  kKindDialog = 2,
  kKindFourth = 3,
  kKindTooltip = 4,
  kFrameKindCount = 5
};

// Images of the menu group.
enum GuiMenuImage : int {
  kMnBarLeft = 0,
  kMnBarCenter,
  kMnBarRight,      // the bar's background
  kMnItemUp = 3,    // 3: item left/center/right
  kMnItemDown = 6,  // 3: highlighted item
  kMnFrameTopLeft = 9,
  kMnFrameTop,
  kMnFrameTopRight,
  kMnFrameRight,
  kMnFrameBottomLeft,
  kMnFrameBottom,
  kMnFrameBottomRight,
  kMnFrameLeft,
  kMnSeparator = 17,  // 3
  kMnCheck = 20,
  kMnCheckHot,
  kMnArrow,
  kMnArrowHot,
  kMenuImageCount = 24
};

enum GuiMenuStyle : int32_t { kMenuTextItems = 1, kMenuImageItems = 2, kMenuRenderedItems = 3 };

struct GuiMenuGroup {
  int32_t present, loaded;
  int32_t style;
  char face[48];
  int32_t points;
  int32_t weight;
  GuiHandle font;
  int32_t marginX, marginY, frameSize;
  uint32_t textColor, textColorHot, grayedColor, grayedColorHot;  // COLORREF
  uint32_t background, highlight;
  uint32_t barTextColor[2];  // active, inactive
  uint32_t imageIds[kMenuImageCount];
  PackedDIB* images[kMenuImageCount];
  int32_t helpSwitch;
  int32_t helpBase;
  GuiHandle helpInstance;
  int32_t helpPart;
  int32_t cursorId;
};

struct GuiStatusGroup {
  int32_t present;
  int32_t reserved;
  char face[48];
  int32_t points;
  GuiHandle font;
  uint32_t separatorId;
  PackedDIB* separator;
  uint32_t progressColor;
  uint32_t textColor;
};

struct GuiFrameSkin {
  SkinRegistry* imageSource;
  GuiHandle notifyWindow;
  GuiHandle palette;  // null: the stock default palette
  uint32_t unread[2];
  int32_t identity;
  GuiHandle font;  // null: the stock system font
  int32_t sizeValue;
  GuiList* popupPool;
  GuiFrameGroup groups[kFrameKindCount];
  GuiMenuGroup menu;
  GuiStatusGroup status;
};

// Images of the scroll-bar group: per orientation the first and second
// arrows (normal, pressed), the track (normal, pressed) and the thumb's
// start, middle and end (normal row, pressed row).
enum GuiScrollImage : int {
  kSbVertical = 0,
  kSbHorizontal = 12,
  kSbFirstArrow = 0,   // + orientation base; pressed + 1
  kSbSecondArrow = 2,  // pressed + 1
  kSbTrack = 4,        // pressed + 1
  kSbThumb = 6,        // start, middle, end; pressed row + 3
  kScrollImageCount = 24
};

// Images of the tab group: the left, middle and right pieces of a tab in
// each state (selected, normal, disabled), the page texture and the three
// optional pieces of the strip drawn along the page's top.
enum GuiTabImage : int {
  kTabLeft = 0,    // + state
  kTabMiddle = 3,  // + state
  kTabRight = 6,   // + state
  kTabPage = 9,
  kTabStrip = 10,  // start, middle, end
  kTabImageCount = 13
};
enum GuiTabColor : int {
  kTabText = 0,  // + state
  kTabShadow = 3,
  kTabLight = 4,
  kTabDark = 5,
  kTabColorCount = 6
};

// Images of the button group: check boxes and radio buttons (normal,
// checked, disabled, checked and disabled, a fifth look), then the push
// button's left cap, tiled middle and right cap and the text textures, each
// by state (normal, pushed, disabled, focused).
enum GuiButtonImage : int {
  kBtCheck = 0,
  kBtRadio = 5,
  kBtLeft = 10,
  kBtMiddle = 14,
  kBtRight = 18,
  kBtTextFill = 22,
  kButtonImageCount = 26
};
// The six words after the button face.
enum GuiButtonWord : int {
  kBtwFontSlot = 0,    // font-table slot of the button font
  kBtwPoints = 1,      // its size when the slot is empty
  kBtwLoaded = 2,      // images resolved
  kBtwUnchanged = 3,   // a new skin keeps the buttons' images
  kBtwPlainText = 4,   // text fills are colours, not textures
  kBtwFocusImage = 5,  // push buttons get a focused image
};

// Widget skin. The common words, then one group per widget family; the
// families read their own groups.
using GuiEdgeProc = int (*)(GuiHandle window, const DibRect* rect, const struct GuiSkin* skin,
                            uint32_t topLeft, uint32_t bottomRight, int32_t width);

struct GuiSkin {
  uintptr_t appValue;
  SkinRegistry* imageSource;  // null in the built-in skin (images are resources there)
  GuiHandle builtinInstance;  // the classes' instance in the built-in skin
  int32_t identity;
  char programFolder[512];
  GuiHandle font;
  GuiHandle palette;
  int32_t borderWidth;
  uint32_t reserved[3];
  GuiEdgeProc edgeProc;
  uint32_t reserved2[2];
  struct {
    int32_t size1, size2, len1, len2, len3;
  } scrollMetrics;
  struct {
    char face[48];
    int32_t words[6];                      // GuiButtonWord order
    uint32_t imageIds[kButtonImageCount];  // GuiButtonImage order
    uint32_t textColors[3];                // push-button text: normal, pushed, disabled
    uint32_t extraColor;                   // the group box's frame and band
    int32_t keyOffset[6];                  // bitmap buttons: registry key offsets by slot
    int32_t textOffsetX[4], textOffsetY[4];
    uint32_t checkColors[3], radioColors[3];  // checked, unchecked, disabled
    uint32_t groupTextColor, shadowColor;
  } button;
  struct {
    // Label colours (COLORREF; 0xFFFFFFFF draws no text) and the background
    // texture under labels and group boxes.
    uint32_t text, hover, highlightOff, alternative, disabled;
    uint32_t backgroundId;
  } label;
  uint32_t editColors[5];
  uint32_t editListColors[2];
  uint32_t color1;
  struct {
    uint32_t color;     // the field's text (COLORREF)
    uint32_t buttonId;  // control id of the drop-down button (its skin images)
    int32_t fieldHeight;
  } combo;
  struct {
    int32_t present, loaded;
    uint32_t imageIds[kScrollImageCount];  // GuiScrollImage order
    PackedDIB* images[kScrollImageCount];  // borrowed from the registry once loaded
    int32_t trackIsImage[2];               // horizontal, vertical
    uint32_t colors[4];                    // track colours: horizontal normal/pressed, vertical
  } scroll;
  struct {
    int32_t present, loaded;
    uint32_t imageIds[kTabImageCount];  // GuiTabImage order
    PackedDIB* images[kTabImageCount];
    uint32_t colors[kTabColorCount];  // GuiTabColor order (COLORREF)
    int32_t offsetX[3], offsetY[3];   // caption offsets: selected, normal, disabled
    int32_t frameWidth;
  } tab;
  struct {
    uint32_t imageIds[12];
  } editConfig;
  struct {
    uint32_t colors[5];
    uint32_t imageIds[8];
    int32_t fallbackBorder;
  } list;
  struct {
    uint32_t ticks, thumb, background, channel, thumbFrame, channelFrame;  // COLORREF
  } trackbar;
  struct {
    uint32_t words[10];
  } tree;
  uint32_t listViewColors[14];  // list_view.ini, then control_header.ini (list_view_skin.h)
  uint32_t hotButtonColors[4];
  uint32_t lastColor;
  struct {
    uint32_t background, light, dark;  // COLORREF; the line is drawn in the dark colour
  } splitter;
};

struct GuiFontEntry {
  char face[64];
  int32_t points;
  int32_t weight;
  int32_t charset;
  GuiHandle font;
};

constexpr int kFontSlots = 11;

struct GuiFontTable {
  int32_t count;
  GuiFontEntry* entries[kFontSlots];
};

}  // namespace gui
