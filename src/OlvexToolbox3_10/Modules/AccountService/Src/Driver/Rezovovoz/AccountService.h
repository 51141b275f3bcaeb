#pragma once
// The toolbox's account service ("AccountService"): creates online
// accounts, logs local players in and out (online through the
// authentication server and the lobby, or on the LAN without a server),
// turns a player name into a PlayerID, and reads and writes the players'
// public and private profile properties. Every operation queues a task and
// returns its id; the outcome reaches the listener given with it.
#include <cstdint>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

class RecordList;

struct ProfilePropertyDefinition {
  std::uint32_t id = 0;
  bool isPublic = false;
  String name;
  std::uint32_t type = 0;  // a toolbox type code
};

using ProfileValues = ToolboxVector<FlexibleValue>;
using ProfileDefinitions = ToolboxVector<ProfilePropertyDefinition>;

class AccountServiceListener {
 public:
  virtual void onCreateOnlinePlayer(std::uint32_t, ERRORID) {}
  virtual void onDeleteOnlinePlayer(std::uint32_t, ERRORID) {}
  virtual void onLoginPlayer(std::uint32_t, ERRORID) {}
  virtual void onLogoutPlayer(std::uint32_t, ERRORID) {}
  virtual void onAutoLoginPlayer(std::uint32_t, ERRORID) {}
  virtual void onSearchPlayerID(std::uint32_t, ERRORID) {}
  virtual void onSetPublicProfilePropertyValues(std::uint32_t, ERRORID) {}
  virtual void onSetPrivateProfilePropertyValues(std::uint32_t, ERRORID) {}
  virtual void onRetrievePublicProfilePropetyValues(std::uint32_t, ERRORID, const ProfileValues&) {}
  virtual void onRetrievePrivateProfilePropetyValues(std::uint32_t, ERRORID, const ProfileValues&) {
  }

 protected:
  ~AccountServiceListener() = default;
};

class AccountService : public Service, public ToolboxMessageSink {
 public:
  static constexpr const char* kName = "AccountService";

  // ERRORID_SERVICE_NOT_AVAILABLE without a network service; otherwise the
  // definitions' load result (the service is registered only on success).
  static ERRORID create();
  static AccountService* find();

  ~AccountService() override;
  const char* getName() const override { return kName; }
  // Publishes "Meta.AccountService" and its forwarding listener.
  LuaForwarder* registerScript(ScriptInterpreter* interpreter) override;

  // Account texts three to six: what the account record carries after the
  // login and the password.
  virtual std::uint32_t createOnlinePlayer(AccountServiceListener* listener, std::uint8_t index,
                                           const String& login, const String& password,
                                           const String (&texts)[4]);
  virtual std::uint32_t deleteOnlinePlayer(AccountServiceListener* listener, std::uint8_t index,
                                           const String& login, const String& password);
  virtual std::uint32_t loginPlayer(AccountServiceListener* listener, std::uint32_t connectionType,
                                    std::uint8_t index, const String& login,
                                    const String& password);
  virtual std::uint32_t autoLoginPlayer(AccountServiceListener* listener,
                                        std::uint32_t connectionType, std::uint8_t index);
  virtual bool isPlayerLoggedIn(std::uint8_t index, std::uint32_t connectionType) const;
  virtual std::uint32_t logoutPlayer(AccountServiceListener* listener, std::uint8_t index);
  virtual std::uint32_t searchPlayerID(AccountServiceListener* listener, std::uint8_t index,
                                       const String& name);
  virtual std::uint32_t setPublicProfilePropertyValues(AccountServiceListener* listener,
                                                       std::uint8_t index,
                                                       const ProfileValues& values);
  virtual std::uint32_t setPrivateProfilePropertyValues(AccountServiceListener* listener,
                                                        std::uint8_t index,
                                                        const ProfileValues& values);
  virtual std::uint32_t retrievePublicProfilePropetyValues(AccountServiceListener* listener,
                                                           std::uint8_t index,
                                                           const PlayerID& target);
  virtual std::uint32_t retrievePrivateProfilePropetyValues(AccountServiceListener* listener,
                                                            std::uint8_t index);
  virtual const ProfileDefinitions& getAllPublicProfilePropertyDefinitions() const {
    return m_public;
  }
  virtual const ProfileDefinitions& getAllPrivateProfilePropertyDefinitions() const {
    return m_private;
  }

  // A message-store record of type 29 names a player the service logged
  // out: the local player holding that online id is logged out here too.
  bool onMessage(Event* event) override;

  // The "PRFC" records of a record list, public and private apart, in order.
  static void readDefinitions(const RecordList& list, ProfileDefinitions& publicOut,
                              ProfileDefinitions& privateOut);

 private:
  AccountService();
  ERRORID loadDefinitions();

  ProfileDefinitions m_public;
  ProfileDefinitions m_private;
};

// The 64-bit user id of a name (letter case does not count).
std::uint64_t UserIdOfName(const String& name);

}  // namespace OX_Toolbox
