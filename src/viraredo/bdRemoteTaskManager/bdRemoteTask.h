#pragma once
// One lobby request in flight. Tasks are reference-counted: a caller that
// keeps its reference past a disconnect sees BD_FAILED, never freed memory.
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdStopwatch.h"

class bdRemoteTask : public bdReferencable {
 public:
  enum bdStatus {
    BD_EMPTY = 0,
    BD_PENDING = 1,
    BD_DONE = 2,
    BD_TIMED_OUT = 3,
    // The lobby connection went away before the reply came.
    BD_FAILED = 4,
  };

  bdRemoteTask() : m_timeout(0.0f), m_status(BD_EMPTY), m_transactionID(0) {}

  // Applies the time-out first.
  bdStatus getStatus();
  void start(unsigned char transactionID, float timeout);
  void handleReply(bdReference<bdBitBuffer> payload);
  bdReference<bdBitBuffer> getReply() const { return m_reply; }
  void reset();
  // The manager is gone: a pending task can never be answered.
  void fail();
  unsigned char getTransactionID() const { return m_transactionID; }
  float getTimeout() const { return m_timeout; }

 private:
  bdStopwatch m_timer;
  float m_timeout;
  bdStatus m_status;
  bdReference<bdBitBuffer> m_reply;
  unsigned char m_transactionID;
};

using bdRemoteTaskRef = bdReference<bdRemoteTask>;
