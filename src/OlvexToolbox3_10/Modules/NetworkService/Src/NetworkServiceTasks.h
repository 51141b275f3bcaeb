#pragma once
// The network service's connect task and its three steps: the network
// start, the configuration download (online only) and the search for a
// reachable authentication server and lobby server (online only).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Modules/Core/Src/Tasks/Task.h"
#include "bdSocket/bdInetAddr.h"
#include "bdSocket/bdStreamSocket.h"

namespace OX_Toolbox {

class ConfigurationDownload;
class HostLookup;
class NetworkService;
class NetworkServiceListener;

class TaskRezovovozConnectToService : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozConnectToService(NetworkService* service, NetworkServiceListener* listener,
                                std::uint32_t connectionType);
  void onRemoved(ERRORID result) override;

 private:
  NetworkService* m_service;
  NetworkServiceListener* m_listener;
  std::uint32_t m_connectionType;
};

class TaskRezovovozStartNet : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozStartNet(NetworkService* service, std::uint32_t connectionType)
      : m_service(service), m_connectionType(connectionType) {}
  void onStart() override;
  void step(std::uint32_t, bool& ready) override;
  void complete(bool& again) override;

 private:
  NetworkService* m_service;
  std::uint32_t m_connectionType;
};

class TaskRezovovozOnlineServiceRedirect : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozOnlineServiceRedirect(NetworkService* service);
  ~TaskRezovovozOnlineServiceRedirect() override;
  void onStart() override;
  void step(std::uint32_t, bool& ready) override;
  void complete(bool& again) override;

 private:
  NetworkService* m_service;
  std::unique_ptr<HostLookup> m_lookup;
  std::unique_ptr<ConfigurationDownload> m_download;
};

class TaskRezovovozOnlineConnectToService : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozOnlineConnectToService(NetworkService* service);
  ~TaskRezovovozOnlineConnectToService() override;
  void onStart() override;
  void step(std::uint32_t, bool& ready) override;

  std::size_t getIndex() const { return m_index; }
  int getPhase() const { return m_phase; }

 private:
  enum Probe { IDLE, LOOKING_UP, CONNECTING };
  // True once the entry's server answered or was given up.
  bool probe(bool& reachable);
  void nextEntry();
  ERRORID createAuthService();

  NetworkService* m_service;
  std::vector<std::string> m_list;
  std::size_t m_index = 0;
  int m_phase = 0;
  bool m_alreadyConnected = false;
  Probe m_probe = IDLE;
  std::string m_host;
  std::uint16_t m_port = 0;
  bdInetAddr m_address;
  std::unique_ptr<HostLookup> m_lookup;
  bdStreamSocket m_socket;
  bool m_socketOpen = false;
};

}  // namespace OX_Toolbox
