#pragma once
// Process-wide SDK objects made on first use in SDK memory and destroyed by
// bdCore::quit, newest first.
#include <new>

#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdMemory/bdMemory.h"
#include "bdCore/bdUtilities/bdDebug.h"

class bdSingletonRegistry {
 public:
  using DestroyFunc = void (*)();

  static bdSingletonRegistry& getInstance();

  // False while shutting down.
  bool add(DestroyFunc destroy);
  // Runs every destroy function, last registered first, and frees the list.
  void cleanUp();
  bool isShuttingDown() const { return m_shuttingDown; }
  // A new core session may make singletons again.
  void restart() { m_shuttingDown = false; }

 private:
  bdSingletonRegistry() : m_shuttingDown(false) {}
  bdFastArray<DestroyFunc> m_destroyFunctions;
  bool m_shuttingDown;
};

template <typename T>
class bdSingleton {
 public:
  // The instance, made on first use; 0 when memory ran out or the core is shutting down.
  static T* getInstance() {
    if (s_instance != nullptr) return s_instance;
    void* block = bdMemory::allocate(sizeof(T));
    if (block == nullptr) {
      bdDebugStop();
      return nullptr;
    }
    s_instance = ::new (block) T();
    if (!bdSingletonRegistry::getInstance().add(&destroyInstance)) {
      destroyInstance();
      bdDebugStop();
    }
    return s_instance;
  }
  static bool exists() { return s_instance != nullptr; }
  static void destroyInstance() {
    T* instance = s_instance;
    s_instance = nullptr;
    if (instance == nullptr) return;
    instance->~T();
    bdMemory::deallocate(instance);
  }

 private:
  static T* s_instance;
};

template <typename T>
T* bdSingleton<T>::s_instance = nullptr;
