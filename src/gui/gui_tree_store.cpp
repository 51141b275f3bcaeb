#include "gui/gui_tree_store.h"

#include <cstring>

#include "gui/gui_memory.h"

namespace gui {

namespace {

// Node data: the child list header, then the link, then the item bytes.
constexpr size_t kHeader = sizeof(GuiList) + sizeof(GuiTreeLink);

uint32_t ItemBytesSize(const GuiList* children) {
  uint32_t n = GuiListGetUserDataSize(children);
  return n > sizeof(GuiTreeLink) ? n - static_cast<uint32_t>(sizeof(GuiTreeLink)) : 0;
}

void* ItemBytes(GuiList* children) {
  return static_cast<char*>(children->userData) + sizeof(GuiTreeLink);
}

GuiListNode* FindNode(const GuiList* list, const GuiListNode* node) {
  if (!list || !node) return nullptr;
  for (GuiListNode* n = list->head; n; n = n->next)
    if (n == node) return n;
  return nullptr;
}

}  // namespace

GuiList* GuiTreeStoreCreate() {
  GuiList* root = GuiListCreate(sizeof(GuiTreeLink));
  if (root) GuiTreeStoreLink(root)->depth = -1;
  return root;
}

GuiTreeLink* GuiTreeStoreLink(GuiList* list) {
  return list ? static_cast<GuiTreeLink*>(list->userData) : nullptr;
}

GuiList* GuiTreeStoreChildren(GuiListNode* node) {
  return node ? static_cast<GuiList*>(node->data) : nullptr;
}

GuiListNode* GuiTreeStoreNodeOf(GuiList* children) {
  if (!children || !GuiTreeStoreLink(children)->parent) return nullptr;
  return reinterpret_cast<GuiListNode*>(children) - 1;
}

void* GuiTreeStoreItem(GuiListNode* node) {
  return node ? ItemBytes(GuiTreeStoreChildren(node)) : nullptr;
}

uint32_t GuiTreeStoreItemSize(GuiListNode* node) {
  return node ? ItemBytesSize(GuiTreeStoreChildren(node)) : 0;
}

GuiListNode* GuiTreeStoreNodeFromItem(void* bytes) {
  if (!bytes) return nullptr;
  return reinterpret_cast<GuiListNode*>(static_cast<char*>(bytes) - kHeader) - 1;
}

GuiList* GuiTreeStoreParentList(GuiListNode* node) {
  return node ? GuiTreeStoreLink(GuiTreeStoreChildren(node))->parent : nullptr;
}

GuiListNode* GuiTreeStoreParent(GuiListNode* node) {
  return GuiTreeStoreNodeOf(GuiTreeStoreParentList(node));
}

int GuiTreeStoreDepth(GuiListNode* node) {
  return node ? GuiTreeStoreLink(GuiTreeStoreChildren(node))->depth : -1;
}

GuiListNode* GuiTreeStoreInsert(GuiList* list, const void* bytes, uint32_t size, int position) {
  if (!list || !bytes || !size) return nullptr;
  GuiListNode* node = GuiListNewNodeAtCursor(list, kHeader + size, position);
  if (!node) return nullptr;
  auto* children = static_cast<GuiList*>(node->data);
  GuiListInitWithData(children, static_cast<uint32_t>(sizeof(GuiTreeLink) + size));
  GuiTreeLink* link = GuiTreeStoreLink(children);
  link->parent = list;
  link->depth = GuiTreeStoreLink(list)->depth + 1;
  std::memcpy(ItemBytes(children), bytes, size);
  return node;
}

GuiListNode* GuiTreeStoreInsertAfter(GuiList* list, GuiListNode* sibling, const void* bytes,
                                     uint32_t size) {
  if (!GuiTreeStoreSetCursor(list, sibling)) return nullptr;
  return GuiTreeStoreInsert(list, bytes, size, kListAfter);
}

void GuiTreeStoreFreeItems(GuiList* list, GuiTreeFreeFn callback, void* context) {
  if (!list) return;
  if (callback) callback(ItemBytes(list), ItemBytesSize(list), context);
  for (GuiListNode* n = list->head; n; n = n->next)
    GuiTreeStoreFreeItems(GuiTreeStoreChildren(n), callback, context);
  // Children are freed after their own descendants.
  GuiTreeLink link = *GuiTreeStoreLink(list);
  uint32_t size = list->userDataSize;
  GuiListClear(list);
  list->userDataSize = size;
  *GuiTreeStoreLink(list) = link;
}

int GuiTreeStoreRemove(GuiList* list, GuiListNode* node, GuiTreeFreeFn callback, void* context) {
  if (!FindNode(list, node)) return 0;
  GuiTreeStoreFreeItems(GuiTreeStoreChildren(node), callback, context);
  return GuiListRemoveNode(list, node);
}

void GuiTreeStoreClear(GuiList* list, GuiTreeFreeFn callback, void* context) {
  GuiTreeStoreFreeItems(list, callback, context);
}

void GuiTreeStoreDestroy(GuiList* list, GuiTreeFreeFn callback, void* context) {
  if (!list) return;
  GuiTreeStoreFreeItems(list, callback, context);
  GlobalFreePtr(list);
}

int GuiTreeStoreWalk(GuiList* list, GuiTreeVisitFn visitor, void* context, int flags) {
  if (!list || !visitor) return 1;
  bool post = (flags & kWalkPostOrder) != 0;
  bool self = (flags & kWalkSkipSelf) == 0;
  int answer = kWalkInto;
  if (self && !post) {
    answer = visitor(ItemBytes(list), ItemBytesSize(list), context);
    if (answer == kWalkStop) return 0;
  }
  if (answer != kWalkSkip)
    for (GuiListNode* n = list->head; n;) {
      GuiListNode* next = n->next;  // a post-order visitor may free n
      if (!GuiTreeStoreWalk(GuiTreeStoreChildren(n), visitor, context, flags & kWalkPostOrder))
        return 0;
      n = next;
    }
  if (self && post && visitor(ItemBytes(list), ItemBytesSize(list), context) == kWalkStop) return 0;
  return 1;
}

namespace {
struct FindState {
  int (*predicate)(void*, void*, uint32_t);
  void* context;
  void* found;
  uint32_t size;
};
int FindVisit(void* bytes, uint32_t size, void* context) {
  auto* s = static_cast<FindState*>(context);
  if (!s->predicate(s->context, bytes, size)) return kWalkInto;
  s->found = bytes;
  s->size = size;
  return kWalkStop;
}
}  // namespace

void* GuiTreeStoreFind(GuiList* list, int (*predicate)(void* context, void* bytes, uint32_t size),
                       void* context, uint32_t* size) {
  if (!predicate) return nullptr;
  FindState s{predicate, context, nullptr, 0};
  GuiTreeStoreWalk(list, FindVisit, &s, kWalkSkipSelf);
  if (size) *size = s.size;
  return s.found;
}

int GuiTreeStoreSetCursor(GuiList* list, GuiListNode* node) {
  GuiListNode* n = FindNode(list, node);
  if (!n) return 0;
  list->cursor = n;
  return 1;
}

int GuiTreeStoreContains(const GuiList* list, const GuiListNode* node) {
  return FindNode(list, node) ? 1 : 0;
}

namespace {
GuiListNode* NodeAt(GuiList* list, int steps, int origin) {
  if (!list || !list->head) return nullptr;
  GuiListNode* n = origin == kListFromHead     ? list->head
                   : origin == kListFromCursor ? list->cursor
                   : origin == kListFromTail   ? list->tail
                                               : nullptr;
  for (int i = steps; n && i > 0; --i)
    n = n->next;
  for (int i = steps; n && i < 0; ++i)
    n = n->prev;
  return n;
}
}  // namespace

int GuiTreeStoreRemoveAt(GuiList* list, int steps, int origin, GuiTreeFreeFn callback,
                         void* context) {
  GuiListNode* n = NodeAt(list, steps, origin);
  return n ? GuiTreeStoreRemove(list, n, callback, context) : 0;
}

void* GuiTreeStoreItemAt(GuiList* list, int steps, int origin) {
  return GuiTreeStoreItem(NodeAt(list, steps, origin));
}

}  // namespace gui
