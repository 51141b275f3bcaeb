#pragma once
// A player known to this machine: this machine's own players sit in local
// slots 0..3 and carry a password and a per-player cache store; records of
// other players carry only their login, display text and player ids.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/Session/Src/Ticket.h"

namespace OX_Toolbox {

class ServiceCacheStore;

class LocalPlayer : public ToolboxObject {
 public:
  static constexpr int kMaxLogin = 20;
  static constexpr int kMaxDisplayText = 64;
  static constexpr int kMaxPassword = 16;
  static constexpr std::uint8_t kNoSlot = 0xFF;

  LocalPlayer();                            // another player's record, state 0
  explicit LocalPlayer(std::uint8_t slot);  // this machine's player, state 1
  virtual ~LocalPlayer();
  LocalPlayer(const LocalPlayer&) = delete;
  LocalPlayer& operator=(const LocalPlayer&) = delete;

  std::uint32_t getState() const { return m_state; }
  void setState(std::uint32_t state) { m_state = state; }
  bool isLoggedIn() const { return m_state == 1; }
  bool isOwnPlayer() const { return m_own; }
  std::uint8_t getIndex() const { return m_index; }

  const String& getLogin() const { return m_login; }
  void setLogin(const String& login);
  const String& getDisplayText() const { return m_displayText; }
  virtual void setDisplayText(const String& text);
  const String& getPassword() const { return m_password; }
  void setPassword(const String& password);

  // lanId for LAN, onlineId for ONLINE, an invalid id for any other type.
  const PlayerID& getPlayerID(std::int32_t connectionType) const;
  void setPlayerID(const PlayerID& id);  // into the slot of the id's own type
  bool hasOnlineId() const { return m_onlineId.getConnectionType() == CONNECTIONTYPE_ONLINE; }

  // Kept for the clan service.
  std::uint32_t getClanFlags() const { return m_clanFlags; }
  void setClanFlags(std::uint32_t flags) { m_clanFlags = flags; }
  std::int64_t getClanId() const { return m_clanId; }
  void setClanId(std::int64_t id) { m_clanId = id; }
  std::uint32_t getExtra() const { return m_extra; }
  void setExtra(std::uint32_t value) { m_extra = value; }

  // Makes this player the remembered login: the core's slot and the "LGNC"
  // record of the local players' cache file (configuration string 1), the
  // file's other records kept. Sets the last result and returns it.
  ERRORID saveToCache() const;

  // This machine's players only (null for other players' records).
  ServiceCacheStore* getCacheStore() const { return m_cache; }

  // The join tickets this machine's player holds, oldest first. A ticket is
  // held once: adding an equal one moves it to the end.
  bool findTicket(const SessionID& key, Ticket& out) const;
  void addTicket(const Ticket& ticket);
  void clearTickets() { m_tickets.clear(); }
  const std::vector<Ticket>& tickets() const { return m_tickets; }

 private:
  std::uint32_t m_state = 0;
  String m_login;
  String m_displayText;
  PlayerID m_onlineId;
  PlayerID m_lanId;
  std::uint32_t m_clanFlags = 0;
  std::int64_t m_clanId = 0;
  std::uint32_t m_extra = 0;
  String m_password;
  std::uint8_t m_index = kNoSlot;
  bool m_own = false;
  ServiceCacheStore* m_cache = nullptr;
  std::vector<Ticket> m_tickets;
};

// The login remembered in the local players' cache ("LGNC").
struct SavedLogin : public ToolboxObject {
  std::int32_t firstWord = 0;
  String login;
  String password;
};

}  // namespace OX_Toolbox
