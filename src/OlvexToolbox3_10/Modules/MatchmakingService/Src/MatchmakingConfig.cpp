#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"

#include <algorithm>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Records/RecordFile.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Script/LuaConfig.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/MatchmakingService/Src/MatchmakingDefinitions.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/MatchmakingService/Src/MatchmakingTasks.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/Session/Src/SessionEvents.h"

namespace OX_Toolbox {

namespace {

MatchmakingConfig* s_instance = nullptr;

ToolboxCore* Core() { return ToolboxCore::instance(); }

PeerMessenger* Messenger() { return MatchmakingMessenger(); }

// The select operations: `matches` finds a listed choice, `set` overwrites
// the only one.
template <typename Match, typename Set>
bool sameKindSelect(MatchmakingField& f, FlexibleValue::Kind kind, Match matches, Set set) {
  const MatchmakingChoice* current = f.currentChoice();
  if (!current || current->value.getKind() != kind) return false;
  if (f.choices.size() < 2) {
    set(f.choices[f.current].value);
    return true;
  }
  for (std::size_t i = 0; i < f.choices.size(); ++i) {
    const FlexibleValue& v = f.choices[i].value;
    if (v.getKind() == kind && matches(v)) {
      f.current = static_cast<std::uint32_t>(i);
      return true;
    }
  }
  return false;
}

// The attribute text converted to the condition's kind; NOT_SET for kinds
// that are not compared as numbers.
FlexibleValue attributeAs(const String& text, FlexibleValue::Kind kind) {
  FlexibleValue v;
  switch (kind) {
    case FlexibleValue::INTEGER_32:
      v.setInt32(static_cast<std::int32_t>(text.toInt64()));
      break;
    case FlexibleValue::INTEGER_64:
      v.setInt64(text.toInt64());
      break;
    case FlexibleValue::UNSIGNED_INTEGER_64:
      v.setUInt64(text.toUInt64());
      break;
    case FlexibleValue::UNSIGNED_INTEGER_32:
      v.setUInt32(static_cast<std::uint32_t>(text.toUInt64()));
      break;
    default:
      break;
  }
  return v;
}

bool conditionHolds(std::int32_t op, const FlexibleValue& a, const FlexibleValue& v) {
  switch (op) {
    case NamedValueRecordHolder::EQUAL:
      return a == v;
    case NamedValueRecordHolder::LESS:
      return a.lessThan(v);
    case NamedValueRecordHolder::GREATER:
      return a.greaterThan(v);
    case NamedValueRecordHolder::NOT_GREATER:
      return !a.greaterThan(v);
    case NamedValueRecordHolder::NOT_LESS:
      return !a.lessThan(v);
    case NamedValueRecordHolder::NOT_EQUAL:
      return !(a == v);
    default:
      return false;
  }
}

// Reads the records of one tag into a fresh table; false on the first that
// does not read.
template <typename T>
bool readTable(const RecordList& records, const char tag[4], bool (*read)(const TaggedRecord&, T&),
               std::vector<T>& out) {
  std::vector<T> table;
  table.reserve(records.countByTag(tag));
  for (const TaggedRecord* r = records.findByTag(tag); r; r = records.findByTag(tag, r)) {
    T entry;
    if (!read(*r, entry)) return false;
    table.push_back(std::move(entry));
  }
  out = std::move(table);
  return true;
}

bool configFlag(const char* key) {
  LuaConfig* config = Core() ? Core()->getLuaConfig() : nullptr;
  bool on = false;
  return config && config->getBoolean(key, on) && on;
}

bool configPath(const char* key, std::string& out) {
  LuaConfig* config = Core() ? Core()->getLuaConfig() : nullptr;
  String text;
  if (!config || !config->getString(key, text)) return false;
  NarrowString narrow(text);
  out = narrow.narrow();
  return !out.empty();
}

}  // namespace

// ---- fields ---------------------------------------------------------------

const MatchmakingChoice* MatchmakingField::currentChoice() const {
  return current < choices.size() ? &choices[current] : nullptr;
}

bool MatchmakingField::getInt32(std::int32_t& out) const {
  const MatchmakingChoice* c = currentChoice();
  if (!c || c->value.getKind() != FlexibleValue::INTEGER_32) return false;
  out = c->value.getAsInt32();
  return true;
}

bool MatchmakingField::selectInt32(std::int32_t v) {
  return sameKindSelect(
      *this, FlexibleValue::INTEGER_32, [v](const FlexibleValue& x) { return x.getAsInt32() == v; },
      [v](FlexibleValue& x) { x.setInt32(v); });
}

bool MatchmakingField::selectInt64(std::int64_t v) {
  return sameKindSelect(
      *this, FlexibleValue::INTEGER_64, [v](const FlexibleValue& x) { return x.getAsInt64() == v; },
      [v](FlexibleValue& x) { x.setInt64(v); });
}

bool MatchmakingField::selectString(const String& v) {
  return sameKindSelect(
      *this, FlexibleValue::STRING,
      [&v](const FlexibleValue& x) { return x.getString() && sameText(*x.getString(), v); },
      [&v](FlexibleValue& x) { x.setString(v); });
}

String MatchmakingField::currentText() const {
  String text(u"");
  if (const MatchmakingChoice* c = currentChoice()) c->value.toString(text);
  return text;
}

// ---- slots ----------------------------------------------------------------

bool SessionSlots::assignPlayer(const Ticket& ticket, const PlayerID& player) {
  for (SessionSlot& slot : list(ticket.extra != 0)) {
    if (slot.taken || !slot.ticket || *slot.ticket != ticket) continue;
    slot.player = player;
    slot.taken = 1;
    return true;
  }
  return false;
}

std::uint32_t SessionSlots::countTaken(bool privateSlots) const {
  const auto& l = list(privateSlots);
  return static_cast<std::uint32_t>(
      std::count_if(l.begin(), l.end(), [](const SessionSlot& s) { return s.taken == 1; }));
}

// ---- configuration --------------------------------------------------------

MatchmakingConfig::MatchmakingConfig()
    : PeerMessageSink(kSessionMessageTag), m_quiet(new MatchmakingServiceListener()) {
  s_instance = this;
  SetAdvertisedFieldSource(this);
  if (Core() && Core()->getEventManager()) Core()->getEventManager()->addListener(this);
  PeerMessenger* messenger = Messenger();
  if (messenger && !messenger->hasSink(kSessionMessageTag)) {
    messenger->addSink(this);
    m_registeredSink = true;
  }
}

MatchmakingConfig::~MatchmakingConfig() {
  if (m_registeredSink) {
    if (PeerMessenger* messenger = Messenger()) messenger->removeSink(this);
  }
  if (m_session && GameSession::current() == m_session.get()) GameSession::setCurrent(nullptr);
  m_session.reset();
  if (GetAdvertisedFieldSource() == this) SetAdvertisedFieldSource(nullptr);
  if (Core() && Core()->getEventManager()) Core()->getEventManager()->removeListener(this);
  if (s_instance == this) s_instance = nullptr;
}

MatchmakingConfig* MatchmakingConfig::instance() { return s_instance; }

MatchmakingServiceListener* MatchmakingConfig::quietListener() { return m_quiet.get(); }

bool MatchmakingConfig::load() {
  ToolboxCore* core = Core();
  const char* path = core ? core->getConfigString(MATCHMAKING_DEFAULT_FILE) : nullptr;
  RecordList records;
  if (!path || records.loadFromFile(path) != ERRORID_SUCCEEDED) return false;
  if (!loadDefinitions(records)) return false;
  loadMatchParams();
  return true;
}

bool MatchmakingConfig::loadDefinitions(const RecordList& records) {
  std::vector<MatchmakingField> fields;
  std::vector<MatchmakingQuery> queries;
  std::vector<MatchmakingGamePage> pages;
  if (!readTable(records, kFieldTag, &ReadMatchmakingFieldDefinition, fields) ||
      !readTable(records, kQueryTag, &ReadMatchmakingQuery, queries) ||
      !readTable(records, kGamePageTag, &ReadMatchmakingGamePage, pages))
    return false;
  m_fields = std::move(fields);
  m_queries = std::move(queries);
  m_pages = std::move(pages);
  m_pageId = 0;
  return true;
}

MatchmakingField* MatchmakingConfig::findFieldByName(const String& name) {
  for (MatchmakingField& f : m_fields) {
    if (sameText(f.name, name)) return &f;
  }
  return nullptr;
}

MatchmakingField* MatchmakingConfig::findFieldByName(const char* name) {
  return name ? findFieldByName(String(name)) : nullptr;
}

MatchmakingField* MatchmakingConfig::findFieldById(std::int32_t id) {
  for (MatchmakingField& f : m_fields) {
    if (f.id == id) return &f;
  }
  return nullptr;
}

MatchmakingQuery* MatchmakingConfig::findQueryById(std::int32_t id) {
  for (MatchmakingQuery& q : m_queries) {
    if (q.id == id) return &q;
  }
  return nullptr;
}

const MatchmakingGamePage* MatchmakingConfig::currentGamePage() {
  if (m_pageId == 0) {
    const char* name = Core() ? Core()->getConfigString(MATCHMAKING_DEFAULT_PAGE_NAME) : nullptr;
    if (!name) return nullptr;
    const String wanted(name);
    for (const MatchmakingGamePage& p : m_pages) {
      if (sameText(p.name, wanted)) {
        m_pageId = p.id;
        break;
      }
    }
    if (m_pageId == 0) return nullptr;
  }
  for (const MatchmakingGamePage& p : m_pages) {
    if (p.id == m_pageId) return &p;
  }
  return nullptr;
}

void MatchmakingConfig::collectPageFields(std::uint32_t mask, std::vector<MatchmakingField*>& out) {
  const MatchmakingGamePage* page = currentGamePage();
  if (!page) return;
  for (std::int32_t id : page->fieldIds) {
    MatchmakingField* f = findFieldById(id);
    if (f && (f->categories & mask)) out.push_back(f);
  }
}

void MatchmakingConfig::collectFields(std::uint32_t mask, std::vector<MatchmakingField*>& out) {
  for (MatchmakingField& f : m_fields) {
    if (mask == 7 || (f.categories & mask)) out.push_back(&f);
  }
}

// ---- match parameters -----------------------------------------------------

bool MatchmakingConfig::saveMatchParams() {
  std::string path;
  if (!configFlag("Auto_Save_Match_Params") || !configPath("Match_Params_File", path)) return false;
  Blob b;
  b.writeInt32(b.getSize(), static_cast<std::int32_t>(m_fields.size()));
  for (const MatchmakingField& f : m_fields) {
    b.writeInt32(b.getSize(), static_cast<std::int32_t>(f.choices.size()));
    b.writeInt32(b.getSize(), static_cast<std::int32_t>(f.current));
    b.writeInt32(b.getSize(), static_cast<std::int32_t>(f.defaultIndex));
    for (const MatchmakingChoice& c : f.choices) {
      b.writeInt32(b.getSize(), c.id);
      c.value.writeToBlob(b, b.getSize());
      c.label.writeToBlob(b, b.getSize());
    }
  }
  auto* payload = static_cast<unsigned char*>(ToolboxAlloc(b.getSize() ? b.getSize() : 1));
  if (!payload) return false;
  std::copy(b.getData(), b.getData() + b.getSize(), payload);
  const ERRORID result =
      WriteRecordFile(DefaultRecordFileCodec(), payload, b.getSize(), path.c_str());
  ToolboxFree(payload);
  return result == ERRORID_SUCCEEDED;
}

bool MatchmakingConfig::loadMatchParams() {
  std::string path;
  if (!configFlag("Auto_Load_Match_Params") || !configPath("Match_Params_File", path)) return false;
  unsigned char* payload = nullptr;
  std::uint32_t n = 0;
  if (ReadRecordFile(DefaultRecordFileCodec(), &payload, &n, path.c_str()) != ERRORID_SUCCEEDED)
    return false;
  Blob blob(payload, n, BLOB_READONLY);
  bool ok = true;
  std::int32_t count = 0;
  const BlobField head[] = {{OX_INT32, &count, nullptr, 0}};
  ok = blob.readFields(head, 1) && count == static_cast<std::int32_t>(m_fields.size());
  for (std::size_t i = 0; ok && i < m_fields.size(); ++i) {
    MatchmakingField& f = m_fields[i];
    std::int32_t choices = 0, current = 0, defaultIndex = 0;
    const BlobField fh[] = {{OX_INT32, &choices, nullptr, 0},
                            {OX_INT32, &current, nullptr, 0},
                            {OX_INT32, &defaultIndex, nullptr, 0}};
    // A file that no longer fits the definitions is applied up to the first
    // field that differs; an index outside the choices is never taken.
    ok = blob.readFields(fh, 3) && choices == static_cast<std::int32_t>(f.choices.size()) &&
         current >= 0 && defaultIndex >= 0 &&
         (f.choices.empty() ? current == 0 && defaultIndex == 0
                            : current < choices && defaultIndex < choices);
    std::vector<MatchmakingChoice> read;
    for (std::int32_t c = 0; ok && c < choices; ++c) {
      MatchmakingChoice choice;
      const BlobField idField[] = {{OX_INT32, &choice.id, nullptr, 0}};
      ok = blob.readFields(idField, 1) && choice.value.readFromBlob(blob) &&
           choice.label.readFromBlob(blob);
      read.push_back(choice);
    }
    if (!ok) break;
    f.current = static_cast<std::uint32_t>(current);
    f.defaultIndex = static_cast<std::uint32_t>(defaultIndex);
    f.choices = std::move(read);
  }
  ToolboxFree(payload);
  return ok;
}

// ---- slots of the session ---------------------------------------------------

void MatchmakingConfig::clearSlots() {
  m_slots.clear(false);
  m_slots.clear(true);
}

void MatchmakingConfig::refreshSlotCounts() {
  std::int32_t n = 0;
  MatchmakingField* f = findFieldByName(kPublicSlotsField);
  if (f && f->getInt32(n) && n != m_publicCount) {
    m_publicCount = n;
    m_slots.clear(false);
  }
  f = findFieldByName(kPrivateSlotsField);
  if (f && f->getInt32(n) && n != m_privateCount) {
    m_privateCount = n;
    m_slots.clear(true);
  }
}

void MatchmakingConfig::createSlots(int localIndex, std::uint32_t count, bool privateSlots,
                                    std::vector<Ticket>& tickets) {
  MatchmakingField* f = findFieldByName(privateSlots ? kPrivateSlotsField : kPublicSlotsField);
  std::int32_t total = 0;
  if (!f || !f->getInt32(total) || total < 0) return;
  std::vector<SessionSlot>& list = m_slots.list(privateSlots);
  if (static_cast<std::size_t>(total) <= list.size()) return;
  const std::uint32_t free = static_cast<std::uint32_t>(total - list.size());
  if (count == 0 || count > free) return;
  ToolboxCore* core = Core();
  LocalPlayer* player = core ? core->getLocalPlayer(localIndex) : nullptr;
  Ticket model;
  if (player) {
    model.first = player->getDisplayText();
    model.second = player->getLogin();
  }
  if (m_session) model.key = m_session->info().sessionId;
  model.extra = privateSlots ? 1 : 0;
  model.stamp = core ? core->getClock() : 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    SessionSlot slot;
    slot.ticket = std::make_unique<Ticket>(model);
    list.push_back(std::move(slot));
    tickets.push_back(model);
  }
}

