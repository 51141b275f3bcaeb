#include "gui/list_view_columns.h"

namespace gui {

ListViewColumn ListViewColumnRecord(uint32_t mask, uint32_t format, int32_t subItem) {
  ListViewColumn c{};
  c.mask = mask & (kLvcfFmt | kLvcfSubItem);
  c.format = format & (kLvcfmtColHasImages | kLvcfmtBitmapOnRight | kLvcfmtImage);
  if (mask & kLvcfSubItem) c.iSubItem = subItem;
  return c;
}

int32_t ListViewColumnSubItem(const ListViewColumn& column) {
  return (column.mask & kLvcfSubItem) ? column.iSubItem : column.headerIndex;
}

uint32_t ListViewHeaderMask(uint32_t columnMask) {
  uint32_t m = 0;
  if (columnMask & kLvcfText) m |= kHdiText;
  if (columnMask & kLvcfFmt) m |= kHdiFormat;
  if (columnMask & kLvcfImage) m |= kHdiImage;
  if (columnMask & kLvcfOrder) m |= kHdiOrder;
  if (columnMask & kLvcfWidth) m |= kHdiWidth;
  return m;
}

uint32_t ListViewHeaderFormat(uint32_t columnFormat) {
  uint32_t f = 0;
  if (columnFormat & kLvcfmtCenter)
    f = kHdfCenter;
  else if (columnFormat & kLvcfmtRight)
    f = kHdfRight;
  if (columnFormat & kLvcfmtBitmapOnRight) f |= kHdfBitmapOnRight;
  if (columnFormat & kLvcfmtColHasImages) f |= kHdfImage;
  return f;
}

uint32_t ListViewColumnFormat(uint32_t headerFormat, const ListViewColumn* record,
                              bool imagesAllowed) {
  uint32_t f = 0;
  if (headerFormat & kHdfCenter)
    f = kLvcfmtCenter;
  else if (headerFormat & kHdfRight)
    f = kLvcfmtRight;
  if ((headerFormat & kHdfBitmapOnRight) || (record && (record->format & kLvcfmtBitmapOnRight)))
    f |= kLvcfmtBitmapOnRight;
  if (headerFormat & kHdfImage) f |= kLvcfmtColHasImages;
  if (record && (record->format & kLvcfmtImage) && imagesAllowed) f |= kLvcfmtImage;
  return f;
}

int32_t ListViewItemAtPosition(const HeaderItemLayout* items, int32_t count, int32_t position) {
  if (!items || position < 0 || position >= count) return -1;
  for (int32_t i = 0; i < count; ++i)
    if (items[i].order == position) return i;
  return position;
}

int32_t ListViewColumnAtX(const HeaderItemLayout* items, int32_t count, int32_t x) {
  int64_t sum = 0;
  for (int32_t p = 0; p < count; ++p) {
    int32_t i = ListViewItemAtPosition(items, count, p);
    if (i < 0) return -1;
    sum += items[i].width;
    if (sum > x) return p;
  }
  return -1;
}

uint32_t ListViewTextFormat(int32_t textWidth, int32_t areaWidth, uint32_t headerFormat) {
  if (textWidth > areaWidth) return kCellTextFormat;
  if (headerFormat & kHdfCenter) return kCellTextFormat | kDtCenter;
  if (headerFormat & kHdfRight) return kCellTextFormat | kDtRight;
  return kCellTextFormat;
}

}  // namespace gui
