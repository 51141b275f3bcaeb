#pragma once
// Shared by the account service tests: a listener that records every
// outcome by kind, the profile definitions file, and a fixture that waits
// for an operation's outcome while the servers run.
#include <cstdio>
#include <string>
#include <vector>

#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountService.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/TypeCodes.h"
#include "online_test_support.h"

namespace account_test {

struct Outcome {
  std::string kind;
  std::uint32_t taskId;
  OX_Toolbox::ERRORID result;
  OX_Toolbox::ProfileValues values;
};

class RecordingAccountListener : public OX_Toolbox::AccountServiceListener {
 public:
  void onCreateOnlinePlayer(std::uint32_t id, OX_Toolbox::ERRORID r) override {
    add("create", id, r);
  }
  void onDeleteOnlinePlayer(std::uint32_t id, OX_Toolbox::ERRORID r) override {
    add("delete", id, r);
  }
  void onLoginPlayer(std::uint32_t id, OX_Toolbox::ERRORID r) override { add("login", id, r); }
  void onLogoutPlayer(std::uint32_t id, OX_Toolbox::ERRORID r) override { add("logout", id, r); }
  void onAutoLoginPlayer(std::uint32_t id, OX_Toolbox::ERRORID r) override { add("auto", id, r); }
  void onSearchPlayerID(std::uint32_t id, OX_Toolbox::ERRORID r) override { add("search", id, r); }
  void onSetPublicProfilePropertyValues(std::uint32_t id, OX_Toolbox::ERRORID r) override {
    add("setPublic", id, r);
  }
  void onSetPrivateProfilePropertyValues(std::uint32_t id, OX_Toolbox::ERRORID r) override {
    add("setPrivate", id, r);
  }
  void onRetrievePublicProfilePropetyValues(std::uint32_t id, OX_Toolbox::ERRORID r,
                                            const OX_Toolbox::ProfileValues& v) override {
    add("getPublic", id, r, v);
  }
  void onRetrievePrivateProfilePropetyValues(std::uint32_t id, OX_Toolbox::ERRORID r,
                                             const OX_Toolbox::ProfileValues& v) override {
    add("getPrivate", id, r, v);
  }

  bool heard(const std::string& kind, std::uint32_t id) const {
    for (const Outcome& o : outcomes) {
      if (o.kind == kind && o.taskId == id) return true;
    }
    return false;
  }
  const Outcome& last(const std::string& kind) const {
    static const Outcome none{"", 0, OX_Toolbox::ERRORID_INVALID, {}};
    for (auto it = outcomes.rbegin(); it != outcomes.rend(); ++it) {
      if (it->kind == kind) return *it;
    }
    return none;
  }
  std::vector<Outcome> outcomes;

 private:
  void add(const char* kind, std::uint32_t id, OX_Toolbox::ERRORID r,
           const OX_Toolbox::ProfileValues& v = {}) {
    outcomes.push_back({kind, id, r, v});
  }
};

inline void addDefinition(OX_Toolbox::RecordList& list, std::int32_t version, const char* name,
                          std::int32_t id, bool isPublic, std::int32_t type) {
  OX_Toolbox::Blob b;
  b.writeInt32(0, version);
  b.writeString(b.getSize(), OX_Toolbox::String(name));
  b.writeInt32(b.getSize(), id);
  b.writeBool(b.getSize(), isPublic);
  b.writeInt32(b.getSize(), type);
  const char tag[4] = {'P', 'R', 'F', 'C'};
  list.add(OX_Toolbox::TaggedRecord::create(tag, b.getData(), b.getSize()));
}

class AccountFixture : public online_test::OnlineFixture {
 protected:
  void TearDown() override {
    OnlineFixture::TearDown();
    std::remove("mm.dat");
    std::remove("config.dat");
  }
  // Two public values (a rating and a best word) and one private (a motto).
  static void writeDefinitions() {
    OX_Toolbox::RecordList list;
    addDefinition(list, 1, "rating", 1, true, OX_Toolbox::OX_INT32);
    addDefinition(list, 1, "best", 2, true, OX_Toolbox::OX_STRING);
    addDefinition(list, 1, "motto", 3, false, OX_Toolbox::OX_STRING);
    ASSERT_EQ(list.saveToFile("mm.dat"), OX_Toolbox::ERRORID_SUCCEEDED);
  }
  OX_Toolbox::AccountService* createAccounts() {
    writeDefinitions();
    EXPECT_EQ(OX_Toolbox::AccountService::create(), OX_Toolbox::ERRORID_SUCCEEDED);
    return OX_Toolbox::AccountService::find();
  }
  bool waitFor(const std::string& kind, std::uint32_t id) {
    EXPECT_NE(id, 0u);
    return runUntil([&] { return listener.heard(kind, id); });
  }

  RecordingAccountListener listener;
};

}  // namespace account_test
