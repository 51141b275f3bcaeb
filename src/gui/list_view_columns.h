#pragma once
// The list view's columns apart from the header window: the column record
// kept per header item, the conversions between column and header fields,
// the column under a point and the alignment rule of cell and header texts.
#include <cstdint>

namespace gui {

// Column mask and format bits.
constexpr uint32_t kLvcfFmt = 0x1, kLvcfWidth = 0x2, kLvcfText = 0x4, kLvcfSubItem = 0x8,
                   kLvcfImage = 0x10, kLvcfOrder = 0x20;
constexpr uint32_t kLvcfmtRight = 0x1, kLvcfmtCenter = 0x2, kLvcfmtJustifyMask = 0x3,
                   kLvcfmtImage = 0x800, kLvcfmtBitmapOnRight = 0x1000,
                   kLvcfmtColHasImages = 0x8000;
// Header item mask and format bits.
constexpr uint32_t kHdiWidth = 0x1, kHdiText = 0x2, kHdiFormat = 0x4, kHdiLParam = 0x8,
                   kHdiImage = 0x20, kHdiOrder = 0x80;
constexpr uint32_t kHdfRight = 0x1, kHdfCenter = 0x2, kHdfJustifyMask = 0x3, kHdfImage = 0x800,
                   kHdfBitmapOnRight = 0x1000, kHdfOwnerDraw = 0x8000;
// Text drawing: single line, centred vertically, no prefix, end ellipsis.
constexpr uint32_t kCellTextFormat = 0x8824, kDtCenter = 0x1, kDtRight = 0x2;

// One column, kept in the list's column list; its header item's parameter
// points at the record's node.
struct ListViewColumn {
  uint32_t mask;     // kLvcfFmt and kLvcfSubItem as passed
  uint32_t format;   // the kept format bits
  int32_t iSubItem;  // with kLvcfSubItem
  int32_t headerIndex;
};

// The record made from a column's mask, format and sub-item.
ListViewColumn ListViewColumnRecord(uint32_t mask, uint32_t format, int32_t subItem);
// The sub-item a column shows: its own when given, else its header index.
int32_t ListViewColumnSubItem(const ListViewColumn& column);

// Header mask and format for a column's mask and format.
uint32_t ListViewHeaderMask(uint32_t columnMask);
uint32_t ListViewHeaderFormat(uint32_t columnFormat);
// The column format reported for a header format and its record; the
// record's image bit only when images are allowed (the first column, or a
// list whose sub-item columns show images).
uint32_t ListViewColumnFormat(uint32_t headerFormat, const ListViewColumn* record,
                              bool imagesAllowed);

// The header's items by index: display position and width.
struct HeaderItemLayout {
  int32_t order;
  int32_t width;
};
// The item shown at a display position: the one whose order is the
// position, else the item of that index (-1 when out of range).
int32_t ListViewItemAtPosition(const HeaderItemLayout* items, int32_t count, int32_t position);
// The display position under x (client x, no scroll offset), or -1.
int32_t ListViewColumnAtX(const HeaderItemLayout* items, int32_t count, int32_t x);

// The text format of a cell or header item: a text wider than its area is
// drawn left-aligned so that its ellipsis shows; otherwise it keeps the
// header item's alignment.
uint32_t ListViewTextFormat(int32_t textWidth, int32_t areaWidth, uint32_t headerFormat);

}  // namespace gui
