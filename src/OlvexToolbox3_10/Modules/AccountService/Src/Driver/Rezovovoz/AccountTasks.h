#pragma once
// The account service's tasks: account creation and deletion, the login
// (online: authentication, then the lobby; every kind: the LAN id), the
// automatic login, the logout and the name look-up.
#include <cstdint>
#include <memory>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthService.h"
#include "Modules/Core/Src/Tasks/Task.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

class AccountServiceListener;
class HostLookup;
class LocalPlayer;

class TaskRezovovozOnlineCreatePlayer : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineCreatePlayer(AccountServiceListener* listener, std::uint8_t index,
                                  const String& login, const String& password,
                                  const String (&texts)[4]);
  void onStart() override;
  void step(std::uint32_t, bool& ready) override;
  void complete(bool& again) override;
  void onRemoved(ERRORID result) override;
  std::uint8_t getIndex() const { return m_index; }

 private:
  AccountServiceListener* m_listener;
  std::uint8_t m_index;
  String m_texts[6];
};

class TaskRezovovozOnlineDeletePlayer : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineDeletePlayer(AccountServiceListener* listener, std::uint8_t index,
                                  const String& login, const String& password)
      : m_listener(listener), m_index(index), m_login(login), m_password(password) {}
  void complete(bool& again) override;
  void onRemoved(ERRORID result) override;
  std::uint8_t getIndex() const { return m_index; }

 private:
  AccountServiceListener* m_listener;
  std::uint8_t m_index;
  String m_login;
  String m_password;
};

// Owns the new player until a successful login hands it to the core.
class TaskRezovovozLoginPlayer : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLoginPlayer(AccountServiceListener* listener, std::uint32_t connectionType,
                           std::uint8_t index, const String& login, const String& password);
  ~TaskRezovovozLoginPlayer() override;
  void onFinished(ERRORID result) override;
  void onRemoved(ERRORID result) override;

 private:
  AccountServiceListener* m_listener;
  std::uint32_t m_connectionType;
  std::uint8_t m_index;
  LocalPlayer* m_player;
};

class TaskRezovovozOnlineLoginPlayer : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozOnlineLoginPlayer(LocalPlayer* player);
  ~TaskRezovovozOnlineLoginPlayer() override;
  void onStart() override;
  void step(std::uint32_t, bool& ready) override;

 private:
  void authenticate(bool& ready);
  void connectLobby(bool& ready);

  LocalPlayer* m_player;
  bdReference<AuthResultHolder> m_holder;
  int m_phase = 0;
  bool m_asked = false;
  std::unique_ptr<HostLookup> m_lobbyLookup;
  std::uint16_t m_lobbyPort = 0;
};

class TaskRezovovozLanLoginPlayer : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozLanLoginPlayer(LocalPlayer* player) : m_player(player) {}
  void complete(bool& again) override;

 private:
  LocalPlayer* m_player;
};

class TaskRezovovozAutoLoginPlayer : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozAutoLoginPlayer(AccountServiceListener* listener, std::uint32_t connectionType,
                               std::uint8_t index);
  void onRemoved(ERRORID result) override;

 private:
  AccountServiceListener* m_listener;
};

class TaskRezovovozLogoutPlayer : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLogoutPlayer(AccountServiceListener* listener, std::uint8_t index)
      : m_listener(listener), m_index(index) {}
  void complete(bool& again) override;
  void onRemoved(ERRORID result) override;

 private:
  AccountServiceListener* m_listener;
  std::uint8_t m_index;
};

class TaskRezovovozOnlineSearchPlayerID : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozOnlineSearchPlayerID(AccountServiceListener* listener, std::uint8_t index,
                                    const String& name)
      : m_listener(listener), m_index(index), m_name(name) {}
  void complete(bool& again) override;
  void onRemoved(ERRORID result) override;
  const PlayerID& getPlayerID() const { return m_found; }

 private:
  AccountServiceListener* m_listener;
  std::uint8_t m_index;
  String m_name;
  PlayerID m_found;
};

}  // namespace OX_Toolbox
