#include "online/win32/online_window_port_win32.h"

#include "ui/window_slots.h"

namespace online {

namespace {

bool Post(HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return window != nullptr && PostMessageA(window, message, wParam, lParam) != FALSE;
}

}  // namespace

bool Win32OnlineWindowPort::PostToSlot(int32_t slot, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam) {
  return Post(static_cast<HWND>(ui::GetSlotWindow(slot)), message, wParam, lParam);
}

bool Win32OnlineWindowPort::PostToForeground(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return Post(GetForegroundWindow(), message, wParam, lParam);
}

bool Win32OnlineWindowPort::PostToSessionWindow(uint32_t message, uintptr_t wParam,
                                                intptr_t lParam) {
  return Post(sessionWindow_, message, wParam, lParam);
}

void Win32OnlineWindowPort::DebugOutput(const char* text) { OutputDebugStringA(text); }

}  // namespace online
