#include "bdCore/bdUtilities/bdSingleton.h"

bdSingletonRegistry& bdSingletonRegistry::getInstance() {
  static bdSingletonRegistry registry;
  return registry;
}

bool bdSingletonRegistry::add(DestroyFunc destroy) {
  if (m_shuttingDown) return false;
  return m_destroyFunctions.pushBack(destroy);
}

void bdSingletonRegistry::cleanUp() {
  m_shuttingDown = true;
  for (unsigned int i = m_destroyFunctions.getSize(); i > 0; --i) {
    m_destroyFunctions[i - 1]();
  }
  m_destroyFunctions.reset();
}
