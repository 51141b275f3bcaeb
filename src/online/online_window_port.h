#pragma once
// The window side as the online front-end sees it. Code on the pump thread
// only posts through this port: it never shows a box or touches a window.
// The Win32 front-end installs its implementation; tests install a recording
// fake. With none installed every post is refused.
#include <cstddef>
#include <cstdint>

namespace online {

constexpr uint32_t kWmLButtonUp = 0x0202;
constexpr uint32_t kWmApp = 0x8000;
// lParam: a game message copy (PostedBytes) the window echoes and frees.
constexpr uint32_t kMsgEchoChatLine = kWmApp + 1;
// wParam the sender slot, lParam a PostedBytes copy of the text.
constexpr uint32_t kMsgSessionChat = kWmApp + 4;
constexpr uint32_t kMsgEjected = kWmApp + 5;

// The window that shows game chat lines.
constexpr int32_t kGameWindowSlot = 11;

class OnlineWindowPort {
 public:
  virtual ~OnlineWindowPort() = default;
  // PostMessage to the window registered in the slot; false when there is
  // none or the post failed.
  virtual bool PostToSlot(int32_t slot, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // PostMessage to the foreground window; false when there is none.
  virtual bool PostToForeground(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // PostMessage to the session (staging area) window; false when none.
  virtual bool PostToSessionWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // OutputDebugStringA.
  virtual void DebugOutput(const char* text) { (void)text; }
};

// Installs the port (not owned); returns the previous one.
OnlineWindowPort* SetOnlineWindowPort(OnlineWindowPort* port);
OnlineWindowPort* GetOnlineWindowPort();
void OnlineDebugOutput(const char* text);

// Byte copies handed to windows through lParam. The receiving window frees
// them with FreePostedBytes; when a post is refused, the poster frees them.
unsigned char* CopyPostedBytes(const void* bytes, std::size_t size);
std::size_t PostedBytesSize(const unsigned char* bytes);
void FreePostedBytes(unsigned char* bytes);
// Posts a copy; the copy is freed when the post is refused.
bool PostBytesToSlot(int32_t slot, uint32_t message, uintptr_t wParam, const void* bytes,
                     std::size_t size);
bool PostBytesToSessionWindow(uint32_t message, uintptr_t wParam, const void* bytes,
                              std::size_t size);

}  // namespace online
