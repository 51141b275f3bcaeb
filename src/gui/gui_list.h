#pragma once
// GuiList: a doubly linked list with a cursor whose nodes carry their data
// inline. Invariants: count equals the number of linked nodes; head and tail
// are null exactly when the list is empty; the cursor is null only then.
#include <cstddef>
#include <cstdint>

namespace gui {

struct GuiListNode {
  GuiListNode* prev;
  GuiListNode* next;
  void* data;  // points at the inline data that follows the node
};

struct GuiList {
  uint32_t count;
  GuiListNode* head;
  GuiListNode* tail;
  GuiListNode* cursor;
  void* userData;  // points at the inline user data that follows the header
  uint32_t userDataSize;
};

// Where a node is linked.
enum GuiListPosition : int {
  kListFront = 0,   // before the head
  kListAfter = 1,   // after the reference node
  kListBack = 2,    // after the tail
  kListBefore = 4,  // before the reference node
};

// Where a walk starts.
enum GuiListOrigin : int { kListFromHead = 0, kListFromCursor = 1, kListFromTail = 2 };

GuiList* GuiListCreate(uint32_t userDataSize);
void GuiListInit(GuiList* list);
void GuiListInitWithData(GuiList* list, uint32_t userDataSize);
void* GuiListGetUserData(GuiList* list);
uint32_t GuiListGetUserDataSize(const GuiList* list);

GuiListNode* GuiListNewNode(GuiList* list, size_t size, GuiListNode* ref, int position);
GuiListNode* GuiListInsertCopy(GuiList* list, const void* data, size_t size, GuiListNode* ref,
                               int position);
GuiListNode* GuiListNewNodeAtCursor(GuiList* list, size_t size, int position);
// Returns the new node's data pointer, not the node.
void* GuiListInsertCopyAtCursor(GuiList* list, const void* data, size_t size, int position);
// Links an existing node; the count is left to the caller. 1 or 0.
int GuiListLinkNode(GuiList* list, GuiListNode* node, GuiListNode* ref, int position);
int GuiListLinkAtCursor(GuiList* list, GuiListNode* node, int position);

int GuiListRemoveNode(GuiList* list, GuiListNode* node);
int GuiListRemoveRelative(GuiList* list, int steps, int origin);
// Moves the cursor; the data of the node reached, or null when the walk left
// the list (the cursor then rests on the end it ran past).
void* GuiListSeek(GuiList* list, int steps, int origin);

using GuiListCompare = int (*)(const void* key, void* data);
// From the cursor forward; the cursor rests on the match (or on the tail).
void* GuiListFindNext(GuiList* list, const void* key, GuiListCompare compare);

using GuiListVisit = int (*)(void* data, void* arg);
int GuiListForEach(GuiList* list, GuiListVisit visit, void* arg);

int GuiListClear(GuiList* list);
void GuiListDestroy(GuiList* list);

}  // namespace gui
