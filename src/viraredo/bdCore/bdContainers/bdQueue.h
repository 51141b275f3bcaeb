#pragma once
// First-in first-out queue over bdLinkedList.
#include "bdCore/bdContainers/bdLinkedList.h"

template <typename T>
class bdQueue {
 public:
  bool enqueue(const T& value) { return m_list.addTail(value); }
  // The front value; on an empty queue a scratch default value, never other memory.
  T& peek() {
    if (m_list.isEmpty()) {
      bdAssertMsg("bdQueue::dequeue, queue empty, can't peek.");
      return bdArrayDetail::outOfRangeElement<T>();
    }
    return m_list.getHead()->m_value;
  }
  void dequeue() {
    if (m_list.isEmpty()) {
      bdAssertMsg("bdQueue::dequeue, queue empty, can't dequeue.");
      return;
    }
    m_list.remove(m_list.getHead());
  }
  bool isEmpty() const { return m_list.isEmpty(); }
  unsigned int getSize() const { return m_list.getCount(); }
  void clear() { m_list.clear(); }

 private:
  bdLinkedList<T> m_list;
};
