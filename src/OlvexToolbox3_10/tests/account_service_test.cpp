// The account service without a server: profile definitions, LAN login and
// logout, the remembered login, name look-ups, the login rules, and the
// online operations that must fail before any server is reached.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountService.h"
#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Players/LoginRules.h"
#include "Modules/Core/Src/Digest/Md5Digest.h"
#include "Modules/Core/Src/Records/LocalPlayerRecord.h"
#include "Modules/Core/Src/Records/RecordFile.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "account_test_support.h"
#include "bdLobbyCommon/bdAuth.h"

using namespace OX_Toolbox;
using account_test::Outcome;

namespace {

class AccountServiceTest : public account_test::AccountFixture {
 protected:
  void SetUp() override {
    AccountFixture::SetUp();
    ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED);
    ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
  }
  void startLan() {
    NetworkService::find()->start(nullptr, NetworkService::LAN);
    ASSERT_TRUE(runUntil([] { return NetworkService::find()->getConnectionType() != 0; }));
  }
};

TEST_F(AccountServiceTest, DefinitionsComeFromTheProfileRecords) {
  RecordList list;
  account_test::addDefinition(list, 1, "rating", 10, true, OX_INT32);
  account_test::addDefinition(list, 1, "motto", 11, false, OX_STRING);
  account_test::addDefinition(list, 2, "ignored", 12, true, OX_INT64);  // defaults only
  account_test::addDefinition(list, 1, "games", 13, true, OX_INT64);
  ProfileDefinitions pub, priv;
  AccountService::readDefinitions(list, pub, priv);
  ASSERT_EQ(pub.size(), 2u);
  EXPECT_TRUE(pub[0].name.equalsNarrow("rating"));
  EXPECT_EQ(pub[0].id, 10u);
  EXPECT_EQ(pub[1].id, 13u);
  EXPECT_EQ(pub[1].type, static_cast<std::uint32_t>(OX_INT64));
  ASSERT_EQ(priv.size(), 2u);
  EXPECT_TRUE(priv[0].name.equalsNarrow("motto"));
  EXPECT_EQ(priv[1].id, 0u);  // the version-2 record: id 0, no name, type 0
  EXPECT_TRUE(priv[1].name.isEmpty());
  EXPECT_EQ(priv[1].type, 0u);
}

TEST_F(AccountServiceTest, CreationNeedsTheNetworkServiceAndItsDefinitionsFile) {
  ToolboxCore::destroy();
  ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED);
  EXPECT_EQ(AccountService::create(), ERRORID_SERVICE_NOT_AVAILABLE);
  ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
  std::remove("mm.dat");
  EXPECT_NE(AccountService::create(), ERRORID_SUCCEEDED);
  EXPECT_EQ(AccountService::find(), nullptr);
  writeDefinitions();
  EXPECT_EQ(AccountService::create(), ERRORID_SUCCEEDED);
  ASSERT_NE(AccountService::find(), nullptr);
  EXPECT_EQ(AccountService::find()->getAllPublicProfilePropertyDefinitions().size(), 2u);
  EXPECT_EQ(AccountService::find()->getAllPrivateProfilePropertyDefinitions().size(), 1u);
}

TEST_F(AccountServiceTest, LanLoginLogoutAndTheRememberedLogin) {
  AccountService* accounts = createAccounts();
  startLan();
  // An empty login on slot 1 logs in as "1", with this machine's address
  // above the slot number.
  const std::uint32_t id =
      accounts->loginPlayer(&listener, NetworkService::LAN, 1, String(""), String(""));
  ASSERT_TRUE(waitFor("login", id));
  EXPECT_EQ(listener.last("login").result, ERRORID_SUCCEEDED);
  LocalPlayer* player = ToolboxCore::instance()->getLocalPlayer(1);
  ASSERT_NE(player, nullptr);
  EXPECT_TRUE(player->getLogin().equalsNarrow("1"));
  EXPECT_EQ(player->getPlayerID(CONNECTIONTYPE_LAN),
            PlayerID(CONNECTIONTYPE_LAN, 0x0100007F00000001ull));
  EXPECT_TRUE(accounts->isPlayerLoggedIn(1, CONNECTIONTYPE_LAN));
  EXPECT_FALSE(accounts->isPlayerLoggedIn(1, CONNECTIONTYPE_ONLINE));
  EXPECT_FALSE(accounts->isPlayerLoggedIn(0, CONNECTIONTYPE_LAN));
  ASSERT_EQ(game->calls.size(), 1u);
  EXPECT_EQ(game->calls[0].what, "login");

  // The cache file remembers the login.
  RecordList cache;
  ASSERT_EQ(cache.loadFromFile("config.dat"), ERRORID_SUCCEEDED);
  ASSERT_EQ(cache.countByTag(kLocalPlayerTag), 1u);
  SavedLogin saved;
  ASSERT_TRUE(ReadLocalPlayerRecord(*cache.findByTag(kLocalPlayerTag), saved));
  EXPECT_TRUE(saved.login.equalsNarrow("1"));

  // Logout, then a second logout and one of an empty slot.
  ASSERT_TRUE(waitFor("logout", accounts->logoutPlayer(&listener, 1)));
  EXPECT_EQ(listener.last("logout").result, ERRORID_SUCCEEDED);
  EXPECT_EQ(ToolboxCore::instance()->getLocalPlayer(1), nullptr);
  EXPECT_EQ(game->calls.back().what, "logout");
  for (std::uint8_t slot : {1, 2}) {
    ASSERT_TRUE(waitFor("logout", accounts->logoutPlayer(&listener, slot)));
    EXPECT_EQ(listener.last("logout").result, ERRORID_TASK_PREREQUISITE_FAILED);
  }

  // The automatic login takes the remembered one.
  ASSERT_TRUE(waitFor("auto", accounts->autoLoginPlayer(&listener, NetworkService::LAN, 2)));
  EXPECT_EQ(listener.last("auto").result, ERRORID_SUCCEEDED);
  ASSERT_NE(ToolboxCore::instance()->getLocalPlayer(2), nullptr);
  EXPECT_TRUE(ToolboxCore::instance()->getLocalPlayer(2)->getLogin().equalsNarrow("1"));
}

