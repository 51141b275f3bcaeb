#include "gui/list_view_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/gui_memory.h"

namespace gui {
namespace {

// Records what the model tells the window, one line per call.
class RecordingHost : public ListViewHost {
 public:
  std::vector<std::string> log;
  bool announceDeletes = false;
  bool refuseRows = false;
  void ItemChanged(int32_t item, uint32_t n, uint32_t o, uint32_t c, intptr_t p) override {
    Add("changed " + std::to_string(item) + " " + std::to_string(o) + ">" + std::to_string(n) +
        " c" + std::to_string(c) + (p ? " p" + std::to_string(p) : ""));
  }
  void RangeChanged(int32_t f, int32_t t, uint32_t n, uint32_t o) override {
    Add("range " + std::to_string(f) + ".." + std::to_string(t) + " " + std::to_string(o) + ">" +
        std::to_string(n));
  }
  bool DeletingAll() override {
    Add("deleting all");
    return announceDeletes;
  }
  void DeletingItem(int32_t item, intptr_t) override { Add("deleting " + std::to_string(item)); }
  bool RowInserted(int32_t) override { return !refuseRows; }
  void RowDeleted(int32_t) override {}
  void RowCountSet(int32_t c) override { Add("rows " + std::to_string(c)); }
  void RedrawRow(int32_t) override {}
  void RedrawRows(int32_t, int32_t) override {}
  void RedrawAll() override {}
  void EnsureVisible(int32_t item) override { Add("visible " + std::to_string(item)); }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(log);
    return out;
  }

 private:
  void Add(const std::string& s) { log.push_back(s); }
};

using Lines = std::vector<std::string>;

ListViewItem TextItem(int32_t index, const char* text, intptr_t param = 0) {
  ListViewItem it{};
  it.mask = kLvifText | (param ? kLvifParam : 0);
  it.iItem = index;
  it.pszText = const_cast<char*>(text);
  it.lParam = param;
  return it;
}

std::string Text(const ListViewModel& m, int32_t i, int32_t sub = 0) {
  char buf[64];
  m.GetItemText(i, sub, buf, sizeof buf);
  return buf;
}

// A list of `n` items "a", "b", ... with parameters 1, 2, ...
void Fill(ListViewModel& m, int n) {
  for (int i = 0; i < n; ++i) {
    std::string t(1, static_cast<char>('a' + i));
    ASSERT_EQ(m.InsertItem(TextItem(i, t.c_str(), i + 1)), i);
  }
}

TEST(ListViewModel, InsertKeepsRecordsNumberedAndCopiesTexts) {
  RecordingHost host;
  ListViewModel m(0, &host);
  m.RaiseBound(0);
  m.RaiseBound(1);
  EXPECT_EQ(m.bound(), 1);
  m.RaiseBound(2);
  EXPECT_EQ(m.bound(), 3);
  char text[] = "beta";
  ASSERT_EQ(m.InsertItem(TextItem(0, text)), 0);
  ASSERT_EQ(m.InsertItem(TextItem(0, "alpha")), 0);
  ASSERT_EQ(m.InsertItem(TextItem(2, "gamma")), 2);
  std::strcpy(text, "XXXX");  // the list keeps its own copy
  EXPECT_EQ(Text(m, 0), "alpha");
  EXPECT_EQ(Text(m, 1), "beta");
  EXPECT_EQ(Text(m, 2), "gamma");
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k <= 3; ++k) {
      const ListViewItem* r = m.Record(i, k);
      ASSERT_NE(r, nullptr);
      EXPECT_EQ(r->iItem, i);
      EXPECT_EQ(r->iSubItem, k);
    }
  // Refused: a gap, a sub-item, a negative index; a view that cannot take the row.
  ListViewItem bad = TextItem(5, "x");
  EXPECT_EQ(m.InsertItem(bad), -1);
  bad.iItem = 0;
  bad.iSubItem = 1;
  EXPECT_EQ(m.InsertItem(bad), -1);
  EXPECT_EQ(m.InsertItem(TextItem(-1, "x")), -1);
  m.SetItemState(1, kLvisSelected | kLvisFocused, kLvisSelected | kLvisFocused);
  host.refuseRows = true;
  EXPECT_EQ(m.InsertItem(TextItem(0, "x")), -1);
  EXPECT_EQ(m.count(), 3);
  EXPECT_EQ(m.focus(), 1);
  EXPECT_EQ(Text(m, 0), "alpha");
}

