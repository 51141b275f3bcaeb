#pragma once
// The reference-counted base of every connection: its peer, listeners,
// statistics and status. Listener calls run over a copy of the listener
// list, so a listener may unregister itself (or others) while it is called.
#include "bdAddressMap/bdAddrHandle.h"
#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdNet/bdConnectionListener.h"
#include "bdNet/bdConnectionStatistics.h"
#include "bdNet/bdMessage.h"
#include "bdSocket/bdCommonAddr.h"

class bdConnection : public bdReferencable {
 public:
  enum Status {
    BD_NEW = 0,
    BD_CONNECTING = 1,
    BD_CONNECTED = 2,
    BD_DISCONNECTING = 3,
    BD_DISCONNECTED = 4,
  };

  explicit bdConnection(bdReference<bdCommonAddr> addr);
  ~bdConnection() override;

  virtual bool receive(unsigned char* data, const unsigned int size) = 0;
  virtual bool send(const bdReference<bdMessage> message, const bool flag) = 0;
  virtual bool getMessageToDispatch(bdReference<bdMessage>& message) = 0;
  virtual Status getStatus() { return m_status; }
  virtual bool connect();
  virtual void disconnect() { m_status = BD_DISCONNECTING; }
  virtual void close() { m_status = BD_DISCONNECTED; }
  virtual unsigned int getDataToSend(unsigned char* const buffer, const unsigned int size) = 0;

  void registerListener(bdConnectionListener* listener);
  void unregisterListener(bdConnectionListener* listener);
  unsigned int getListenerCount() const { return m_listeners.getSize(); }

  bdReference<bdCommonAddr> getAddress() const { return m_addr; }
  void setAddrHandle(const bdAddrHandleRef& handle) { m_addrHandle = handle; }
  const bdAddrHandleRef& getAddrHandle() const { return m_addrHandle; }
  bdConnectionStatistics& getStatistics() { return m_stats; }
  void setUserValue(unsigned int value) { m_userValue = value; }
  unsigned int getUserValue() const { return m_userValue; }

  // Loopback notification step: 1 reports onConnect then 2; 3 reports
  // onDisconnect then 4; other statuses do nothing.
  void updateStatus();
  void callConnectListeners(bool succeeded);
  void callDisconnectListeners();
  void callReconnectListeners();

 protected:
  enum class Event { CONNECT, CONNECT_FAILED, DISCONNECT, RECONNECT };
  void notify(Event event);

  bdReference<bdCommonAddr> m_addr;
  bdAddrHandleRef m_addrHandle;
  bdConnectionStatistics m_stats;
  bdFastArray<bdConnectionListener*> m_listeners;
  unsigned int m_userValue;
  Status m_status;
};