bool MatchmakingConfig::releasePrivateSlot(const Ticket& ticket) {
  auto& list = m_slots.list(true);
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (!it->taken && it->ticket && *it->ticket == ticket) {
      list.erase(it);
      return true;
    }
  }
  return false;
}

void MatchmakingConfig::removePlayer(const PlayerID& player) {
  auto& pub = m_slots.list(false);
  pub.erase(std::remove_if(pub.begin(), pub.end(),
                           [&](const SessionSlot& s) { return s.player == player; }),
            pub.end());
  for (SessionSlot& s : m_slots.list(true)) {
    if (s.player == player) s.taken = 0;
  }
}

// ---- search results ---------------------------------------------------------

void MatchmakingConfig::addSearchResult(std::unique_ptr<SessionInfo> info) {
  if (!info) return;
  m_results.push_back(std::move(info));
  rebuildResultView();
}

void MatchmakingConfig::rebuildResultView() {
  m_resultView.clear();
  for (const auto& r : m_results)
    m_resultView.push_back(r.get());
}

SessionInfo* MatchmakingConfig::findSearchResult(const SessionID& id) const {
  for (const auto& r : m_results) {
    if (r->sessionId == id) return r.get();
  }
  return nullptr;
}

bool MatchmakingConfig::sessionMatchesQuery(const MatchmakingQuery& query,
                                            const SessionInfo& info) const {
  for (const NamedValueRecordHolder& c : query.conditions) {
    const String* text = info.findAttribute(static_cast<std::uint32_t>(c.attributeId));
    const FlexibleValue a = attributeAs(text ? *text : String(u""), c.record.value.getKind());
    if (!conditionHolds(c.op, a, c.record.value)) return false;
  }
  return true;
}

