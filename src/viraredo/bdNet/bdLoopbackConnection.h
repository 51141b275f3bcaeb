#pragma once
// The connection to this host itself: every message sent is handed straight
// back as received, in order.
#include "bdCore/bdContainers/bdQueue.h"
#include "bdNet/bdConnection.h"

class bdLoopbackConnection : public bdConnection {
 public:
  explicit bdLoopbackConnection(bdReference<bdCommonAddr> addr)
      : bdConnection(addr), m_dataWaiting(false) {}

  bool receive(unsigned char*, const unsigned int) override { return true; }
  bool send(const bdReference<bdMessage> message, const bool flag) override;
  bool getMessageToDispatch(bdReference<bdMessage>& message) override;
  unsigned int getDataToSend(unsigned char* const, const unsigned int) override { return 0; }
  // The data-waiting flag, cleared by reading it.
  bool takeDataWaiting();

 private:
  bdQueue<bdReference<bdMessage>> m_messages;
  bool m_dataWaiting;
};
