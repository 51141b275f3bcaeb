#pragma once
// Start-up and shut-down of the SDK core.

class bdCore {
 public:
  // With true the SDK's own allocator (bdMallocMemory) is installed into the
  // memory hooks; with false the host has installed its own.
  static void init(const bool installAllocator);
  // Destroys the singletons newest first, reports leaks and clears the hooks.
  static void quit();
  static bool isInitialized();
};