// ---- the current session -----------------------------------------------------

std::unique_ptr<GameSession> MatchmakingConfig::createSession(std::uint32_t role,
                                                              std::int32_t connectionType) {
  ToolboxCore* core = Core();
  const int index = core ? core->getMainLocalPlayerIndex() : 0;
  auto session = std::make_unique<GameSession>(index, role, connectionType, nullptr);
  for (const SessionInfo::Attribute& a : fieldValues())
    session->info().setAttribute(a.first, a.second);
  return session;
}

void MatchmakingConfig::setCurrentSession(std::unique_ptr<GameSession> session) {
  destroyCurrentSession();
  m_session = std::move(session);
  if (!m_session) return;
  m_session->setMatchmaking(this);
  m_session->setMessenger(Messenger());
  GameSession::setCurrent(m_session.get());
}

void MatchmakingConfig::destroyCurrentSession() {
  if (m_session && GameSession::current() == m_session.get()) GameSession::setCurrent(nullptr);
  m_session.reset();
}

void MatchmakingConfig::update(std::uint32_t elapsedMs) {
  ToolboxCore* core = Core();
  if (m_session) {
    bool anyone = false;
    for (int i = 0; core && i < ToolboxCore::kLocalSlots; ++i)
      anyone = anyone || core->getLocalPlayer(i) != nullptr;
    if (anyone) {
      m_session->updateHeartbeat(elapsedMs);
    } else if (!m_session->isClosing()) {
      if (MatchmakingService* service = MatchmakingService::find())
        service->deleteSession(quietListener());
    }
  }
  refreshSlotCounts();
  const std::uint32_t now = core ? core->getClock() : 0;
  auto& pub = m_slots.list(false);
  pub.erase(std::remove_if(pub.begin(), pub.end(),
                           [now](const SessionSlot& s) {
                             return !s.taken && s.ticket &&
                                    s.ticket->stamp + kPublicSlotLifeMs <
                                        static_cast<std::int64_t>(now);
                           }),
            pub.end());
}

