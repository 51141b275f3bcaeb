#include "recording_sink.h"

namespace testsupport {

RecordingSink::RecordingSink(int a) : answer(a), previous_(platform::SetMessageSink(this)) {}

RecordingSink::~RecordingSink() { platform::SetMessageSink(previous_); }

int RecordingSink::ShowMessage(const char* text, const char* caption, uint32_t flags) {
  messages.push_back({text ? text : "", caption ? caption : "", flags});
  if (!answers.empty()) {
    int a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  return answer;
}

}  // namespace testsupport
