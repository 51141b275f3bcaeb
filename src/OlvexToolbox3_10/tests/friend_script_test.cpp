// The friend and messaging services seen from a script in the harness
// interpreter: methods reach the services, events reach the script's
// functions as (task id, result), and argument errors are raised.
#include <gtest/gtest.h>

#include <lua.hpp>
#include <memory>
#include <string>

#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"
#include "services_test_support.h"

using namespace OX_Toolbox;

namespace {

class FriendScripts : public toolbox_test::ServicesFixture {
 protected:
  void SetUp() override {
    ServicesFixture::SetUp();
    ASSERT_EQ(MessagingService::create(), ERRORID_SUCCEEDED);
    ASSERT_EQ(FriendService::create(), ERRORID_SUCCEEDED);
    interpreter = std::make_unique<ScriptInterpreter>();
    ASSERT_TRUE(interpreter->isValid());
  }
  void TearDown() override {
    interpreter.reset();
    ServicesFixture::TearDown();
  }
  std::string run(const char* text) {
    lua_State* L = interpreter->getLuaState();
    if (luaL_loadstring(L, text) != LUA_OK || interpreter->protectedCall(0, 0) != LUA_OK) {
      std::string error = lua_tostring(L, -1);
      lua_pop(L, 1);
      return error;
    }
    return "";
  }
  std::string global(const char* name) {
    lua_State* L = interpreter->getLuaState();
    lua_getglobal(L, name);
    std::string v = lua_tostring(L, -1) ? lua_tostring(L, -1) : "(nil)";
    lua_pop(L, 1);
    return v;
  }

  std::unique_ptr<ScriptInterpreter> interpreter;
};

TEST_F(FriendScripts, AScriptProposesFetchesAndHearsEachOutcome) {
  ASSERT_EQ(run("function FriendService_onSendFriendshipRequest(id, result)\n"
                "  SENT = id:get() .. ' ' .. result:get()\n"
                "  return true\n"
                "end\n"
                "function MessagingService_onSynchronizeMessages(id, result)\n"
                "  SYNCED = id:get() .. ' ' .. result:get()\n"
                "  return true\n"
                "end\n"
                "BOB = PlayerID(CONNECTIONTYPE_ONLINE, Integer(2))\n"
                "TASK = FriendService:sendFriendshipRequest(FriendServiceListener, Integer(0),\n"
                "  BOB):get()\n"),
            "");
  ASSERT_TRUE(until([&] { return global("SENT") != "(nil)"; }));
  EXPECT_EQ(global("SENT"), global("TASK") + " " + std::to_string(ERRORID_SUCCEEDED));

  // bob proposes back; the script reads the received requests after a fetch
  ASSERT_TRUE(bobDoes(1, bdLobbyArgs().u64(kAnn).buffer(nullptr)));
  ASSERT_TRUE(
      until([&] { return !FriendService::find()->getReceivedFriendshipRequests(0).empty(); }));
  ASSERT_EQ(run("SYNC = MessagingService:synchronizeMessages(MessagingServiceListener,\n"
                "  Integer(0), Integer(0), Integer(100)):get()\n"),
            "");
  ASSERT_TRUE(until([&] { return global("SYNCED") != "(nil)"; }));
  EXPECT_EQ(global("SYNCED"), global("SYNC") + " " + std::to_string(ERRORID_SUCCEEDED));
  ASSERT_EQ(run("local r = FriendService:getReceivedFriendshipRequests(Integer(0))\n"
                "RECEIVED = r:size():get() .. ' ' .. r:get(1):getId():get()\n"
                "REPLY = FriendService:sendFriendshipRequestReply(FriendServiceListener,\n"
                "  Integer(0), BOB, true):get()\n"),
            "");
  EXPECT_EQ(global("RECEIVED"), "1 2");
  EXPECT_NE(global("REPLY"), "0");
  ASSERT_TRUE(until([&] { return FriendService::find()->getFriends(0).size() == 1; }));
}

TEST_F(FriendScripts, AMailHandedToTheServiceIsNoLongerTheScripts) {
  lua_State* L = interpreter->getLuaState();
  auto* mail = new MailMessage();
  mail->setRecipient(bobId());
  PushLuaBox(L, mail, true, MessagingService::kMessageMeta);
  lua_setglobal(L, "MAIL");
  auto* stray = new FriendshipRevokeMessage();
  PushLuaBox(L, stray, true, MessagingService::kMessageMeta);
  lua_setglobal(L, "NOT_A_MAIL");
  ASSERT_EQ(run("MAILED = FriendService:sendFriendMailMessage(FriendServiceListener, Integer(0),\n"
                "  MAIL):get()\n"
                "REFUSED = FriendService:sendFriendMailMessage(FriendServiceListener,\n"
                "  Integer(0), NOT_A_MAIL):get()\n"
                "MAIL = nil NOT_A_MAIL = nil collectgarbage()\n"),
            "");
  EXPECT_NE(global("MAILED"), "0");
  EXPECT_EQ(global("REFUSED"), "0");
  ASSERT_TRUE(idle());
  EXPECT_EQ(server->getStore().mailbox(kBob).size(), 1u);
}

TEST_F(FriendScripts, ArgumentsOfTheWrongTypeAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"FriendService:removeFriend(MessagingServiceListener, Integer(0), PlayerID(2, Integer(2)))",
       "FriendServiceListener expected"},
      {"FriendService:removeFriend(FriendServiceListener, Integer(0), Integer(2))",
       "PlayerID expected"},
      {"FriendService:blockFriend(FriendServiceListener, 'first', PlayerID(2, Integer(2)), true)",
       "Integer expected"},
      {"FriendService.synchronizeFriends(MessagingService, FriendServiceListener, Integer(0))",
       "FriendService expected"},
      {"MessagingService:synchronizeMessages(FriendServiceListener, Integer(0), Integer(0),"
       " Integer(1))",
       "MessagingServiceListener expected"},
      {"FriendService:forwardInvitation(FriendServiceListener, Integer(0),"
       " PlayerID(2, Integer(2)), Integer(1))",
       "SessionInviteMessage expected"},
  };
  for (const auto& c : cases)
    EXPECT_NE(run(c.first).find(c.second), std::string::npos) << c.first;
}

}  // namespace