TEST(ListViewModel, ItemsWithoutColumnsStillHoldTheirText) {
  RecordingHost host;
  ListViewModel m(0, &host);
  ASSERT_EQ(m.InsertItem(TextItem(0, "solo")), 0);
  EXPECT_EQ(Text(m, 0), "solo");
  // A column added later does not give old items records they never had.
  m.RaiseBound(1);
  EXPECT_EQ(m.Record(0, 1), nullptr);
  EXPECT_EQ(m.SetItemText(0, 1, "x"), 0);
  EXPECT_EQ(Text(m, 0, 1), "");
}

TEST(ListViewModel, FailedAllocationsLeaveTheListAsItWas) {
  RecordingHost host;
  ListViewModel m(0, &host);
  Fill(m, 64);  // the slot array is full: the next insertion must grow it
  for (int fail = 0; fail < 3; ++fail) {
    testing::FailAllocationsAfter(fail);
    int32_t r = m.InsertItem(TextItem(0, "new"));
    testing::FailAllocationsAfter(-1);
    EXPECT_EQ(r, -1) << fail;
    EXPECT_EQ(m.count(), 64);
    EXPECT_EQ(Text(m, 0), "a");
  }
  EXPECT_EQ(m.InsertItem(TextItem(0, "new")), 0);
}

TEST(ListViewModel, GetItemRefusesWhatDoesNotFitAndTextQueriesAreTerminated) {
  RecordingHost host;
  ListViewModel m(0, &host);
  m.RaiseBound(0);
  ASSERT_EQ(m.InsertItem(TextItem(0, "walnut", 7)), 0);
  char buf[8];
  ListViewItem q{};
  q.mask = kLvifText | kLvifParam;
  q.pszText = buf;
  q.cchTextMax = 6;  // "walnut" needs 7
  EXPECT_EQ(m.GetItem(&q), 0);
  q.cchTextMax = 7;
  ASSERT_EQ(m.GetItem(&q), 1);
  EXPECT_STREQ(buf, "walnut");
  EXPECT_EQ(q.lParam, 7);
  q.mask = kLvifImage;  // never set
  EXPECT_EQ(m.GetItem(&q), 0);
  q.iSubItem = 2;  // beyond the bound
  q.mask = kLvifText;
  EXPECT_EQ(m.GetItem(&q), 0);
  // The text query truncates, and always terminates.
  std::memset(buf, 'Z', sizeof buf);
  m.GetItemText(0, 0, buf, 4);
  EXPECT_STREQ(buf, "wal");
  std::memset(buf, 'Z', sizeof buf);
  m.GetItemText(9, 0, buf, sizeof buf);  // no such item
  EXPECT_STREQ(buf, "");
  ASSERT_EQ(m.InsertItem(TextItem(1, ListViewTextCallback())), 1);
  std::memset(buf, 'Z', sizeof buf);
  m.GetItemText(1, 0, buf, sizeof buf);
  EXPECT_STREQ(buf, "");
  q = ListViewItem{};
  q.mask = kLvifText;
  q.iItem = 1;
  q.pszText = buf;
  q.cchTextMax = sizeof buf;
  EXPECT_EQ(m.GetItem(&q), 0);
  // A callback answer kept for good becomes the item's text.
  m.StoreAnswer(1, 0, kLvifText, "maple", 0);
  EXPECT_EQ(Text(m, 1), "maple");
}

TEST(ListViewModel, DeletingTakesSelectionFocusAndMarkAlong) {
  struct Case {
    int deleted;
    int32_t selection, focus, mark;  // afterwards; before: 2, 2, 2
  } cases[] = {{2, -1, -1, -1}, {0, 1, 1, 1}, {3, 2, 2, 2}};
  for (const Case& c : cases) {
    RecordingHost host;
    ListViewModel m(kLvsSingleSel, &host);
    Fill(m, 4);
    m.Click(2, 0);
    m.SetSelectionMark(2);
    ASSERT_EQ(m.selection(), 2);
    EXPECT_EQ(m.DeleteItem(c.deleted, false), 1);
    EXPECT_EQ(m.selection(), c.selection) << c.deleted;
    EXPECT_EQ(m.focus(), c.focus) << c.deleted;
    EXPECT_EQ(m.mark(), c.mark) << c.deleted;
    EXPECT_EQ(m.DeleteItem(3, false), 0);
  }
  // Multiple selection: items above move down with their selection.
  RecordingHost host;
  ListViewModel m(0, &host);
  Fill(m, 4);
  m.SetItemState(3, kLvisSelected, kLvisSelected);
  m.DeleteItem(1, false);
  EXPECT_TRUE(m.IsSelected(2));
  EXPECT_EQ(Text(m, 2), "d");
  EXPECT_EQ(m.Record(2, 0)->iItem, 2);
}

