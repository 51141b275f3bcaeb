#pragma once
// The online window port on Win32: PostMessageA to the registered slot
// windows, the foreground window and the session window.
#include <windows.h>

#include "online/online_window_port.h"

namespace online {

class Win32OnlineWindowPort : public OnlineWindowPort {
 public:
  bool PostToSlot(int32_t slot, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  bool PostToForeground(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  bool PostToSessionWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void DebugOutput(const char* text) override;

  // The staging area's window while it exists (interface thread).
  void SetSessionWindow(HWND window) { sessionWindow_ = window; }

 private:
  HWND volatile sessionWindow_ = nullptr;
};

}  // namespace online