// ---- what the session layer asks of matchmaking -------------------------------

void MatchmakingConfig::onMessage(int localPlayerIndex, Blob& message) {
  if (GameSession* session = m_session ? m_session.get() : GameSession::current())
    session->processMessage(localPlayerIndex, message);
}

bool MatchmakingConfig::assignSlot(const Ticket& ticket, const PlayerID& player) {
  return m_slots.assignPlayer(ticket, player);
}

std::vector<Ticket> MatchmakingConfig::createTickets(std::uint32_t count, bool privateSlots) {
  std::vector<Ticket> tickets;
  ToolboxCore* core = Core();
  createSlots(core ? core->getMainLocalPlayerIndex() : 0, count, privateSlots, tickets);
  return tickets;
}

void MatchmakingConfig::playersAdded(const std::vector<PlayerID>& ids) {
  if (MatchmakingService* service = MatchmakingService::find())
    service->addPlayerToSession(nullptr, ids);
}

void MatchmakingConfig::ownerRemoved(const std::vector<PlayerID>& ids) {
  if (MatchmakingService* service = MatchmakingService::find())
    service->removePlayerFromSession(nullptr, ids);
}

void MatchmakingConfig::matchStarted() {
  if (MatchmakingService* service = MatchmakingService::find())
    service->startMatch(quietListener());
}

