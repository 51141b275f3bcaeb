#include "gui/gui_range_set.h"

namespace gui {

namespace {

GuiRange* R(GuiListNode* n) { return static_cast<GuiRange*>(n->data); }

GuiListNode* NewRange(GuiList* set, GuiListNode* ref, int position, int32_t first, int32_t last) {
  GuiRange r{last, first};
  return GuiListInsertCopy(set, &r, sizeof r, ref, position);
}

// The first range whose last is >= v; null when none.
GuiListNode* FirstEndingFrom(const GuiList* set, int32_t v) {
  for (GuiListNode* n = set->head; n; n = n->next)
    if (R(n)->last >= v) return n;
  return nullptr;
}

}  // namespace

GuiList* GuiRangeSetCreate() { return GuiListCreate(0); }

void GuiRangeSetDestroy(GuiList* set) { GuiListDestroy(set); }

int GuiRangeSetContains(const GuiList* set, int32_t v) {
  if (!set) return 0;
  GuiListNode* n = FirstEndingFrom(set, v);
  return n && R(n)->first <= v ? 1 : 0;
}

int GuiRangeSetNextFrom(const GuiList* set, int32_t v, int32_t* out) {
  if (!set) return 0;
  GuiListNode* n = FirstEndingFrom(set, v);
  if (!n) return 0;
  if (out) *out = R(n)->first > v ? R(n)->first : v;
  return 1;
}

int32_t GuiRangeSetCount(const GuiList* set) {
  if (!set) return 0;
  int32_t total = 0;
  for (GuiListNode* n = set->head; n; n = n->next)
    total += R(n)->last - R(n)->first + 1;
  return total;
}

int GuiRangeSetSet(GuiList* set, int32_t v, int member) {
  return member ? GuiRangeSetAddRange(set, v, v) : GuiRangeSetRemoveRange(set, v, v);
}

int GuiRangeSetAddRange(GuiList* set, int32_t first, int32_t last) {
  if (!set || first > last) return 0;
  GuiListNode* a = FirstEndingFrom(set, first - 1);
  if (!a) {
    if (set->tail && R(set->tail)->last == first - 1) {
      R(set->tail)->last = last;
      return 0;
    }
    return NewRange(set, set->tail, kListBack, first, last) ? 0 : 1;
  }
  if (R(a)->first > last + 1) return NewRange(set, a, kListBefore, first, last) ? 0 : 1;
  GuiListNode* b = FirstEndingFrom(set, last);
  if (b && R(b)->first > last + 1) b = b->prev;  // never before a: a starts by last + 1
  if (!b) b = set->tail;
  R(b)->first = R(a)->first < first ? R(a)->first : first;
  if (R(b)->last < last) R(b)->last = last;
  while (a != b) {
    GuiListNode* next = a->next;
    GuiListRemoveNode(set, a);
    a = next;
  }
  return 0;
}

int GuiRangeSetRemoveRange(GuiList* set, int32_t first, int32_t last) {
  if (!set || first > last) return 0;
  for (GuiListNode* n = set->head; n;) {
    GuiListNode* next = n->next;
    GuiRange* r = R(n);
    if (r->first > last) break;
    if (r->last >= first) {
      if (r->first < first && r->last > last) {
        if (!NewRange(set, n, kListBefore, r->first, first - 1)) return 1;
        r->first = last + 1;
        break;
      }
      if (r->first < first)
        r->last = first - 1;
      else if (r->last > last)
        r->first = last + 1;
      else
        GuiListRemoveNode(set, n);
    }
    n = next;
  }
  return 0;
}

void GuiRangeSetShift(GuiList* set, int32_t at, int32_t delta) {
  if (!set) return;
  for (GuiListNode* n = set->head; n; n = n->next) {
    if (R(n)->first >= at) R(n)->first += delta;
    if (R(n)->last >= at) R(n)->last += delta;
  }
}

int GuiRangeSetInsertAt(GuiList* set, int32_t at, int member) {
  if (!set) return 0;
  GuiRangeSetShift(set, at, 1);
  return GuiRangeSetSet(set, at, member);
}

int GuiRangeSetDeleteAt(GuiList* set, int32_t at) {
  if (!set) return 0;
  GuiListNode* r = FirstEndingFrom(set, at);
  if (r && R(r)->first <= at) {
    // A member: its range loses one value; the ranges after it move down.
    if (R(r)->first == R(r)->last) {
      GuiListNode* next = r->next;
      GuiListRemoveNode(set, r);
      r = next;
    } else {
      --R(r)->last;
      r = r->next;
    }
    for (; r; r = r->next) {
      --R(r)->first;
      --R(r)->last;
    }
    return 0;
  }
  GuiRangeSetShift(set, at + 1, -1);
  // The range that started just above may now touch the one before the gap.
  if (r && r->prev && R(r->prev)->last == R(r)->first - 1) {
    R(r)->first = R(r->prev)->first;
    GuiListRemoveNode(set, r->prev);
  }
  return 0;
}

}  // namespace gui
