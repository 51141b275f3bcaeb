#include <gtest/gtest.h>

#include <string>

#include "bd_test_support.h"
#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdCore/bdContainers/bdLinkedList.h"
#include "bdCore/bdContainers/bdQueue.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdContainers/bdString.h"
#include "bdCore/bdUtilities/bdCString.h"

namespace {

using bdtest::CoreTest;

TEST_F(CoreTest, StringCapacityIsMultipleOf64) {
  struct {
    unsigned int length;
    unsigned int capacity;
  } cases[] = {{1, 64}, {63, 64}, {64, 128}, {127, 128}, {128, 192}};
  for (const auto& c : cases) {
    const std::string text(c.length, 'a');
    bdString s(text.c_str());
    EXPECT_EQ(s.getLength(), c.length);
    EXPECT_EQ(s.getCapacity(), c.capacity) << c.length;
  }
  bdString empty("");
  bdString other;
  EXPECT_EQ(empty.getBuffer(), other.getBuffer());  // the shared empty text
}

TEST_F(CoreTest, StringAssignmentIsCopyOnWrite) {
  bdString a("hello world");
  const char* block = a.getBuffer();
  a = "hi";
  EXPECT_EQ(a.getBuffer(), block);  // unshared: reused in place
  bdString b(a);
  EXPECT_EQ(a.getRefCount(), 2u);
  b = "changed";
  EXPECT_STREQ(a.getBuffer(), "hi");
  EXPECT_STREQ(b.getBuffer(), "changed");
  EXPECT_EQ(a.getRefCount(), 1u);
  a = a;
  EXPECT_STREQ(a.getBuffer(), "hi");
}

TEST_F(CoreTest, StringConcatenationSubstrAndFind) {
  bdString a("abc");
  bdString joined = a + "def";
  EXPECT_TRUE(joined == "abcdef");
  a += joined;
  a += 'g';
  a += "";
  EXPECT_STREQ(a.getBuffer(), "abcabcdefg");
  a += a;
  EXPECT_EQ(a.getLength(), 20u);
  bdString s("abcdef");
  EXPECT_TRUE(s.substr(2, 100) == "cdef");
  EXPECT_EQ(s.substr(4, 2).getLength(), 0u);
  unsigned int at = 0;
  EXPECT_TRUE(s.find('d', at));
  EXPECT_EQ(at, 3u);
  EXPECT_FALSE(s.find('z', at));
  EXPECT_TRUE(bdString() + bdString() == "");
  EXPECT_TRUE(bdString("x") != bdString("y"));
}

TEST(bdCStringTest, BoundedRoutinesTerminate) {
  char buf[5];
  EXPECT_EQ(bdStrlcpy(buf, "abcdefgh", sizeof buf), 8u);
  EXPECT_STREQ(buf, "abcd");
  bdStrlcpy(buf, "ab", sizeof buf);
  EXPECT_EQ(bdStrlcat(buf, "cdef", sizeof buf), 6u);
  EXPECT_STREQ(buf, "abcd");
  EXPECT_EQ(bdSnprintf(buf, sizeof buf, "%d", 123456), 6);
  EXPECT_STREQ(buf, "1234");
  EXPECT_EQ(bdMemcmp("\x01", "\xff", 1), -1);
  EXPECT_EQ(bdMemcmp("ab", "ab", 2), 0);
}

class Counted : public bdReferencable {
 public:
  explicit Counted(int* deaths) : m_deaths(deaths) {}
  ~Counted() override { ++*m_deaths; }

