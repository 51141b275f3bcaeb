#pragma once
// Hears a connection come up or go down. The connection does not own it.
#include "bdCore/bdContainers/bdReference.h"

class bdConnection;

class bdConnectionListener {
 public:
  virtual ~bdConnectionListener() = default;
  virtual void onConnect(bdReference<bdConnection>) {}
  virtual void onConnectFailed(bdReference<bdConnection>) {}
  virtual void onDisconnect(bdReference<bdConnection>) {}
  virtual void onReconnect(bdReference<bdConnection> connection) {
    onDisconnect(connection);
    onConnect(connection);
  }
};
