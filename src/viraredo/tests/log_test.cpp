#include <gtest/gtest.h>

#include <string>

#include "bd_test_support.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdLog/bdLogRegistry.h"

namespace {

using bdtest::CoreTest;
using bdtest::RecordingSubscriber;

class LogTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    registry()->removeSubscriber(&log);
  }
  static bdLogRegistry* registry() { return bdLogRegistry::getInstance(); }
};

TEST_F(LogTest, MessagesWalkDownTheTreeAsFarAsNodesExist) {
  RecordingSubscriber root, info, bdCoreNode, bitBuffer, warn;
  registry()->addSubscriber("", &root);
  registry()->addSubscriber("info", &info);
  registry()->addSubscriber("info/bdCore", &bdCoreNode);
  registry()->addSubscriber("info/bdCore/bitBuffer", &bitBuffer);
  registry()->addSubscriber("warn", &warn);

  bdLogInfo("bdCore/bitBuffer", "value %d", 7);
  for (auto* s : {&root, &info, &bdCoreNode, &bitBuffer}) {
    ASSERT_EQ(s->messages.size(), 1u);
    EXPECT_EQ(s->messages[0].message, "value 7");
  }
  EXPECT_EQ(root.messages[0].node, "vr");
  EXPECT_EQ(bitBuffer.messages[0].node, "bitBuffer");
  EXPECT_TRUE(warn.messages.empty());

  // A failed check reaches only vr and err.
  bdAssertMsg("check %s", "failed");
  EXPECT_EQ(root.messages.size(), 2u);
  EXPECT_EQ(info.messages.size(), 1u);
  EXPECT_NE(root.messages[1].function.find("TestBody"), std::string::npos);

  registry()->removeSubscriber(&root);
  registry()->removeSubscriber(&info);
  registry()->removeSubscriber(&bdCoreNode);
  registry()->removeSubscriber(&bitBuffer);
  registry()->removeSubscriber(&warn);
}

TEST_F(LogTest, SubscriberAtAPathHearsOnlyThatChannel) {
  RecordingSubscriber s;
  ASSERT_TRUE(registry()->addSubscriber("warn/hashmap", &s));
  ASSERT_NE(registry()->getRoot()->findChild("warn"), nullptr);
  bdLogWarn("hashmap", "one");
  bdLogWarn("other", "two");
  bdLogError("hashmap", "three");
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0].message, "one");
  EXPECT_EQ(s.messages[0].node, "hashmap");
  EXPECT_FALSE(registry()->addSubscriber("vr/warn", &s));
  registry()->removeSubscriber("warn/hashmap", &s);
  // With nothing left below it, the branch is gone.
  EXPECT_EQ(registry()->getRoot()->findChild("warn"), nullptr);
}

TEST_F(LogTest, RemovingOneSubscriberKeepsOthersDeeperDown) {
  RecordingSubscriber shallow, deep;
  registry()->addSubscriber("warn/hashmap", &shallow);
  registry()->addSubscriber("warn/hashmap/detail", &deep);
  registry()->removeSubscriber("warn/hashmap", &shallow);
  bdLogWarn("hashmap/detail", "still here");
  ASSERT_EQ(deep.messages.size(), 1u);
  EXPECT_TRUE(shallow.messages.empty());
  registry()->removeSubscriber(&deep);
  EXPECT_EQ(registry()->getRoot()->findChild("warn"), nullptr);
}

TEST_F(LogTest, LongMessagesAndChannelsAreCut) {
  RecordingSubscriber s;
  registry()->addSubscriber("", &s);
  const std::string longText(2000, 'x');
  bdLogInfo("c", "%s", longText.c_str());
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0].message, std::string(1023, 'x'));
  const std::string longChannel(400, 'y');
  bdLogInfo(longChannel.c_str(), "ok");
  EXPECT_EQ(s.messages.size(), 2u);
  registry()->removeSubscriber(&s);
}

TEST_F(LogTest, ReplacingTheRootDropsTheTree) {
  RecordingSubscriber s;
  registry()->addSubscriber("err", &s);
  registry()->setRoot("vr");
  bdLogError("x", "gone");
  EXPECT_TRUE(s.messages.empty());
}

TEST(bdLogWithoutCore, PrintingHasNoEffect) {
  // A subscriber of a core that has quit hears nothing, and printing makes
  // no registry and allocates nothing.
  RecordingSubscriber s;
  bdCore::init(true);
  bdLogRegistry::getInstance()->addSubscriber("", &s);
  bdCore::quit();
  bdMallocMemory::releaseAll();
  bdLogError("anything", "nobody listens %d", 1);
  bdLogInfo("bdCore/bitBuffer", "nor here");
  EXPECT_TRUE(s.messages.empty());
  EXPECT_EQ(bdMallocMemory::getTotalBytes(), 0u);
}

}  // namespace
