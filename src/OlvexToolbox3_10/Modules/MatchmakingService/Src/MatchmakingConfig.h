#pragma once
// The process-wide matchmaking state: the field, query and game-page
// definitions read from the definitions file, the user's match parameters,
// the public and private slots that admit players to a hosted session by
// ticket, the last search's results and the current game session. The one
// instance belongs to the matchmaking service; tasks and the session layer
// reach it through MatchmakingConfig::instance(). Runs on the pump thread.
#include <cstdint>
#include <memory>
#include <vector>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"
#include "Modules/Session/Src/GameSession.h"
#include "Modules/Session/Src/SessionAdvertisement.h"
#include "Modules/Session/Src/SessionInfo.h"
#include "Modules/Session/Src/Ticket.h"

namespace OX_Toolbox {

class MatchmakingServiceListener;
class RecordList;

struct MatchmakingChoice {
  FlexibleValue label;
  FlexibleValue value;  // what sessions carry and queries compare
  std::int32_t id = 0;
};

struct MatchmakingField {
  String name{u""};
  std::int32_t id = 0;  // the session attribute the field's value is written under
  std::int32_t value = 0;
  std::uint32_t categories = 0;  // bits 1, 2 and 4
  bool flag = false;
  String firstText{u""};
  String secondText{u""};
  std::int32_t extra[3] = {0, 0, 0};
  std::vector<MatchmakingChoice> choices;
  std::uint32_t current = 0;       // index of the selected choice
  std::uint32_t defaultIndex = 0;  // index of the default choice

  // Null when `current` names no choice.
  const MatchmakingChoice* currentChoice() const;
  // False unless the current choice's value is a 32-bit integer.
  bool getInt32(std::int32_t& out) const;
  // False unless the current value has the kind asked for. A field with
  // fewer than two choices takes any such value; otherwise the first listed
  // choice equal to it becomes current, and none leaves the field unchanged.
  bool selectInt32(std::int32_t v);
  bool selectInt64(std::int64_t v);
  bool selectString(const String& v);
  // The current value as session attribute text ("" without a choice).
  String currentText() const;
};

// A condition's operand as the definitions carry it.
struct NamedValueRecord {
  String name{u""};
  FlexibleValue value;
  std::uint8_t flag = 0;
  std::uint32_t number = 0xFFFFFFFFu;
};

// One condition of a query: the attribute, how to compare, and the operand.
struct NamedValueRecordHolder {
  enum Operator : std::int32_t {
    EQUAL = 1,
    LESS = 2,
    GREATER = 3,
    NOT_GREATER = 4,
    NOT_LESS = 5,
    NOT_EQUAL = 6,
  };
  std::int32_t attributeId = 0;
  std::int32_t op = EQUAL;
  NamedValueRecord record;
};

struct MatchmakingQuery {
  std::int32_t id = 0;
  String name{u""};
  std::uint32_t count = 0;  // passed with the id to the online search
  std::vector<NamedValueRecordHolder> conditions;
  std::vector<std::int32_t> fieldIds;  // the fields an online search reads back
};

struct MatchmakingGamePage {
  std::int32_t id = 0;
  String name{u""};
  std::vector<std::int32_t> fieldIds;
};

struct SessionSlot {
  std::unique_ptr<Ticket> ticket;
  PlayerID player;
  std::uint8_t taken = 0;
};

// The two slot lists of the hosted (or joined) session.
class SessionSlots {
 public:
  std::vector<SessionSlot>& list(bool privateSlots) { return privateSlots ? m_private : m_public; }
  const std::vector<SessionSlot>& list(bool privateSlots) const {
    return privateSlots ? m_private : m_public;
  }
  // Seats the player in the first free slot of the ticket's list whose
  // ticket equals the presented one in every field; false when none does.
  bool assignPlayer(const Ticket& ticket, const PlayerID& player);
  void clear(bool privateSlots) { list(privateSlots).clear(); }
  std::uint32_t countTaken(bool privateSlots) const;

