#include "bdCore/bdCore.h"

#include <cstdio>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMallocMemory.h"
#include "bdCore/bdMemory/bdMemory.h"
#include "bdCore/bdUtilities/bdDebug.h"
#include "bdCore/bdUtilities/bdSingleton.h"

namespace {
bool g_initialized = false;

void reportLeaks() {
  const std::size_t bytes = bdMallocMemory::getTotalBytes();
  if (bytes == 0) return;
  char text[100];
  std::snprintf(text, sizeof text, "%u Bytes leaked in %u allocation(s)\n",
                static_cast<unsigned int>(bytes),
                static_cast<unsigned int>(bdMallocMemory::getAllocationCount()));
  static const char kBanner[] = "********************************************\n";
  bdDebugOutput(kBanner);
  bdDebugOutput("*      VIRAREDO MEMORY LEAKS DETECTED      *\n");
  bdDebugOutput(kBanner);
  bdDebugOutput(text);
  bdDebugOutput(kBanner);
}
}  // namespace

void bdCore::init(const bool installAllocator) {
  if (g_initialized) {
    bdLogWarn("core", "init() has been called twice without an intermediate quit()");
    return;
  }
  if (installAllocator) {
    bdMemory::setAllocateHook(&bdMallocMemory::allocate);
    bdMemory::setDeallocateHook(&bdMallocMemory::deallocate);
    bdMemory::setReallocateHook(&bdMallocMemory::reallocate);
    bdMemory::setAlignedAllocateHook(&bdMallocMemory::alignedAllocate);
    bdMemory::setAlignedDeallocateHook(&bdMallocMemory::alignedDeallocate);
    bdMemory::setAlignedReallocateHook(&bdMallocMemory::alignedReallocate);
  }
  bdSingletonRegistry::getInstance().restart();
  g_initialized = true;
}

void bdCore::quit() {
  if (!g_initialized) {
    bdLogWarn("core", "quit() has been called twice without an intermediate init()");
    return;
  }
  bdSingletonRegistry::getInstance().cleanUp();
  reportLeaks();
  bdMemory::clearHooks();
  g_initialized = false;
}

bool bdCore::isInitialized() { return g_initialized; }