TEST(ListViewModel, DeleteAllAnnouncesEachItemOnlyWhenAsked) {
  for (bool announce : {false, true}) {
    RecordingHost host;
    host.announceDeletes = announce;
    ListViewModel m(0, &host);
    Fill(m, 3);
    host.Take();
    EXPECT_EQ(m.DeleteAllItems(), 1);
    EXPECT_EQ(m.count(), 0);
    Lines expected = announce ? Lines{"deleting all", "deleting 2", "deleting 1", "deleting 0"}
                              : Lines{"deleting all"};
    EXPECT_EQ(host.Take(), expected);
  }
}

TEST(ListViewModel, SingleSelectionAndFocusNotifyOldThenNew) {
  RecordingHost host;
  ListViewModel m(kLvsSingleSel, &host);
  Fill(m, 3);
  host.Take();
  m.Click(1, 0);
  m.Click(2, 0);
  EXPECT_EQ(host.Take(),
            (Lines{"changed 1 0>1 c1 p2", "changed 1 0>2 c2 p2", "changed 1 1>0 c1 p2",
                   "changed 2 0>1 c1 p3", "changed 1 2>0 c2 p2", "changed 2 0>2 c2 p3"}));
  // Switching selection off for an item that is not selected keeps the selection.
  EXPECT_EQ(m.SetItemState(0, 0, kLvisSelected), 1);
  EXPECT_EQ(m.selection(), 2);
  EXPECT_EQ(m.SetItemState(2, 0, kLvisSelected), 1);
  EXPECT_EQ(m.selection(), -1);
  // All items at once: focus on, or selection on in a single-selection list, fail.
  EXPECT_EQ(m.SetItemState(-1, kLvisFocused, kLvisFocused), 0);
  EXPECT_EQ(m.SetItemState(-1, kLvisSelected, kLvisSelected), 0);
  EXPECT_EQ(m.SetItemState(3, kLvisSelected, kLvisSelected), 0);
  EXPECT_EQ(m.SetItemState(-2, kLvisSelected, kLvisSelected), 0);
  EXPECT_EQ(m.SetItemState(-1, 0, kLvisFocused), 1);
  EXPECT_EQ(m.focus(), -1);
}

TEST(ListViewModel, StatesAndGetNextItem) {
  RecordingHost host;
  ListViewModel m(0, &host);
  Fill(m, 5);
  m.SetItemState(1, kLvisSelected, kLvisSelected);
  m.SetItemState(3, kLvisSelected | kLvisCut, kLvisSelected | kLvisCut);
  m.SetItemState(4, kLvisCut, kLvisCut);
  m.SetItemState(3, kLvisFocused, kLvisFocused);
  EXPECT_EQ(m.GetItemState(3, 0xFFFF), kLvisSelected | kLvisFocused);  // cut is not reported
  EXPECT_EQ(m.GetItemState(9, 0xFFFF), 0u);
  EXPECT_EQ(m.GetSelectedCount(), 2);
  struct Case {
    int32_t start;
    uint32_t flags;
    int32_t expected;
  } cases[] = {
      {-1, 0, -1},                            // all: nothing asked
      {-1, kLvniSelected, 1},                 // first selected
      {1, kLvniSelected, 3},                  // next selected
      {-1, kLvniSelected | 0x100, -1},        // a direction
      {-1, kLvniFocused, 3},                  // the focus
      {3, kLvniFocused, -1},                  // not after the start
      {-1, kLvniFocused | kLvniSelected, 3},  // focused and selected
      {-1, kLvniSelected | kLvniCut, 3},      // selected and cut
      {-1, kLvniCut, 3},                      // cut
      {4, kLvniCut, -1},                      // start at count - 1 finds nothing
      {-2, kLvniSelected, -1},                // bad start
      {-1, kLvniDropHilited, -1},             // no item has it
  };
  for (const Case& c : cases)
    EXPECT_EQ(m.GetNextItem(c.start, c.flags), c.expected) << c.start << " " << c.flags;
  // Every item at once.
  EXPECT_EQ(m.SetItemState(-1, kLvisSelected, kLvisSelected), 1);
  EXPECT_EQ(m.GetSelectedCount(), 5);
  EXPECT_EQ(m.SelectAll(false), 5);
  EXPECT_EQ(m.GetSelectedCount(), 0);
  // Switching focus off for an item that does not hold it keeps it.
  m.SetItemState(0, 0, kLvisFocused);
  EXPECT_EQ(m.focus(), 3);
}