void MatchmakingConfig::matchEnded() {
  if (MatchmakingService* service = MatchmakingService::find()) service->endMatch(quietListener());
}

void MatchmakingConfig::setMatchStartedField(bool started) {
  if (MatchmakingField* f = findFieldByName(kMatchStartedField)) f->selectInt32(started ? 1 : 0);
  if (MatchmakingService* service = MatchmakingService::find())
    service->updateSession(quietListener());
}

std::vector<SessionInfo::Attribute> MatchmakingConfig::fieldValues() {
  std::vector<SessionInfo::Attribute> values;
  std::vector<MatchmakingField*> all;
  collectFields(7, all);
  for (const MatchmakingField* f : all)
    values.emplace_back(static_cast<std::uint32_t>(f->id), f->currentText());
  return values;
}

bool MatchmakingConfig::onMessage(Event* event) {
  auto* left = dynamic_cast<EventPlayerJoinLeaveSession*>(event);
  if (left && left->code != 0 && m_session && m_session->role() == GameSession::ROLE_HOST)
    removePlayer(left->player);
  return false;
}

std::vector<AdvertisedField> MatchmakingConfig::advertisedFields() const {
  std::vector<AdvertisedField> out;
  for (const MatchmakingField& f : m_fields) {
    AdvertisedField a;
    a.id = f.id;
    a.name = f.name;
    if (const MatchmakingChoice* c = f.currentChoice()) a.value = c->value;
    out.push_back(a);
  }
  return out;
}

}  // namespace OX_Toolbox