 private:
  int* m_deaths;
};

TEST_F(CoreTest, LastReferenceDestroysOnce) {
  int deaths = 0;
  {
    bdReference<Counted> a(new Counted(&deaths));
    bdReference<Counted> b = a;
    EXPECT_EQ(a->getRefCount(), 2);
    a = a;
    b = nullptr;
    EXPECT_EQ(deaths, 0);
  }
  EXPECT_EQ(deaths, 1);
}

TEST_F(CoreTest, ArrayOutOfRangeIsRefusedNotRead) {
  bdFastArray<int> fast(2);
  fast.pushBack(1);
  fast.pushBack(2);
  fast[2] = 99;  // goes to scratch, not past the end
  EXPECT_EQ(fast[3], 0);
  EXPECT_EQ(fast.getSize(), 2u);
  EXPECT_EQ(fast.getCapacity(), 2u);
  EXPECT_TRUE(log.saw("bdFastArray<T>::operator[], rangecheck failed"));

  bdArray<bdString> strings;
  strings.pushBack("a");
  EXPECT_EQ(strings[5].getLength(), 0u);
  EXPECT_TRUE(log.saw("bdArray<T>::operator[], rangecheck failed"));
}

TEST_F(CoreTest, ArraysGrowByDoublingAndRemoveBySwapping) {
  bdFastArray<int> a(3);
  for (int i = 0; i < 4; ++i)
    a.pushBack(i);
  EXPECT_EQ(a.getCapacity(), 6u);
  a.pushBack(1);
  EXPECT_EQ(a.removeAll(1), 2u);
  ASSERT_EQ(a.getSize(), 3u);
  EXPECT_EQ(a[0], 0);
  EXPECT_EQ(a[1], 3);  // the last element filled the gap
  EXPECT_EQ(a[2], 2);

  bdFastArray<unsigned char> bytes;
  bytes.setGrow(5, 7);
  EXPECT_EQ(bytes.getSize(), 6u);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[5], 7);

  bdArray<bdString> s;
  s.pushBack("x");
  for (int i = 0; i < 10; ++i)
    s.pushBack(s[0]);  // element of itself across growth
  EXPECT_EQ(s.getSize(), 11u);
  EXPECT_TRUE(s[10] == "x");
  bdArray<bdString> copy(s);
  EXPECT_EQ(copy.removeAll(bdString("x")), 11u);
  EXPECT_EQ(s.getSize(), 11u);
}

TEST_F(CoreTest, HashMapSizesItsBucketsFromCapacityAndLoadFactor) {
  bdHashMap<unsigned int, int> map(5, 0.75f);
  EXPECT_EQ(map.getCapacity(), 8u);
  EXPECT_EQ(map.getThreshold(), 6u);
  for (unsigned int k = 0; k < 6; ++k)
    EXPECT_TRUE(map.put(k, static_cast<int>(k) * 10));
  EXPECT_EQ(map.getCapacity(), 8u);
  EXPECT_TRUE(map.put(6, 60));
  EXPECT_EQ(map.getCapacity(), 16u);
  EXPECT_FALSE(map.put(3, 99));
  int v = 0;
  EXPECT_TRUE(map.get(3, v));
  EXPECT_EQ(v, 30);
  EXPECT_TRUE(map.remove(3));
  EXPECT_FALSE(map.contains(3));
  EXPECT_FALSE(map.remove(3));
  unsigned int seen = 0;
  for (auto it = map.getIterator(); it != nullptr; it = map.next(it))
    ++seen;
  EXPECT_EQ(seen, map.getSize());

  bdHashMap<bdString, int> bad(4, 1.5f);
  EXPECT_TRUE(log.saw("Illegal loadFactor. Using default value."));
  EXPECT_EQ(bad.getThreshold(), 3u);
  bad.put("k", 1);
  bad.clear();
  EXPECT_EQ(bad.getSize(), 0u);
}

TEST_F(CoreTest, StringHashTakesSignedCharacters) {
  EXPECT_EQ(bdHashingClass::getHash(bdString("")), 0u);
  EXPECT_EQ(bdHashingClass::getHash(bdString("ab")), 97u * 31u + 98u);
  EXPECT_EQ(bdHashingClass::getHash(bdString("\xff")), 0xFFFFFFFFu);
}

TEST_F(CoreTest, ListAndQueueRefuseEmptyAccess) {
  bdLinkedList<int> list;
  EXPECT_EQ(list.getHead(), nullptr);
  EXPECT_TRUE(log.saw("list is empty so has no head."));
  list.addTail(1);
  list.addTail(3);
  list.insertAfter(list.getHead(), 2);
  EXPECT_EQ(list.getHead()->m_next->m_value, 2);
  EXPECT_EQ(list.getTail()->m_value, 3);
  EXPECT_EQ(list.getCount(), 3u);

  bdQueue<int> q;
  EXPECT_EQ(q.peek(), 0);
  q.dequeue();
  EXPECT_TRUE(log.saw("queue empty, can't peek."));
  EXPECT_TRUE(log.saw("queue empty, can't dequeue."));
  q.enqueue(4);
  q.enqueue(5);
  EXPECT_EQ(q.peek(), 4);
  q.dequeue();
  EXPECT_EQ(q.peek(), 5);
}

}  // namespace
