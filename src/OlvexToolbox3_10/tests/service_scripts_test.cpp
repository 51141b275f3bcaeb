// The network and account services seen from a script: their methods, the
// events forwarded to the script's functions, and the definition types.
#include <gtest/gtest.h>

#include <lua.hpp>

#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "account_test_support.h"

using namespace OX_Toolbox;

namespace {

class ServiceScripts : public account_test::AccountFixture {
 protected:
  void SetUp() override {
    AccountFixture::SetUp();
    ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED);
    ASSERT_EQ(NetworkService::create("tess", "fr-FR"), ERRORID_SUCCEEDED);
    ASSERT_NE(createAccounts(), nullptr);
    interpreter = std::make_unique<ScriptInterpreter>();
    ASSERT_TRUE(interpreter->isValid());
  }
  void TearDown() override {
    interpreter.reset();
    AccountFixture::TearDown();
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

TEST_F(ServiceScripts, AScriptStartsTheNetworkLogsInAndHearsTheOutcomes) {
  ASSERT_EQ(run("function NetworkService_onStart(id, result)\n"
                "  STARTED = id:get() .. ' ' .. result:get()\n"
                "  return true\n"
                "end\n"
                "function AccountService_onLoginPlayer(id, result)\n"
                "  LOGGED = id:get() .. ' ' .. result:get()\n"
                "  return true\n"
                "end\n"
                "START = NetworkService:start(NetworkServiceListener, CONNECTIONTYPE_LAN):get()\n"),
            "");
  ASSERT_TRUE(runUntil([&] { return global("STARTED") != "(nil)"; }));
  EXPECT_EQ(global("STARTED"), global("START") + " " + std::to_string(ERRORID_SUCCEEDED));
  ASSERT_EQ(run("LOGIN = AccountService:loginPlayer(AccountServiceListener, CONNECTIONTYPE_LAN,\n"
                "  Integer(2), String('player'), String('')):get()\n"),
            "");
  ASSERT_TRUE(runUntil([&] { return global("LOGGED") != "(nil)"; }));
  EXPECT_EQ(global("LOGGED"), global("LOGIN") + " " + std::to_string(ERRORID_SUCCEEDED));
  EXPECT_NE(ToolboxCore::instance()->getLocalPlayer(2), nullptr);
}

TEST_F(ServiceScripts, DefinitionsAndArgumentErrors) {
  EXPECT_EQ(run("local d = AccountService:getAllPublicProfilePropertyDefinitions()\n"
                "N = d:size():get()\n"
                "SECOND = d:get(2):getID():get() .. '/' .. d:get(2):getType():get()\n"
                "d:erase(1)\n"
                "d:push_back(AccountService:getAllPrivateProfilePropertyDefinitions():get(1))\n"
                "AFTER = d:size():get() .. ' ' .. d:get(2):getID():get()\n"
                "OUTSIDE = tostring(d:get(9))\n"),
            "");
  EXPECT_EQ(global("N"), "2");
  EXPECT_EQ(global("SECOND"), "2/" + std::to_string(OX_STRING));
  EXPECT_EQ(global("AFTER"), "2 3");
  EXPECT_EQ(global("OUTSIDE"), "nil");
  EXPECT_NE(run("AccountService:logoutPlayer(NetworkServiceListener, Integer(0))")
                .find("AccountServiceListener expected"),
            std::string::npos);
  EXPECT_NE(run("NetworkService:start(AccountServiceListener, CONNECTIONTYPE_LAN)")
                .find("NetworkServiceListener expected"),
            std::string::npos);
  EXPECT_NE(run("AccountService.logoutPlayer(NetworkService, AccountServiceListener, Integer(0))")
                .find("AccountService expected"),
            std::string::npos);
}

}  // namespace
