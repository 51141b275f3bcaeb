#include "platform/message_sink.h"

#include <gtest/gtest.h>

#include "recording_sink.h"

namespace {

TEST(MessageSink, NoticesReachTheInstalledSinkThenThePreviousOne) {
  testsupport::RecordingSink outer(platform::kResultOk);
  {
    testsupport::RecordingSink inner(platform::kResultNo);
    inner.answers = {platform::kResultYes};
    EXPECT_EQ(platform::ShowNotice("first", "cap", 4), platform::kResultYes);
    EXPECT_EQ(platform::ShowNotice("second", nullptr, 0x30), platform::kResultNo);
    ASSERT_EQ(inner.messages.size(), 2u);
    EXPECT_EQ(inner.messages[0].text, "first");
    EXPECT_EQ(inner.messages[0].caption, "cap");
    EXPECT_EQ(inner.messages[0].flags, 4u);
    EXPECT_EQ(inner.messages[1].caption, "");
    EXPECT_EQ(inner.messages[1].flags, 0x30u);
  }
  EXPECT_EQ(platform::GetMessageSink(), &outer);
  EXPECT_EQ(platform::ShowNotice("third", "c", 0), platform::kResultOk);
  ASSERT_EQ(outer.messages.size(), 1u);
  EXPECT_EQ(outer.messages[0].text, "third");
}

TEST(MessageSink, WithoutASinkTheDefaultButtonAnswers) {
  ASSERT_EQ(platform::GetMessageSink(), nullptr);
  EXPECT_EQ(platform::ShowNotice("t", "c", 0), platform::kResultOk);
  EXPECT_EQ(platform::ShowNotice("t", "c", 2), platform::kResultAbort);
  EXPECT_EQ(platform::ShowNotice("t", "c", 4), platform::kResultYes);
  EXPECT_EQ(platform::ShowNotice("t", "c", 5), platform::kResultRetry);
}

}  // namespace
