#pragma once
// Doubly linked list; nodes live in SDK memory.
#include <new>

#include "bdCore/bdContainers/bdArrayBase.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"

template <typename T>
class bdLinkedList {
 public:
  struct Node {
    explicit Node(const T& value) : m_value(value), m_next(nullptr), m_prev(nullptr) {}
    T m_value;
    Node* m_next;
    Node* m_prev;
  };

  bdLinkedList() : m_head(nullptr), m_tail(nullptr), m_count(0) {}
  bdLinkedList(const bdLinkedList&) = delete;
  bdLinkedList& operator=(const bdLinkedList&) = delete;
  ~bdLinkedList() { clear(); }

  Node* getHead() const {
    if (m_head == nullptr) bdAssertMsg("bdLinkedList::GetHead, list is empty so has no head.");
    return m_head;
  }
  Node* getTail() const { return m_tail; }
  unsigned int getCount() const { return m_count; }
  bool isEmpty() const { return m_count == 0; }

  // Links value after node, or after the tail when node is null. False when memory ran out.
  bool insertAfter(Node* node, const T& value) {
    void* block = bdMemory::allocate(sizeof(Node));
    if (block == nullptr) return false;
    Node* fresh = ::new (block) Node(value);
    if (node == nullptr) node = m_tail;
    if (node == nullptr) {
      m_head = m_tail = fresh;
    } else {
      fresh->m_prev = node;
      fresh->m_next = node->m_next;
      if (node->m_next != nullptr) {
        node->m_next->m_prev = fresh;
      } else {
        if (node != m_tail) {
          bdAssertMsg("bdLinkedList::insertAfter, node has no next entry, but is not the tail.");
        }
        m_tail = fresh;
      }
      node->m_next = fresh;
    }
    ++m_count;
    return true;
  }
  bool addTail(const T& value) { return insertAfter(nullptr, value); }

  void remove(Node* node) {
    if (node == nullptr) return;
    if (node->m_prev != nullptr) node->m_prev->m_next = node->m_next;
    if (node->m_next != nullptr) node->m_next->m_prev = node->m_prev;
    if (m_head == node) m_head = node->m_next;
    if (m_tail == node) m_tail = node->m_prev;
    node->~Node();
    bdMemory::deallocate(node);
    --m_count;
  }
  void clear() {
    while (m_head != nullptr)
      remove(m_head);
  }

 private:
  Node* m_head;
  Node* m_tail;
  unsigned int m_count;
};