TEST_F(AccountServiceTest, TheRememberedLoginOutlivesTheToolbox) {
  startLan();
  AccountService* accounts = createAccounts();
  ASSERT_TRUE(waitFor("login", accounts->loginPlayer(&listener, NetworkService::LAN, 0,
                                                     String("alice1"), String("secret1"))));
  ASSERT_EQ(listener.last("login").result, ERRORID_SUCCEEDED);

  // A new toolbox (the program started again) logs in automatically as the
  // player the last one remembered.
  ToolboxCore::destroy();
  ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED);
  EXPECT_TRUE(ToolboxCore::instance()->getSavedLogin()->password.equalsNarrow("secret1"));
  ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
  startLan();
  accounts = createAccounts();
  ASSERT_TRUE(waitFor("auto", accounts->autoLoginPlayer(&listener, NetworkService::LAN, 0)));
  EXPECT_EQ(listener.last("auto").result, ERRORID_SUCCEEDED);
  ASSERT_NE(ToolboxCore::instance()->getLocalPlayer(0), nullptr);
  EXPECT_TRUE(ToolboxCore::instance()->getLocalPlayer(0)->getLogin().equalsNarrow("alice1"));
}

TEST_F(AccountServiceTest, ADamagedCacheFileRemembersNoLogin) {
  SavedLogin saved;
  saved.login = String("alice1");
  saved.password = String("secret1");
  RecordList good;
  ASSERT_TRUE(WriteLocalPlayerRecord(good, saved));
  ASSERT_EQ(good.saveToFile("config.dat"), ERRORID_SUCCEEDED);
  const std::string bytes = toolbox_test::readFile("config.dat");
  ASSERT_GT(bytes.size(), 24u);

  // A record file whose digest and length hold but whose payload is given.
  auto sealed = [](std::vector<unsigned char> payload) {
    std::remove("config.dat");
    WriteRecordFile(DefaultRecordFileCodec(), payload.data(),
                    static_cast<std::uint32_t>(payload.size()), "config.dat");
    return toolbox_test::readFile("config.dat");
  };
  std::string flipped = bytes;
  flipped[22] = static_cast<char>(flipped[22] ^ 0x40);
  // A good "LGNC" record, then a second one whose size runs past the end.
  RecordList two;
  ASSERT_TRUE(WriteLocalPlayerRecord(two, saved));
  std::uint32_t length = 0;
  unsigned char* list = two.serialize(length);
  ASSERT_NE(list, nullptr);
  std::vector<unsigned char> cut(list, list + length);
  ToolboxFree(list);
  cut[0] = 2;
  cut.insert(cut.end(), {'L', 'G', 'N', 'C', 60, 0, 0, 0, 7});
  const std::string unparsed = sealed(cut);
  // A whole "LGNC" record of three bytes: no login in it.
  const std::string empty = sealed({1, 0, 0, 0, 'L', 'G', 'N', 'C', 11, 0, 0, 0, 1, 2, 3});
  const struct {
    const char* what;
    std::string file;
  } cases[] = {{"truncated", bytes.substr(0, bytes.size() - 1)},
               {"a flipped payload bit", flipped},
               {"a list that does not parse", unparsed},
               {"an unreadable record", empty},
               {"no file", ""}};
  for (const auto& c : cases) {
    ToolboxCore::destroy();
    std::remove("config.dat");
    if (!c.file.empty()) toolbox_test::writeFile("config.dat", c.file);
    ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED) << c.what;
    EXPECT_TRUE(ToolboxCore::instance()->getSavedLogin()->login.isEmpty()) << c.what;
    EXPECT_TRUE(ToolboxCore::instance()->getSavedLogin()->password.isEmpty()) << c.what;
  }
  // The file as written reads back.
  ToolboxCore::destroy();
  toolbox_test::writeFile("config.dat", bytes);
  ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED);
  EXPECT_TRUE(ToolboxCore::instance()->getSavedLogin()->login.equalsNarrow("alice1"));
}

