#pragma once
// Chained hash map with a power-of-two bucket count that doubles when the
// element count passes capacity x load factor.
#include <cstddef>
#include <cstring>
#include <new>

#include "bdCore/bdContainers/bdHashingClass.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"
#include "bdCore/bdUtilities/bdBitOperations.h"

template <typename K, typename V, typename H = bdHashingClass>
class bdHashMap {
  struct Node {
    Node(const K& key, const V& value, Node* next) : m_value(value), m_key(key), m_next(next) {}
    V m_value;
    K m_key;
    Node* m_next;
  };

 public:
  using Iterator = void*;

  explicit bdHashMap(const unsigned int capacity = 4, const float loadFactor = 0.75f)
      : m_size(0), m_capacity(0), m_loadFactor(0.75f), m_threshold(0), m_buckets(nullptr) {
    createMap(capacity, loadFactor);
  }
  bdHashMap(const bdHashMap&) = delete;
  bdHashMap& operator=(const bdHashMap&) = delete;
  ~bdHashMap() {
    clear();
    bdMemory::deallocate(m_buckets);
  }

  // False when the key is present (its value stays) or memory ran out.
  bool put(const K& key, const V& value) {
    if (find(key) != nullptr) return false;
    if (m_size + 1 > m_threshold) resize(m_capacity * 2);
    if (m_buckets == nullptr) return false;
    void* block = bdMemory::allocate(sizeof(Node));
    if (block == nullptr) return false;
    Node*& head = m_buckets[bucketOf(key)];
    head = ::new (block) Node(key, value, head);
    ++m_size;
    return true;
  }
  bool get(const K& key, V& value) const {
    const Node* node = find(key);
    if (node == nullptr) return false;
    value = node->m_value;
    return true;
  }
  bool contains(const K& key) const { return find(key) != nullptr; }
  bool remove(const K& key) {
    if (m_buckets == nullptr) return false;
    for (Node** link = &m_buckets[bucketOf(key)]; *link != nullptr; link = &(*link)->m_next) {
      if ((*link)->m_key == key) {
        Node* node = *link;
        *link = node->m_next;
        destroyNode(node);
        --m_size;
        return true;
      }
    }
    return false;
  }
  void clear() {
    for (unsigned int i = 0; i < m_capacity; ++i) {
      while (m_buckets[i] != nullptr) {
        Node* node = m_buckets[i];
        m_buckets[i] = node->m_next;
        destroyNode(node);
      }
    }
    m_size = 0;
  }
  unsigned int getSize() const { return m_size; }
  unsigned int getCapacity() const { return m_capacity; }
  unsigned int getThreshold() const { return m_threshold; }

  // Iteration: bucket by bucket, each chain from its head. Null ends it.
  Iterator getIterator() const { return firstFrom(0); }
  Iterator next(Iterator it) const {
    const Node* node = static_cast<const Node*>(it);
    if (node == nullptr) return nullptr;
    if (node->m_next != nullptr) return node->m_next;
    return firstFrom(bucketOf(node->m_key) + 1);
  }
  const K& getKey(Iterator it) const { return static_cast<Node*>(it)->m_key; }
  V& getValue(Iterator it) const { return static_cast<Node*>(it)->m_value; }

  // Grows to n buckets (rounded up to a power of two); never shrinks.
  void resize(unsigned int n) {
    const unsigned int capacity = bdBitOperations::nextPowerOf2(n);
    if (capacity <= m_capacity) return;
    Node** buckets = allocateBuckets(capacity);
    if (buckets == nullptr) return;
    Node** old = m_buckets;
    const unsigned int oldCapacity = m_capacity;
    m_buckets = buckets;
    m_capacity = capacity;
    m_threshold = static_cast<unsigned int>(static_cast<float>(capacity) * m_loadFactor);
    for (unsigned int i = 0; i < oldCapacity; ++i) {
      while (old[i] != nullptr) {
        Node* node = old[i];
        old[i] = node->m_next;
        Node*& head = m_buckets[bucketOf(node->m_key)];
        node->m_next = head;
        head = node;
      }
    }
    bdMemory::deallocate(old);
  }

 private:
  void createMap(const unsigned int capacity, const float loadFactor) {
    m_loadFactor = loadFactor;
    if (!(loadFactor > 0.0f && loadFactor <= 1.0f)) {
      bdLogWarn("hashmap", "Illegal loadFactor. Using default value.");
      m_loadFactor = 0.75f;
    }
    // At least one bucket: the bucket index masks with capacity - 1.
    unsigned int buckets = bdBitOperations::nextPowerOf2(capacity);
    if (buckets == 0) buckets = capacity == 0 ? 1 : 0x80000000u;
    m_buckets = allocateBuckets(buckets);
    m_capacity = m_buckets != nullptr ? buckets : 0;
    m_threshold = static_cast<unsigned int>(static_cast<float>(m_capacity) * m_loadFactor);
  }
  static Node** allocateBuckets(unsigned int n) {
    if (n > SIZE_MAX / sizeof(Node*)) return nullptr;
    Node** buckets = static_cast<Node**>(bdMemory::allocate(n * sizeof(Node*)));
    if (buckets != nullptr) {
      for (unsigned int i = 0; i < n; ++i)
        buckets[i] = nullptr;
    }
    return buckets;
  }
  static void destroyNode(Node* node) {
    node->~Node();
    bdMemory::deallocate(node);
  }
  unsigned int bucketOf(const K& key) const { return H::getHash(key) & (m_capacity - 1); }
  Node* find(const K& key) const {
    if (m_buckets == nullptr) return nullptr;
    for (Node* node = m_buckets[bucketOf(key)]; node != nullptr; node = node->m_next) {
      if (node->m_key == key) return node;
    }
    return nullptr;
  }
  Node* firstFrom(unsigned int bucket) const {
    for (unsigned int i = bucket; i < m_capacity; ++i) {
      if (m_buckets[i] != nullptr) return m_buckets[i];
    }
    return nullptr;
  }

  unsigned int m_size;
  unsigned int m_capacity;
  float m_loadFactor;
  unsigned int m_threshold;
  Node** m_buckets;
};
