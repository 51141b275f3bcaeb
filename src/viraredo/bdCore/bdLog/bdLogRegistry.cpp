#include "bdCore/bdLog/bdLogRegistry.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"

namespace {
bool isRootRelative(const char* path) {
  return path != nullptr && std::strncmp(path, "vr", 2) != 0;
}
}  // namespace

bdLogRegistry::bdLogRegistry() : m_root(new bdLogChannel("vr")) {}

bdLogRegistry::~bdLogRegistry() { delete m_root; }

bool bdLogRegistry::addSubscriber(const char* path, bdLogSubscriber* subscriber) {
  if (m_root == nullptr || !isRootRelative(path)) return false;
  return m_root->addSubscriber(path, subscriber);
}

void bdLogRegistry::removeSubscriber(const char* path, bdLogSubscriber* subscriber) {
  if (m_root == nullptr || !isRootRelative(path)) return;
  m_root->removeSubscriber(path, nullptr, subscriber);
}

void bdLogRegistry::removeSubscriber(bdLogSubscriber* subscriber) {
  if (m_root != nullptr) m_root->removeSubscriber(subscriber);
}

void bdLogRegistry::setRoot(const char* name) {
  delete m_root;
  m_root = new bdLogChannel(name);
}

void bdLogRegistry::publish(const char* file, const char* function, unsigned int line,
                            const char* path, const char* message) {
  if (m_root != nullptr) m_root->publish(file, function, line, path, message);
}

void bdLogPrint(const bdLogLocation& location, const char* channel, const char* format, ...) {
  // Nothing can listen before the core starts or once it is shutting down, and
  // making the registry then would only fail.
  if (bdMemory::getAllocateHook() == nullptr ||
      bdSingletonRegistry::getInstance().isShuttingDown()) {
    return;
  }
  char fullChannel[150];
  std::snprintf(fullChannel, sizeof fullChannel, "%s%s", location.m_level ? location.m_level : "",
                channel ? channel : "");
  char message[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  bdLogRegistry* registry = bdLogRegistry::getInstance();
  if (registry == nullptr) return;
  // The path below the root drops the "vr/" of the level prefix.
  const char* path = std::strlen(fullChannel) >= 3 ? fullChannel + 3 : "";
  registry->publish(location.m_file, location.m_function, location.m_line, path, message);
}
