#pragma once
// One node of the log tree: its subscribers and its named children (owned).
#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdCore/bdContainers/bdString.h"
#include "bdCore/bdLog/bdLogSubscriber.h"

class bdLogChannel {
 public:
  explicit bdLogChannel(const char* name);
  bdLogChannel(const bdLogChannel&) = delete;
  bdLogChannel& operator=(const bdLogChannel&) = delete;
  ~bdLogChannel();

  static void* operator new(std::size_t size) noexcept;
  static void operator delete(void* block) noexcept;

  const bdString& getName() const { return m_name; }

  // Paths are node names joined by "/", relative to this node.
  bool addSubscriber(const char* path, bdLogSubscriber* subscriber);
  // Removes the subscriber at path; children left without subscribers go away.
  void removeSubscriber(const char* const path, const char* const unused,
                        bdLogSubscriber* const subscriber);
  // Removes the subscriber here and everywhere below.
  void removeSubscriber(bdLogSubscriber* const subscriber);
  // Hands the message to this node's subscribers, then walks down the path.
  void publish(const char* file, const char* function, unsigned int line, const char* path,
               const char* message);

  unsigned int getSubscriberCount() const { return m_subscribers.getSize(); }
  unsigned int getChildCount() const { return m_children.getSize(); }
  bdLogChannel* findChild(const char* name) const;

 private:
  void pruneChild(const bdString& name, bdLogChannel* child);

  bdString m_name;
  bdHashMap<bdString, bdLogChannel*> m_children;
  bdFastArray<bdLogSubscriber*> m_subscribers;
};
