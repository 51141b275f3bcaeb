#pragma once
// The list view's state shared by its window procedure (gui_listview.cpp)
// and its columns, header and painting (gui_listview_paint.cpp).
#include <windows.h>
#include <commctrl.h>

#include "gui/gui_list.h"
#include "gui/item_view.h"
#include "gui/list_view_model.h"
#include "gui/win32/item_view_win32.h"

namespace gui {

// Private messages.
constexpr UINT kMsgRowColours = 0x8115;  // to the parent before each row
constexpr UINT kMsgFrameChange = 0x8601;
constexpr UINT kMsgSelectAll = 0x86a0;
constexpr UINT kMsgGetOptions = 0x86a1, kMsgSetOptions = 0x86a2;
constexpr uint32_t kOptionSubItemImages = 0x1;
constexpr int kHeaderId = 1;

struct ListViewState;

// Turns the model's notices into notifications and row repaints.
class ListViewNotifier final : public ListViewHost {
 public:
  ListViewState* s = nullptr;
  void ItemChanged(int32_t item, uint32_t newState, uint32_t oldState, uint32_t changed,
                   intptr_t lParam) override;
  void RangeChanged(int32_t from, int32_t to, uint32_t newState, uint32_t oldState) override;
  bool DeletingAll() override;
  void DeletingItem(int32_t item, intptr_t lParam) override;
  bool RowInserted(int32_t index) override;
  void RowDeleted(int32_t index) override;
  void RowCountSet(int32_t count) override;
  void RedrawRow(int32_t item) override;
  void RedrawRows(int32_t first, int32_t last) override;
  void RedrawAll() override;
  void EnsureVisible(int32_t item) override;
};

struct ListViewState {
  HWND window = nullptr;
  uint32_t style = 0;
  uint32_t options = 0;
  ListViewNotifier notifier;
  ListViewModel* model = nullptr;
  GuiViewHostWin32 viewHost;
  GuiItemView view{};
  HIMAGELIST images[4] = {};  // normal, small, focused-row small, state
  bool redrawOff = false;
  HWND header = nullptr;
  GuiList* columns = nullptr;  // ListViewColumn records
  HFONT font = nullptr;
  int32_t averageCharWidth = 0;
  POINT action{};  // the press that causes the state changes being told
};

ListViewState* ListViewStateOf(HWND window);
// Sends a WM_NOTIFY to the parent, filling the header; the parent's answer.
LRESULT ListViewNotify(ListViewState* s, NMHDR* header, int code);

// Columns and header (gui_listview_paint.cpp).
bool ListViewCreateHeader(ListViewState* s);
void ListViewLayout(ListViewState* s);
int32_t ListViewMargin(const ListViewState* s);
int32_t ListViewColumnAtPoint(ListViewState* s, int32_t x);
LRESULT ListViewColumnMessage(ListViewState* s, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ListViewHeaderNotify(ListViewState* s, NMHDR* nm);
LRESULT ListViewDrawHeaderItem(ListViewState* s, DRAWITEMSTRUCT* di);
void ListViewFreeColumns(ListViewState* s);
// The item view's row painter.
void ListViewPaintRow(const GuiRowDraw* row);

}  // namespace gui
