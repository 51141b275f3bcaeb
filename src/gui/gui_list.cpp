#include "gui/gui_list.h"

#include <cstring>

#include "gui/gui_memory.h"

namespace gui {

namespace {

GuiListNode* AllocNode(size_t size) {
  auto* node = static_cast<GuiListNode*>(GlobalAllocPtr(sizeof(GuiListNode) + size));
  if (node) node->data = node + 1;
  return node;
}

GuiListNode* OriginNode(const GuiList* list, int origin) {
  switch (origin) {
    case kListFromHead:
      return list->head;
    case kListFromCursor:
      return list->cursor;
    case kListFromTail:
      return list->tail;
    default:
      return nullptr;
  }
}

// The node |steps| away from the origin, or null when the walk leaves the
// list; *ranOff gets the end the walk ran past.
GuiListNode* Walk(const GuiList* list, int steps, int origin, GuiListNode** ranOff) {
  GuiListNode* n = OriginNode(list, origin);
  bool forward = steps > 0;
  for (int i = steps < 0 ? -steps : steps; n && i > 0; --i) {
    GuiListNode* next = forward ? n->next : n->prev;
    if (!next) {
      *ranOff = n;
      return nullptr;
    }
    n = next;
  }
  return n;
}

}  // namespace

GuiList* GuiListCreate(uint32_t userDataSize) {
  auto* list = static_cast<GuiList*>(GlobalAllocPtr(sizeof(GuiList) + userDataSize));
  if (list) GuiListInitWithData(list, userDataSize);
  return list;
}

void GuiListInit(GuiList* list) {
  if (!list) return;
  list->count = 0;
  list->head = list->tail = list->cursor = nullptr;
  list->userData = list + 1;
}

void GuiListInitWithData(GuiList* list, uint32_t userDataSize) {
  if (!list) return;
  GuiListInit(list);
  list->userDataSize = userDataSize;
}

void* GuiListGetUserData(GuiList* list) { return list ? list->userData : nullptr; }

uint32_t GuiListGetUserDataSize(const GuiList* list) {
  return list && list->userData ? list->userDataSize : 0;
}

int GuiListLinkNode(GuiList* list, GuiListNode* node, GuiListNode* ref, int position) {
  if (!list || !node) return 0;
  if (!list->head) {
    node->prev = node->next = nullptr;
    list->head = list->tail = list->cursor = node;
    return 1;
  }
  switch (position) {
    case kListFront:
      node->prev = nullptr;
      node->next = list->head;
      list->head->prev = node;
      list->head = node;
      break;
    case kListBack:
      node->next = nullptr;
      node->prev = list->tail;
      list->tail->next = node;
      list->tail = node;
      break;
    case kListAfter:
      if (!ref) return 0;
      node->prev = ref;
      node->next = ref->next;
      if (ref->next)
        ref->next->prev = node;
      else
        list->tail = node;
      ref->next = node;
      break;
    case kListBefore:
      if (!ref) return 0;
      node->next = ref;
      node->prev = ref->prev;
      if (ref->prev)
        ref->prev->next = node;
      else
        list->head = node;
      ref->prev = node;
      break;
    default:
      return 0;
  }
  if (!list->cursor) list->cursor = node;
  return 1;
}

int GuiListLinkAtCursor(GuiList* list, GuiListNode* node, int position) {
  return list ? GuiListLinkNode(list, node, list->cursor, position) : 0;
}

GuiListNode* GuiListNewNode(GuiList* list, size_t size, GuiListNode* ref, int position) {
  if (!list) return nullptr;
  GuiListNode* node = AllocNode(size);
  if (!node) return nullptr;
  if (!GuiListLinkNode(list, node, ref, position)) {
    GlobalFreePtr(node);
    return nullptr;
  }
  ++list->count;
  return node;
}

GuiListNode* GuiListInsertCopy(GuiList* list, const void* data, size_t size, GuiListNode* ref,
                               int position) {
  GuiListNode* node = GuiListNewNode(list, size, ref, position);
  if (node && data && size) std::memcpy(node->data, data, size);
  return node;
}

GuiListNode* GuiListNewNodeAtCursor(GuiList* list, size_t size, int position) {
  return list ? GuiListNewNode(list, size, list->cursor, position) : nullptr;
}

void* GuiListInsertCopyAtCursor(GuiList* list, const void* data, size_t size, int position) {
  if (!list) return nullptr;
  GuiListNode* node = GuiListInsertCopy(list, data, size, list->cursor, position);
  return node ? node->data : nullptr;
}

int GuiListRemoveNode(GuiList* list, GuiListNode* node) {
  if (!list || !node) return 0;
  if (node->prev)
    node->prev->next = node->next;
  else
    list->head = node->next;
  if (node->next)
    node->next->prev = node->prev;
  else
    list->tail = node->prev;
  if (list->cursor == node) list->cursor = list->head;
  GlobalFreePtr(node);
  --list->count;
  return 1;
}

int GuiListRemoveRelative(GuiList* list, int steps, int origin) {
  if (!list || !list->head) return 0;
  GuiListNode* ranOff = nullptr;
  GuiListNode* n = Walk(list, steps, origin, &ranOff);
  return n ? GuiListRemoveNode(list, n) : 0;
}

void* GuiListSeek(GuiList* list, int steps, int origin) {
  if (!list || !list->head) return nullptr;
  GuiListNode* ranOff = nullptr;
  GuiListNode* n = Walk(list, steps, origin, &ranOff);
  if (!n) {
    if (ranOff) list->cursor = steps < 0 ? list->head : list->tail;
    return nullptr;
  }
  list->cursor = n;
  return n->data;
}

void* GuiListFindNext(GuiList* list, const void* key, GuiListCompare compare) {
  if (!list || !compare) return nullptr;
  for (GuiListNode* n = list->cursor; n; n = n->next) {
    list->cursor = n;
    if (!n->data) return nullptr;
    if (compare(key, n->data)) return n->data;
  }
  return nullptr;
}

int GuiListForEach(GuiList* list, GuiListVisit visit, void* arg) {
  if (!list || !list->head) return 1;
  if (!visit) return 0;
  int result = 1;
  for (GuiListNode* n = list->head; n; n = n->next) {
    result = visit(n->data, arg);
    if (!result) break;
  }
  return result;
}

int GuiListClear(GuiList* list) {
  if (!list) return 0;
  while (list->tail)
    GuiListRemoveNode(list, list->tail);
  GuiListInit(list);
  return 1;
}

void GuiListDestroy(GuiList* list) {
  if (!list) return;
  GuiListClear(list);
  GlobalFreePtr(list);
}

}  // namespace gui
