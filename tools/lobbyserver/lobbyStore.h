#pragma once
// The test lobby server's in-memory state and the handlers of every task of
// the catalogue. A handler reads its arguments from the request, changes the
// store, and writes the reply's error code, operation id and records. Push
// messages it causes (chat, friends' messages and invitations) are returned
// for the server to deliver.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bdCore/bdUtilities/bdBitBuffer.h"

namespace lobbyserver {

enum ErrorCode : std::uint32_t {
  NO_ERROR = 0,
  BAD_REQUEST = 1,   // arguments missing or of the wrong type
  UNKNOWN_TASK = 2,  // no such service or task
  NOT_FOUND = 3,     // the team, file, session or user is not there
  NOT_ALLOWED = 4,   // not the owner, not subscribed
  // The friends service's own answers.
  FRIENDSHIP_NOT_REQUESTED = 900,
  NOT_A_FRIEND = 901,
  NOT_INVITED_TO_SESSION = 902,
  FRIENDSHIP_EXISTS = 904,
  PENDING_FRIENDSHIP_EXISTS = 905,
};

struct UserRef {
  std::uint64_t id = 0;
  std::string name;
};

// Every field a push message of any class may carry.
struct PushMessage {
  unsigned int type = 0;
  std::uint64_t id1 = 0;
  std::uint64_t id2 = 0;  // the message id
  std::uint32_t value = 0;
  bool flag = false;
  UserRef user;
  UserRef second;
  unsigned char securityID[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  std::uint64_t groupID = 0;
  std::string groupName;
  std::vector<unsigned char> data;
};

// Writes the type id and the fields of the type's class; false for other ids.
bool writePushMessage(const PushMessage& message, bdBitBuffer& out);

struct Outgoing {
  std::uint64_t userID;
  PushMessage message;
};

class LobbyStore {
 public:
  // How the server answers a session search of one query id, as the online
  // service keeps it per title: parameter i is compared with the session's
  // value at conditionFields[i] (a parameter holding the largest value of its
  // type matches anything), and each result carries the session's values at
  // returnedFields, in that order (none listed: all of them). A query without
  // a definition matches every session.
  struct QueryDefinition {
    std::vector<unsigned int> conditionFields;
    std::vector<unsigned int> returnedFields;
  };
  void defineQuery(std::int32_t id, QueryDefinition definition) { m_queries[id] = definition; }
  std::size_t getSessionCount() const { return m_sessions.size(); }

  void addUser(std::uint64_t id, const std::string& name);
  void setOnline(std::uint64_t id, bool online);
  std::string nameOf(std::uint64_t id) const;

  // request: positioned at the task id. Writes error, operation id, records.
  void handle(std::uint64_t userID, unsigned char service, bdBitBuffer& request, bdBitBuffer& reply,
              std::vector<Outgoing>& pushes);

  // The user's kept push messages (messaging tasks read and delete them).
  std::vector<PushMessage>& mailbox(std::uint64_t userID) { return m_users[userID].mailbox; }
  std::uint64_t nextMessageID() { return ++m_nextMessageID; }
  unsigned int getRequestCount() const { return m_requests; }

 private:
  struct User {
    std::string name;
    bool online = false;
    bool hasProfile = false;
    std::uint32_t profileFields = 0;
    // Typed fields as written, with their length in bits.
    std::pair<std::vector<unsigned char>, unsigned int> publicProfile;
    std::pair<std::vector<unsigned char>, unsigned int> privateProfile;
    std::string status;
    std::set<std::uint64_t> friends;
    std::set<std::uint64_t> requests;  // users who asked to be friends
    std::set<std::uint64_t> blocked;
    std::set<std::uint64_t> inviters;  // users whose session invitation is open
    std::set<std::uint64_t> channels;
    std::vector<PushMessage> mailbox;
    std::set<std::uint64_t> readMessages;
  };
  struct Team {
    std::string name;
    std::uint64_t owner = 0;
    std::set<std::uint64_t> members;
    std::set<std::uint64_t> invited;
    std::vector<unsigned char> data;
  };
  struct File {
    std::uint64_t owner = 0;
    std::string name;
    bool shared = false;
    std::vector<unsigned char> data;
  };
  // One typed value as a request carried it: its type code and its bits
  // (type code included), copied into replies as they came.
  struct TypedValue {
    unsigned int type = 0;
    unsigned int numBits = 0;
    std::vector<unsigned char> bits;
    bool operator==(const TypedValue& o) const {
      return type == o.type && numBits == o.numBits && bits == o.bits;
    }
  };
  struct Session {
    std::vector<unsigned char> info;  // the host address, as sent
    unsigned char key[16];
    std::int32_t values[4];
    std::vector<TypedValue> fields;  // what the host's record carries after these
  };
  struct Context;

  bool teams(Context& c);
  bool stats(Context& c);
  bool matchMaking(Context& c);
  static bool matches(const QueryDefinition& query, const std::vector<TypedValue>& parameters,
                      const Session& session);
  bool messaging(Context& c);
  bool profiles(Context& c);
  bool friends(Context& c);
  // A push message of a type from the caller to a user.
  void notify(Context& c, std::uint64_t to, unsigned int type, PushMessage m = PushMessage());
  bool storage(Context& c);
  bool channelChat(Context& c);
  bool titleUtilities(Context& c);

  std::map<std::uint64_t, User> m_users;
  std::map<std::uint64_t, Team> m_teams;
  std::map<std::uint64_t, File> m_files;
  std::map<std::uint64_t, Session> m_sessions;  // by session id
  std::map<std::int32_t, QueryDefinition> m_queries;
  std::map<std::int32_t, std::map<std::uint64_t, std::int64_t>> m_leaderboards;
  std::map<std::uint64_t, std::set<std::uint64_t>> m_channelUsers;
  std::uint64_t m_nextTeamID = 100;
  std::uint64_t m_nextFileID = 500;
  std::uint64_t m_nextSessionID = 900;
  std::uint64_t m_nextMessageID = 0;
  std::uint32_t m_clock = 0;  // the time stamp of stored messages
  std::uint64_t m_nonce = 7000;
  std::uint32_t m_impressions = 0;
  unsigned int m_requests = 0;
};

}  // namespace lobbyserver
