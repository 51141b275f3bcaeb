#pragma once
// The narrow channel through which portable code asks the window side to show
// a notice (a message box). The Win32 side installs a sink that calls
// MessageBoxA; tests install a recording fake. With no sink installed a
// notice is written to stderr and answered with the default button.
#include <cstdint>

namespace platform {

// Results, as the Win32 message box returns them.
enum MessageResult : int {
  kResultOk = 1,
  kResultCancel = 2,
  kResultAbort = 3,
  kResultRetry = 4,
  kResultIgnore = 5,
  kResultYes = 6,
  kResultNo = 7,
  kResultTimeout = 57,
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // flags: the low four bits choose the buttons (0 OK, 1 OK/Cancel, 2 Abort/
  // Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel, 15 Cancel only).
  virtual int ShowMessage(const char* text, const char* caption, uint32_t flags) = 0;
};

// Installs the sink (not owned); returns the previous one.
MessageSink* SetMessageSink(MessageSink* sink);
MessageSink* GetMessageSink();
int ShowNotice(const char* text, const char* caption, uint32_t flags);

}  // namespace platform