TEST(ListViewModel, SortKeepsEqualItemsInOrderAndSelectionFollows) {
  RecordingHost host;
  ListViewModel m(kLvsSingleSel, &host);
  // Parameters: 30, 10, 20, 10, 30 ... over 40 items so the long path runs.
  const int n = 40;
  for (int i = 0; i < n; ++i) {
    std::string t = "item" + std::to_string(i);
    ASSERT_EQ(m.InsertItem(TextItem(i, t.c_str(), (i % 3 + 1) * 10)), i);
  }
  m.Click(7, 0);  // parameter 20
  auto ascending = [](intptr_t a, intptr_t b, intptr_t) { return a < b ? -1 : a > b ? 1 : 0; };
  EXPECT_EQ(m.SortItems(ascending, 0), 1);
  int previous = -1;
  intptr_t previousParam = 0;
  for (int i = 0; i < n; ++i) {
    int original = std::stoi(Text(m, i).substr(4));
    intptr_t p = m.ParamOf(i);
    EXPECT_EQ(m.Record(i, 0)->iItem, i);
    if (p == previousParam) {
      EXPECT_GT(original, previous) << "equal items changed order";
    }
    EXPECT_GE(p, previousParam);
    previous = original;
    previousParam = p;
  }
  EXPECT_EQ(Text(m, m.selection()), "item7");
  EXPECT_EQ(Text(m, m.focus()), "item7");
  EXPECT_EQ(m.SortItems(nullptr, 0), 0);
  ListViewModel od(kLvsOwnerData, &host);
  EXPECT_EQ(od.SortItems(ascending, 0), 0);
}

TEST(ListViewModel, ItemCountsMakeRealItems) {
  RecordingHost host;
  ListViewModel m(0, &host);
  m.RaiseBound(1);
  Fill(m, 2);
  m.Click(1, 0);
  host.Take();
  EXPECT_EQ(m.SetItemCount(5, 0), 1);
  EXPECT_EQ(host.Take(), Lines{"rows 5"});
  EXPECT_EQ(m.count(), 5);
  EXPECT_EQ(m.SetItemText(4, 1, "late"), 1);
  EXPECT_EQ(Text(m, 4, 1), "late");
  EXPECT_EQ(m.Record(3, 0)->iItem, 3);
  EXPECT_EQ(m.SetItemCount(1, 0), 1);
  EXPECT_EQ(m.count(), 1);
  EXPECT_EQ(m.focus(), -1);
  EXPECT_EQ(m.mark(), -1);
  EXPECT_EQ(m.SetItemCount(-1, 0), 0);
}

