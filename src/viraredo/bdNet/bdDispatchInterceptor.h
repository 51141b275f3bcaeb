#pragma once
// Takes the messages that the network façade receives: each (connection,
// message) pair is offered to the registered interceptors in turn until one
// consumes it.
#include "bdCore/bdContainers/bdReference.h"
#include "bdNet/bdConnection.h"
#include "bdNet/bdMessage.h"

struct bdDispatchItem {
  bdReference<bdConnection> m_connection;
  bdReference<bdMessage> m_message;
};

class bdDispatchInterceptor {
 public:
  virtual ~bdDispatchInterceptor() = default;
  // True when the message was consumed; no later interceptor sees it.
  virtual bool accept(const bdDispatchItem& item) = 0;
};
