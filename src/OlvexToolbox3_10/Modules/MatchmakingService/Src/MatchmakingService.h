#pragma once
// The toolbox's matchmaking service ("MatchmakingService"): hosts, finds,
// joins, updates and leaves game sessions and starts and ends matches, over
// the local network (connection type other than 2) or the online service's
// lobby (2). Every operation queues a task and returns its id at once; the
// outcome reaches the listener given with the operation, on the pump thread,
// as (task id, result). Also owns the process-wide MatchmakingConfig.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Session/Src/SessionInfo.h"
#include "Modules/Session/Src/SessionTypes.h"

namespace OX_Toolbox {

class MatchmakingConfig;
struct MatchmakingField;
struct MatchmakingQuery;
class MatchmakingService;

class MatchmakingServiceListener {
 public:
  virtual ~MatchmakingServiceListener() = default;
  virtual void onHostSession(std::uint32_t, ERRORID) {}
  virtual void onUpdateSession(std::uint32_t, ERRORID) {}
  // The results belong to the configuration and last until the next search.
  virtual void onSearchSessions(std::uint32_t, ERRORID, const std::vector<SessionInfo*>&) {}
  virtual void onJoinSession(std::uint32_t, ERRORID) {}
  virtual void onDeleteSession(std::uint32_t, ERRORID) {}
  virtual void onStartMatch(std::uint32_t, ERRORID) {}
  virtual void onEndMatch(std::uint32_t, ERRORID) {}
};

// The replaceable entry points (the statistics service installs ranked
// versions of start and end match).
using MatchOperation = std::uint32_t (*)(MatchmakingService* service,
                                         MatchmakingServiceListener* listener);
using RemovePlayersOperation = std::uint32_t (*)(MatchmakingService* service,
                                                 MatchmakingServiceListener* listener,
                                                 const std::vector<PlayerID>& players);

class MatchmakingService : public Service {
 public:
  static constexpr const char* kName = "MatchmakingService";

  // FAILED without a registered "NetworkService"; CANT_OPEN_FILE_READ when
  // the definitions file does not read; else the registration's result. On
  // any failure nothing stays registered.
  static ERRORID create();
  static MatchmakingService* find();

  ~MatchmakingService() override;
  const char* getName() const override { return kName; }

  virtual std::uint32_t hostSession(MatchmakingServiceListener* listener, std::uint8_t localIndex,
                                    std::int32_t connectionType);
  // Online: a task id. LAN: republishes the fields at once, reports
  // onUpdateSession(0, SUCCEEDED) before returning, and returns 0; without a
  // session reports SESSION_NOT_FOUND the same way.
  virtual std::uint32_t updateSession(MatchmakingServiceListener* listener);
  virtual std::uint32_t searchSessions(MatchmakingServiceListener* listener,
                                       std::int32_t connectionType, const MatchmakingQuery* query);
  virtual std::uint32_t joinSession(MatchmakingServiceListener* listener, std::uint8_t localIndex,
                                    const SessionID& sessionId, bool privateSlot);
  // 0 (nothing done) without a session or while it is already closing.
  virtual std::uint32_t deleteSession(MatchmakingServiceListener* listener);
  virtual std::uint32_t startMatch(MatchmakingServiceListener* listener);
  virtual std::uint32_t endMatch(MatchmakingServiceListener* listener);
  virtual MatchmakingField* findMatchmakingFieldByName(const String& name);
  virtual MatchmakingField* findMatchmakingFieldById(std::int32_t id);
  virtual MatchmakingField* getMatchmakingFields(std::uint32_t& count);
  virtual MatchmakingQuery* findMatchmakingQueryById(std::int32_t id);
  virtual MatchmakingQuery* getMatchmakingQueries(std::uint32_t& count);

  // Called by the session layer as peers arrive and leave.
  std::uint32_t addPlayerToSession(MatchmakingServiceListener* listener,
                                   const std::vector<PlayerID>& players);
  std::uint32_t removePlayerFromSession(MatchmakingServiceListener* listener,
                                        const std::vector<PlayerID>& players);

  void setStartMatchOperation(MatchOperation op) { m_startMatch = op; }
  void setEndMatchOperation(MatchOperation op) { m_endMatch = op; }
  void setRemovePlayersOperation(RemovePlayersOperation op) { m_removePlayers = op; }
  // The plain versions the entry points start with.
  static std::uint32_t StartMatch(MatchmakingService* service,
                                  MatchmakingServiceListener* listener);
  static std::uint32_t EndMatch(MatchmakingService* service, MatchmakingServiceListener* listener);
  static std::uint32_t RemovePlayers(MatchmakingService* service,
                                     MatchmakingServiceListener* listener,
                                     const std::vector<PlayerID>& players);

  MatchmakingConfig* getConfig() const { return m_config; }

  // Publishes "Meta.MatchmakingService", its types and its forwarder.
  LuaForwarder* registerScript(ScriptInterpreter* interpreter) override;
  // Runs the configuration's periodic update.
  void update(std::uint32_t ms) override;

 private:
  MatchmakingService();

  MatchOperation m_startMatch = &StartMatch;
  MatchOperation m_endMatch = &EndMatch;
  RemovePlayersOperation m_removePlayers = &RemovePlayers;
  MatchmakingConfig* m_config = nullptr;  // owned
};

}  // namespace OX_Toolbox
