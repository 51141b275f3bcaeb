#include "platform/message_sink.h"

#include <atomic>
#include <cstdio>

namespace platform {
namespace {
std::atomic<MessageSink*> g_sink{nullptr};

int DefaultButton(uint32_t flags) {
  switch (flags & 0xF) {
    case 2:
      return kResultAbort;
    case 3:
    case 4:
      return kResultYes;
    case 5:
      return kResultRetry;
    case 15:
      return kResultCancel;
    default:
      return kResultOk;
  }
}
}  // namespace

MessageSink* SetMessageSink(MessageSink* sink) { return g_sink.exchange(sink); }
MessageSink* GetMessageSink() { return g_sink.load(); }

int ShowNotice(const char* text, const char* caption, uint32_t flags) {
  if (MessageSink* s = g_sink.load()) return s->ShowMessage(text, caption, flags);
  std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
  return DefaultButton(flags);
}

}  // namespace platform
