#pragma once
// A message sink for tests: records every notice and answers with a scripted
// button (or the given default).
#include <string>
#include <vector>

#include "platform/message_sink.h"

namespace testsupport {

struct RecordedMessage {
  std::string text;
  std::string caption;
  uint32_t flags;
};

class RecordingSink : public platform::MessageSink {
 public:
  explicit RecordingSink(int answer = platform::kResultOk);
  ~RecordingSink() override;
  int ShowMessage(const char* text, const char* caption, uint32_t flags) override;

  std::vector<RecordedMessage> messages;
  std::vector<int> answers;  // consumed front first; then `answer`
  int answer;

 private:
  platform::MessageSink* previous_;
};

}  // namespace testsupport
