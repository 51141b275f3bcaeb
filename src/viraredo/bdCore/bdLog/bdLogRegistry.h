#pragma once
// The log singleton: owns the channel tree, rooted at "vr".
#include "bdCore/bdLog/bdLogChannel.h"
#include "bdCore/bdUtilities/bdSingleton.h"

class bdLogRegistry {
 public:
  bdLogRegistry();
  virtual ~bdLogRegistry();
  bdLogRegistry(const bdLogRegistry&) = delete;
  bdLogRegistry& operator=(const bdLogRegistry&) = delete;

  static bdLogRegistry* getInstance() { return bdSingleton<bdLogRegistry>::getInstance(); }

  // Paths are relative to the root ("err", "warn/hashmap"); a path beginning
  // with "vr" is refused.
  bool addSubscriber(const char* path, bdLogSubscriber* subscriber);
  void removeSubscriber(const char* path, bdLogSubscriber* subscriber);
  void removeSubscriber(bdLogSubscriber* subscriber);
  // Deletes the tree and starts a new one with the given root name.
  void setRoot(const char* name);
  void publish(const char* file, const char* function, unsigned int line, const char* path,
               const char* message);
  bdLogChannel* getRoot() const { return m_root; }

 private:
  bdLogChannel* m_root;
};
