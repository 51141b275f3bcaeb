#include "bdCore/bdLog/bdLogChannel.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"

namespace {
constexpr std::size_t kMaxComponent = 99;

// Splits off the first path component; returns the rest after its "/".
const char* firstComponent(const char* path, char (&component)[kMaxComponent + 1]) {
  std::size_t n = 0;
  while (path[n] != 0 && path[n] != '/')
    ++n;
  const std::size_t kept = n < kMaxComponent ? n : kMaxComponent;
  std::memcpy(component, path, kept);
  component[kept] = 0;
  return path[n] == '/' ? path + n + 1 : path + n;
}
}  // namespace

bdLogChannel::bdLogChannel(const char* name) : m_name(name), m_children(4, 0.75f) {}

bdLogChannel::~bdLogChannel() {
  for (auto it = m_children.getIterator(); it != nullptr; it = m_children.next(it)) {
    delete m_children.getValue(it);
  }
}

void* bdLogChannel::operator new(std::size_t size) noexcept { return bdMemory::allocate(size); }
void bdLogChannel::operator delete(void* block) noexcept { bdMemory::deallocate(block); }

bdLogChannel* bdLogChannel::findChild(const char* name) const {
  bdLogChannel* child = nullptr;
  m_children.get(bdString(name), child);
  return child;
}

bool bdLogChannel::addSubscriber(const char* path, bdLogSubscriber* subscriber) {
  char component[kMaxComponent + 1];
  const char* rest = firstComponent(path, component);
  if (component[0] == 0) return m_subscribers.pushBack(subscriber);
  bdLogChannel* child = findChild(component);
  if (child == nullptr) {
    child = new bdLogChannel(component);
    if (child == nullptr) return false;
    if (!m_children.put(bdString(component), child)) {
      delete child;
      return false;
    }
  }
  return child->addSubscriber(rest, subscriber);
}

// A child goes only when nothing is left in its sub-tree: a node without
// subscribers of its own may still lead to others' subscribers.
void bdLogChannel::pruneChild(const bdString& name, bdLogChannel* child) {
  if (child->getSubscriberCount() != 0 || child->getChildCount() != 0) return;
  if (!m_children.remove(name)) {
    bdAssertMsg("recently retrieved map element now missing");
    return;
  }
  delete child;
}

void bdLogChannel::removeSubscriber(const char* const path, const char* const unused,
                                    bdLogSubscriber* const subscriber) {
  char component[kMaxComponent + 1];
  const char* rest = firstComponent(path, component);
  if (component[0] == 0) {
    m_subscribers.removeAll(subscriber);
    return;
  }
  const bdString name(component);
  bdLogChannel* child = nullptr;
  if (!m_children.get(name, child)) return;
  child->removeSubscriber(rest, unused, subscriber);
  pruneChild(name, child);
}

void bdLogChannel::removeSubscriber(bdLogSubscriber* const subscriber) {
  m_subscribers.removeAll(subscriber);
  // Collect first: pruning changes the map being walked.
  bdFastArray<bdLogChannel*> children(m_children.getSize());
  for (auto it = m_children.getIterator(); it != nullptr; it = m_children.next(it)) {
    children.pushBack(m_children.getValue(it));
  }
  for (unsigned int i = 0; i < children.getSize(); ++i) {
    bdLogChannel* child = children[i];
    child->removeSubscriber(subscriber);
    pruneChild(child->getName(), child);
  }
}

void bdLogChannel::publish(const char* file, const char* function, unsigned int line,
                           const char* path, const char* message) {
  for (unsigned int i = 0; i < m_subscribers.getSize(); ++i) {
    m_subscribers[i]->logMessage(m_name.getBuffer(), file, function, line, message);
  }
  char component[kMaxComponent + 1];
  const char* rest = firstComponent(path, component);
  if (component[0] == 0) return;
  bdLogChannel* child = findChild(component);
  if (child != nullptr) child->publish(file, function, line, rest, message);
}