TEST_F(AccountServiceTest, LoginsThatCannotReachTheNetworkFail) {
  AccountService* accounts = createAccounts();
  // Nothing started: neither kind of login gets anywhere, and the slot stays empty.
  const struct {
    std::uint32_t type;
    ERRORID result;
  } cases[] = {{NetworkService::LAN, ERRORID_CONNECTION_FAILURE},
               {NetworkService::ONLINE, ERRORID_CONNECTION_FAILURE}};
  for (const auto& c : cases) {
    ASSERT_TRUE(waitFor(
        "login", accounts->loginPlayer(&listener, c.type, 0, String("alice1"), String("secret1"))));
    EXPECT_EQ(listener.last("login").result, c.result);
    EXPECT_EQ(ToolboxCore::instance()->getLocalPlayer(0), nullptr);
  }
  const String texts[4] = {String("a@example.org"), String("FR"), String("1990"), String("fr")};
  ASSERT_TRUE(waitFor("create", accounts->createOnlinePlayer(&listener, 0, String("alice1"),
                                                             String("secret1"), texts)));
  EXPECT_EQ(listener.last("create").result, ERRORID_FAILED);
  ASSERT_TRUE(waitFor(
      "delete", accounts->deleteOnlinePlayer(&listener, 0, String("alice1"), String("secret1"))));
  EXPECT_EQ(listener.last("delete").result, ERRORID_FAILED);
  // Profiles need a logged-in player.
  ASSERT_TRUE(waitFor("getPrivate", accounts->retrievePrivateProfilePropetyValues(&listener, 0)));
  EXPECT_EQ(listener.last("getPrivate").result, ERRORID_TASK_PREREQUISITE_FAILED);
}

TEST_F(AccountServiceTest, ANameGivesOnePlayerIDWhateverItsCase) {
  AccountService* accounts = createAccounts();
  startLan();
  ASSERT_TRUE(waitFor("login", accounts->loginPlayer(&listener, NetworkService::LAN, 0,
                                                     String("host12"), String(""))));
  const PlayerID expected(CONNECTIONTYPE_ONLINE, bdAuthUtility::getUserID("alice.b"));
  LocalPlayer* searcher = ToolboxCore::instance()->getLocalPlayer(0);
  const std::size_t cached = searcher->getCacheStore()->getCacheListItems(2)->size();
  for (const char* name : {"alice.b", "Alice.B", "ALICE.B"}) {
    ASSERT_TRUE(waitFor("search", accounts->searchPlayerID(&listener, 0, String(name))));
    EXPECT_EQ(listener.last("search").result, ERRORID_SUCCEEDED);
    EXPECT_EQ(UserIdOfName(String(name)), expected.getId()) << name;
  }
  // The searcher now knows the player, once.
  EXPECT_NE(ToolboxCore::instance()->findLocalPlayer(expected), nullptr);
  EXPECT_NE(searcher->getCacheStore()->findCachedObject(2, expected.getId()), nullptr);
  EXPECT_EQ(searcher->getCacheStore()->getCacheListItems(2)->size(), cached + 1);
}

TEST(LoginRules, LoginsAndPasswords) {
  const struct {
    const char16_t* login;
    ERRORID result;
  } logins[] = {
      {u"alice1", ERRORID_SUCCEEDED},
      {u"a.b-c_d", ERRORID_SUCCEEDED},
      {u"alice", ERRORID_WRONG_LOGIN_SIZE},
      {u"abcdefghijklmnopqrstu", ERRORID_WRONG_LOGIN_SIZE},
      {u"1alice", ERRORID_WRONG_LOGIN_FORMAT_DOES_NOT_START_WITH_LETTER},
      {u"alice b", ERRORID_WRONG_LOGIN_FORMAT_CONTAINS_NOT_ALLOWED_CHARACTER},
      {nullptr, ERRORID_WRONG_LOGIN_SIZE},
  };
  for (const auto& c : logins)
    EXPECT_EQ(ValidateLogin(c.login), c.result);
  const struct {
    const char16_t* password;
    ERRORID result;
  } passwords[] = {
      {u"s3cret", ERRORID_SUCCEEDED},
      {u"secret", ERRORID_SUCCEEDED},
      {u"12345", ERRORID_WRONG_PASSWORD_SIZE},
      {u"abcdefghijklmnopq", ERRORID_WRONG_PASSWORD_SIZE},
      {u"s3cr.t", ERRORID_WRONG_PASSWORD_CONTAINS_NOT_ALLOWED_CHARACTER},
      {u"123456", ERRORID_WRONG_PASSWORD_CONTAINS_NOT_ATLEAST_ONE_NUMBER_AND_LETTER},
      {u"xalice1x", ERRORID_WRONG_PASSWORD_CONTAINS_THE_USERNAME},
      {u"xAlice1x", ERRORID_SUCCEEDED},
  };
  for (const auto& c : passwords)
    EXPECT_EQ(ValidatePassword(u"alice1", c.password), c.result);
}

}  // namespace