TEST(ListViewModel, MouseAndKeysSelectAsExpected) {
  struct Step {
    char kind;  // 'c' click, 'k' key
    uint32_t code;
    bool shift, control;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    int32_t focus, mark;
    const char* selected;  // one character per item
  } cases[] = {
      {"click", {{'c', 2, false, false}}, 2, 2, "..x..."},
      {"shift-click range", {{'c', 1, false, false}, {'c', 4, true, false}}, 4, 1, ".xxxx."},
      {"ctrl-click toggles", {{'c', 1, 0, 0}, {'c', 3, 0, 1}, {'c', 1, 0, 1}}, 1, 1, "...x.."},
      {"shift+down without mark", {{'k', kVkDown, true, false}}, 0, 0, "x....."},
      {"down twice", {{'k', kVkDown, false, false}, {'k', kVkDown, false, false}}, 1, 1, ".x...."},
      {"shift+end", {{'c', 2, 0, 0}, {'k', kVkEnd, true, false}}, 5, 2, "..xxxx"},
      {"ctrl+down moves focus only", {{'c', 2, 0, 0}, {'k', kVkDown, false, true}}, 3, 2, "..x..."},
      {"ctrl+space toggles",
       {{'c', 2, 0, 0}, {'k', kVkDown, 0, 1}, {'k', kVkSpace, 0, 1}},
       3,
       2,
       "..xx.."},
      {"space selects only",
       {{'c', 2, 0, 0}, {'k', kVkDown, 0, 1}, {'k', kVkSpace, 0, 0}},
       3,
       2,
       "...x.."},
      {"page down", {{'c', 0, 0, 0}, {'k', kVkNext, false, false}}, 2, 2, "..x..."},
      {"page up at top", {{'k', kVkPrior, false, false}}, 0, 0, "x....."},
      {"home", {{'c', 4, 0, 0}, {'k', kVkHome, false, false}}, 0, 0, "x....."},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    ListViewModel m(0, &host);
    Fill(m, 6);
    for (const Step& s : c.steps) {
      if (s.kind == 'c')
        m.Click(static_cast<int32_t>(s.code), (s.shift ? 0x4 : 0) | (s.control ? 0x8 : 0));
      else
        m.Key(s.code, s.shift, s.control, 3);
    }
    std::string sel;
    for (int i = 0; i < 6; ++i)
      sel += m.IsSelected(i) ? 'x' : '.';
    EXPECT_EQ(sel, c.selected) << c.name;
    EXPECT_EQ(m.focus(), c.focus) << c.name;
    EXPECT_EQ(m.mark(), c.mark) << c.name;
  }
  // Keys on an empty list or with no rows shown do nothing harmful.
  RecordingHost host;
  ListViewModel empty(0, &host);
  EXPECT_FALSE(empty.Key(kVkDown, false, false, 3));
  ListViewModel m(0, &host);
  Fill(m, 3);
  m.Click(2, 0);
  EXPECT_TRUE(m.Key(kVkPrior, false, false, 0));
  EXPECT_EQ(m.focus(), 2);
  EXPECT_FALSE(m.Key('A', false, false, 3));
}

TEST(ListViewModel, OwnerDataKeepsItsSelectionInRanges) {
  RecordingHost host;
  ListViewModel m(kLvsOwnerData, &host);
  ASSERT_TRUE(m.valid());
  EXPECT_EQ(m.SetItemCount(100, 1), 1);
  EXPECT_EQ(m.Record(0, 0), nullptr);
  host.Take();
  EXPECT_EQ(m.SelectRange(10, 19, true), 1);
  EXPECT_EQ(host.Take(), Lines{"range 10..19 0>2"});
  m.Toggle(15);
  EXPECT_EQ(host.Take(), Lines{"changed 15 0>2 c2"});
  EXPECT_EQ(m.GetSelectedCount(), 9);
  EXPECT_EQ(m.GetNextItem(14, kLvniSelected), 16);
  EXPECT_EQ(m.GetNextItem(-1, kLvniCut), -1);
  // Inserting and deleting rows move the selected ranges.
  ListViewItem it{};
  it.iItem = 0;
  EXPECT_EQ(m.InsertItem(it), 0);
  EXPECT_TRUE(m.IsSelected(11));
  EXPECT_FALSE(m.IsSelected(10));
  EXPECT_EQ(m.DeleteItem(0, false), 1);
  EXPECT_EQ(m.count(), 99);
  EXPECT_TRUE(m.IsSelected(10));
  EXPECT_EQ(m.SetItemCount(50, 1), 1);
  EXPECT_EQ(m.GetSelectedCount(), 0);
}

TEST(ListViewModel, StructuralChangesAreRefusedWhileSorting) {
  RecordingHost host;
  static ListViewModel* target = nullptr;
  static int refused = 0;
  ListViewModel m(0, &host);
  Fill(m, 12);
  target = &m;
  refused = 0;
  auto meddling = [](intptr_t a, intptr_t b, intptr_t) {
    refused += target->DeleteItem(0, false) == 0;
    refused += target->InsertItem(TextItem(0, "x")) == -1;
    refused += target->SortItems(
                   +[](intptr_t, intptr_t, intptr_t) { return 0; }, 0) == 0;
    return a < b ? 1 : a > b ? -1 : 0;
  };
  EXPECT_EQ(m.SortItems(meddling, 0), 1);
  EXPECT_GT(refused, 0);
  EXPECT_EQ(m.count(), 12);
  EXPECT_EQ(Text(m, 0), "l");
}

}  // namespace
}  // namespace gui
