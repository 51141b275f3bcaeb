#pragma once
// GuiTreeStore: a hierarchy of GuiLists. Each item is a node of its parent's
// list whose inline data is the item's own child list; that child list's user
// data holds the parent link and depth, then the caller's item bytes. An item
// handle is its node. The root list carries a link with depth -1 and no item
// bytes.
#include <cstddef>
#include <cstdint>

#include "gui/gui_list.h"

namespace gui {

struct GuiTreeLink {
  GuiList* parent;  // the parent's child list; the root for a top-level item
  int32_t depth;    // 0 for top-level items
  int32_t reserved;
};

// A new empty root; null when memory runs out.
GuiList* GuiTreeStoreCreate();

// A new item in the list at a GuiList position code relative to the cursor
// (kListFront, kListAfter, kListBack); null for bad arguments or no memory.
GuiListNode* GuiTreeStoreInsert(GuiList* list, const void* bytes, uint32_t size, int position);
// Inserts after the sibling; null when the sibling is not in the list.
GuiListNode* GuiTreeStoreInsertAfter(GuiList* list, GuiListNode* sibling, const void* bytes,
                                     uint32_t size);

// Called for an item's bytes (size 0 for the root's empty user data).
using GuiTreeFreeFn = void (*)(void* bytes, uint32_t size, void* context);
// Unlinks the node, calls the callback for it and every descendant, frees
// them. 1, or 0 when the node is not in the list.
int GuiTreeStoreRemove(GuiList* list, GuiListNode* node, GuiTreeFreeFn callback, void* context);
// The callback for the list's own item, then depth first for every
// descendant; each child list is cleared after its items.
void GuiTreeStoreFreeItems(GuiList* list, GuiTreeFreeFn callback, void* context);
void GuiTreeStoreClear(GuiList* list, GuiTreeFreeFn callback, void* context);
void GuiTreeStoreDestroy(GuiList* list, GuiTreeFreeFn callback, void* context);

// Walk answers: stop everything, skip this item's descendants, go into them.
enum GuiTreeWalkAnswer : int { kWalkStop = 0, kWalkSkip = 1, kWalkInto = 2 };
enum GuiTreeWalkFlags : int { kWalkPostOrder = 1, kWalkSkipSelf = 2 };
using GuiTreeVisitFn = int (*)(void* bytes, uint32_t size, void* context);
// 0 when a visitor stopped the walk, else 1.
int GuiTreeStoreWalk(GuiList* list, GuiTreeVisitFn visitor, void* context, int flags);
// First item in walk order (the list's own item excluded) the predicate
// accepts; null when none.
void* GuiTreeStoreFind(GuiList* list, int (*predicate)(void* context, void* bytes, uint32_t size),
                       void* context, uint32_t* size);

int GuiTreeStoreSetCursor(GuiList* list, GuiListNode* node);
int GuiTreeStoreContains(const GuiList* list, const GuiListNode* node);
// Removes the node n steps from the head, cursor or tail; 1 or 0.
int GuiTreeStoreRemoveAt(GuiList* list, int steps, int origin, GuiTreeFreeFn callback,
                         void* context);
// The item bytes of the node n steps from an origin; null off the list.
void* GuiTreeStoreItemAt(GuiList* list, int steps, int origin);

// Navigation. All accept null and then answer null, 0 or -1.
GuiList* GuiTreeStoreChildren(GuiListNode* node);
GuiListNode* GuiTreeStoreNodeOf(GuiList* children);  // null for the root
GuiTreeLink* GuiTreeStoreLink(GuiList* list);
void* GuiTreeStoreItem(GuiListNode* node);
uint32_t GuiTreeStoreItemSize(GuiListNode* node);
GuiListNode* GuiTreeStoreNodeFromItem(void* bytes);
GuiList* GuiTreeStoreParentList(GuiListNode* node);
GuiListNode* GuiTreeStoreParent(GuiListNode* node);  // null for a top-level item
int GuiTreeStoreDepth(GuiListNode* node);

}  // namespace gui
