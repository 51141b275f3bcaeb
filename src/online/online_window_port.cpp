#include "online/online_window_port.h"

#include <atomic>
#include <cstring>

namespace online {

namespace {
std::atomic<OnlineWindowPort*> g_port{nullptr};
}  // namespace

OnlineWindowPort* SetOnlineWindowPort(OnlineWindowPort* port) { return g_port.exchange(port); }
OnlineWindowPort* GetOnlineWindowPort() { return g_port.load(); }

void OnlineDebugOutput(const char* text) {
  if (OnlineWindowPort* port = GetOnlineWindowPort()) port->DebugOutput(text);
}

// The size travels in a header in front of the bytes, so the window knows
// how much it was given.
unsigned char* CopyPostedBytes(const void* bytes, std::size_t size) {
  auto* block = new unsigned char[sizeof(std::size_t) + size];
  std::memcpy(block, &size, sizeof size);
  if (size != 0) std::memcpy(block + sizeof size, bytes, size);
  return block + sizeof size;
}

std::size_t PostedBytesSize(const unsigned char* bytes) {
  std::size_t size = 0;
  if (bytes != nullptr) std::memcpy(&size, bytes - sizeof size, sizeof size);
  return size;
}

void FreePostedBytes(unsigned char* bytes) {
  if (bytes != nullptr) delete[](bytes - sizeof(std::size_t));
}

bool PostBytesToSlot(int32_t slot, uint32_t message, uintptr_t wParam, const void* bytes,
                     std::size_t size) {
  OnlineWindowPort* port = GetOnlineWindowPort();
  if (port == nullptr) return false;
  unsigned char* copy = CopyPostedBytes(bytes, size);
  if (port->PostToSlot(slot, message, wParam, reinterpret_cast<intptr_t>(copy))) return true;
  FreePostedBytes(copy);
  return false;
}

bool PostBytesToSessionWindow(uint32_t message, uintptr_t wParam, const void* bytes,
                              std::size_t size) {
  OnlineWindowPort* port = GetOnlineWindowPort();
  if (port == nullptr) return false;
  unsigned char* copy = CopyPostedBytes(bytes, size);
  if (port->PostToSessionWindow(message, wParam, reinterpret_cast<intptr_t>(copy))) return true;
  FreePostedBytes(copy);
  return false;
}

}  // namespace online