 private:
  std::vector<SessionSlot> m_public;
  std::vector<SessionSlot> m_private;
};

class MatchmakingConfig : public PeerMessageSink,
                          public SessionMatchmaking,
                          public AdvertisedFieldSource,
                          public ToolboxMessageSink {
 public:
  static constexpr std::uint32_t kPublicSlotLifeMs = 10000;
  static constexpr const char* kPublicSlotsField = "OLVEX_public_slots";
  static constexpr const char* kPrivateSlotsField = "OLVEX_private_slots";
  static constexpr const char* kOwnerIdField = "OLVEX_ownerID";
  static constexpr const char* kHostNameField = "OLVEX_hostName";
  static constexpr const char* kGameTypeField = "OLVEX_gameType";
  static constexpr const char* kMatchStartedField = "OLVEX_hasMatchStarted";

  // Publishes itself as the instance and as the source of advertised field
  // values, and registers as the handler of the in-session messages unless
  // one is registered already.
  MatchmakingConfig();
  ~MatchmakingConfig() override;
  MatchmakingConfig(const MatchmakingConfig&) = delete;
  MatchmakingConfig& operator=(const MatchmakingConfig&) = delete;

  static MatchmakingConfig* instance();

  // Reads the definitions file (MATCHMAKING_DEFAULT_FILE), then the match
  // parameters; false when the definitions file cannot be read.
  bool load();
  // Takes the fields, queries and pages from a record list (other tags are
  // left alone); false, with nothing changed, when a record does not read.
  bool loadDefinitions(const RecordList& records);

  const std::vector<MatchmakingField>& fields() const { return m_fields; }
  const std::vector<MatchmakingQuery>& queries() const { return m_queries; }
  const std::vector<MatchmakingGamePage>& gamePages() const { return m_pages; }
  MatchmakingField* findFieldByName(const String& name);
  MatchmakingField* findFieldByName(const char* name);
  MatchmakingField* findFieldById(std::int32_t id);
  MatchmakingQuery* findQueryById(std::int32_t id);
  // The page named by MATCHMAKING_DEFAULT_PAGE_NAME (its id cached once
  // found), or null.
  const MatchmakingGamePage* currentGamePage();
  void collectPageFields(std::uint32_t mask, std::vector<MatchmakingField*>& out);
  // Mask 7 takes every field.
  void collectFields(std::uint32_t mask, std::vector<MatchmakingField*>& out);

  // The match parameters file ("Match_Params_File"), when the configuration
  // turns automatic saving or loading on.
  bool saveMatchParams();
  bool loadMatchParams();

  // Slots.
  SessionSlots& slots() { return m_slots; }
  void clearSlots();
  void refreshSlotCounts();
  // Count new slots of the list, each with a fresh ticket made for the
  // local player at the index; none when count is 0 or more than are free.
  void createSlots(int localIndex, std::uint32_t count, bool privateSlots,
                   std::vector<Ticket>& tickets);
  // Removes the free private slot the ticket reserved (an invitation that
  // was never sent); false when no free slot holds it.
  bool releasePrivateSlot(const Ticket& ticket);
  // Frees the player's slots: public ones go, private ones stay for reuse.
  void removePlayer(const PlayerID& player);
  std::uint32_t countTakenPublic() const { return m_slots.countTaken(false); }
  std::uint32_t countTakenPrivate() const { return m_slots.countTaken(true); }

  // Search results (owned).
  void clearSearchResults() { m_results.clear(); }
  void addSearchResult(std::unique_ptr<SessionInfo> info);
  SessionInfo* findSearchResult(const SessionID& id) const;
  // Valid until the next search.
  const std::vector<SessionInfo*>& searchResults() const { return m_resultView; }
  bool sessionMatchesQuery(const MatchmakingQuery& query, const SessionInfo& info) const;

  // The current session (owned); setting one makes it GameSession::current.
  GameSession* currentSession() const { return m_session.get(); }
  // A new session for the main local player with every field's value as an
  // attribute; not yet current.
  std::unique_ptr<GameSession> createSession(std::uint32_t role, std::int32_t connectionType);
  void setCurrentSession(std::unique_ptr<GameSession> session);
  void destroyCurrentSession();

  bool hostsOnServer() const { return m_hostsOnServer != 0; }
  void setHostsOnServer(bool on) { m_hostsOnServer = on ? 1 : 0; }

  // Heartbeats, automatic deletion without logged-in players, slot counts
  // and expiry of unclaimed public slots.
  void update(std::uint32_t elapsedMs);

  // The listener whose callbacks do nothing.
  MatchmakingServiceListener* quietListener();

  // PeerMessageSink: each in-session message goes to the current session.
  void onMessage(int localPlayerIndex, Blob& message) override;

  // SessionMatchmaking.
  bool assignSlot(const Ticket& ticket, const PlayerID& player) override;
  std::vector<Ticket> createTickets(std::uint32_t count, bool privateSlots) override;
  void playersAdded(const std::vector<PlayerID>& ids) override;
  void ownerRemoved(const std::vector<PlayerID>& ids) override;
  void matchStarted() override;
  void matchEnded() override;
  void setMatchStartedField(bool started) override;
  std::vector<SessionInfo::Attribute> fieldValues() override;

  // ToolboxMessageSink: a player who leaves the hosted session frees the
  // slot it took (public ones go, private ones wait for reuse). Never
  // handles the event, so other sinks hear it too.
  bool onMessage(Event* event) override;

  // AdvertisedFieldSource: every field's current value.
  std::vector<AdvertisedField> advertisedFields() const override;

 private:
  void rebuildResultView();

  std::unique_ptr<MatchmakingServiceListener> m_quiet;
  std::vector<MatchmakingGamePage> m_pages;
  std::int32_t m_pageId = 0;
  std::vector<MatchmakingQuery> m_queries;
  std::vector<MatchmakingField> m_fields;
  SessionSlots m_slots;
  std::int32_t m_publicCount = 0;
  std::int32_t m_privateCount = 0;
  std::vector<std::unique_ptr<SessionInfo>> m_results;
  std::vector<SessionInfo*> m_resultView;
  std::unique_ptr<GameSession> m_session;
  std::uint8_t m_hostsOnServer = 0;
  bool m_registeredSink = false;
};

}  // namespace OX_Toolbox
