// The script interpreter: value types and enumerations seen from Lua, the
// argument errors of the check functions, a service's Lua binding with its
// forwarded listener events, and the script queue.
#include <gtest/gtest.h>

#include <lua.hpp>

#include "Modules/Core/Src/Script/LuaTypes.h"
#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "toolbox_test_support.h"
#include "script_test_support.h"

using namespace OX_Toolbox;

namespace {

class FakeListener {
 public:
  virtual void onThing(ERRORID result, const PlayerID& player) = 0;

 protected:
  ~FakeListener() = default;
};

class FakeForwarder : public LuaForwarder, public FakeListener {
 public:
  explicit FakeForwarder(ScriptInterpreter* interpreter)
      : LuaForwarder(interpreter, "FakeService") {}
  void onThing(ERRORID result, const PlayerID& player) override {
    lua_State* L = begin("onThing");
    PushInteger(L, result);
    PushPlayerID(L, player);
    finish(2);
  }
};

class FakeService : public Service {
 public:
  const char* getName() const override { return "FakeService"; }
  LuaForwarder* registerScript(ScriptInterpreter* interpreter) override {
    static const luaL_Reg kMethods[] = {{"doThing", luaDoThing}, {nullptr, nullptr}};
    lua_State* L = interpreter->getLuaState();
    PublishService(L, this, kMethods);
    forwarder = new FakeForwarder(interpreter);
    PublishListener(L, getName(), static_cast<FakeListener*>(forwarder));
    return forwarder;
  }
  ERRORID doThing(const PlayerID& player) {
    lastPlayer = player;
    return ERRORID_SUCCEEDED;
  }
  static int luaDoThing(lua_State* L) {
    auto* self = static_cast<FakeService*>(CheckService(L, 1, "FakeService"));
    PushInteger(L, self->doThing(*CheckPlayerID(L, 2)));
    return 1;
  }

  FakeForwarder* forwarder = nullptr;
  PlayerID lastPlayer;
};

class ScriptInterpreterTest : public toolbox_test::CoreFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(createCore(toolbox_test::fileKeys()), ERRORID_SUCCEEDED);
    service = new FakeService();
    ASSERT_EQ(ToolboxCore::instance()->registerService(service), ERRORID_SUCCEEDED);
    interpreter = std::make_unique<ScriptInterpreter>();
    ASSERT_TRUE(interpreter->isValid());
  }
  void TearDown() override {
    interpreter.reset();
    for (const std::string& f : files)
      std::remove(f.c_str());
    CoreFixture::TearDown();
  }
  std::string run(const char* text) { return toolbox_test::RunScript(*interpreter, text); }
  std::string global(const char* name) { return toolbox_test::ScriptGlobal(*interpreter, name); }
  std::string script(const std::string& name, const std::string& text) {
    files.push_back(name);
    toolbox_test::writeFile(name, text);
    return name;
  }

  FakeService* service = nullptr;
  std::unique_ptr<ScriptInterpreter> interpreter;
  std::vector<std::string> files;
};

TEST_F(ScriptInterpreterTest, ValueTypesEnumerationsAndArgumentErrors) {
  EXPECT_EQ(run("local b = Blob()\n"
                "b:addInt32(5)\n"
                "b:addString('abc')\n"
                "SIZE = b:getSize():get()\n"
                "TIMEOUT = ERRORID_TIMEOUT:get()\n"
                "STRINGTYPE = OX_STRING:get()\n"
                "ONLINE = CONNECTIONTYPE_ONLINE:get()\n"
                "ID = PlayerID(CONNECTIONTYPE_ONLINE, 77):getId():get()\n"
                "VERSION = _VERSION\n"
                "SAME = tostring(PlayerID(1, 2) == PlayerID(1, 2))\n"),
            "");
  EXPECT_EQ(global("SIZE"), "15");
  EXPECT_EQ(global("TIMEOUT"), "8");
  EXPECT_EQ(global("STRINGTYPE"), "10");
  EXPECT_EQ(global("ONLINE"), "2");
  EXPECT_EQ(global("ID"), "77");
  EXPECT_EQ(global("VERSION"), "Oua 5.0.2");
  EXPECT_EQ(global("SAME"), "true");

  const std::string wrong = run("FakeService:doThing(Blob())");
  EXPECT_NE(wrong.find("PlayerID expected"), std::string::npos) << wrong;
  const std::string notService = run("FakeService.doThing(Blob(), PlayerID(1, 1))");
  EXPECT_NE(notService.find("FakeService expected"), std::string::npos) << notService;
  EXPECT_NE(run("local b = Blob()\nb.addInt32(PlayerID(1, 1), 3)").find("Blob expected"),
            std::string::npos);
  EXPECT_NE(run("dofile('x')").find("nil"), std::string::npos);
  EXPECT_EQ(run("local co = coroutine.create(function() end)\n"
                "STR = string.rep('a', 3) .. table.concat({'b'})"),
            "");
  EXPECT_EQ(global("STR"), "aaab");
}

TEST_F(ScriptInterpreterTest, ServiceMethodReturnsItsImmediateResult) {
  EXPECT_EQ(run("R = FakeService:doThing(PlayerID(CONNECTIONTYPE_LAN, 9)):get()\n"
                "L = type(FakeServiceListener)"),
            "");
  EXPECT_EQ(global("R"), "1");
  EXPECT_EQ(global("L"), "userdata");
  EXPECT_EQ(service->lastPlayer, PlayerID(CONNECTIONTYPE_LAN, 9));
  EXPECT_EQ(interpreter->forwarderCount(), 1u);
}

TEST_F(ScriptInterpreterTest, ScriptQueueWaitsForEventsAndMovesOnWhenAHandlerSaysFalse) {
  const std::string first = script("first_script.lua",
                                   "function startScript() return true end\n"
                                   "function FakeService_onThing(result, player)\n"
                                   "  GOT = result:get() .. ':' .. player:getId():get()\n"
                                   "  return false\n"
                                   "end\n");
  const std::string second = script("second_script.lua", "SECOND = 'ran'\n");
  EXPECT_TRUE(interpreter->currentScript().equalsWide(u"no current script"));
  interpreter->queueScript(String(first.c_str()));
  interpreter->queueScript(String(second.c_str()));
  EXPECT_EQ(interpreter->queuedScripts(), 2u);
  EXPECT_TRUE(interpreter->currentScript().equalsNarrow(first.c_str()));
  EXPECT_EQ(global("SECOND"), "(nil)");

  service->forwarder->onThing(ERRORID_TIMEOUT, PlayerID(CONNECTIONTYPE_ONLINE, 4));
  EXPECT_EQ(global("GOT"), "8:4");
  EXPECT_EQ(global("SECOND"), "ran");  // the second ran and, without startScript, ended
  EXPECT_EQ(interpreter->queuedScripts(), 0u);
}

TEST_F(ScriptInterpreterTest, ErrorsAreReportedAndKeepTheCurrentScript) {
  const std::string waits = script("waits_script.lua",
                                   "function startScript() return true end\n"
                                   "function FakeService_onThing() error('handler broke') end\n");
  ::testing::internal::CaptureStdout();
  interpreter->queueScript(String("missing_script.lua"));
  interpreter->queueScript(String(waits.c_str()));
  service->forwarder->onThing(ERRORID_FAILED, PlayerID());
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("ScriptInterpreter error: unable to open missing_script.lua"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("ScriptInterpreter error: "), std::string::npos);
  EXPECT_NE(out.find("handler broke"), std::string::npos) << out;
  EXPECT_TRUE(interpreter->currentScript().equalsNarrow(waits.c_str()));

  // A binary chunk never loads.
  lua_State* L = interpreter->getLuaState();
  EXPECT_EQ(run("B = load(string.dump(function() end))"), "");
  lua_getglobal(L, "B");
  EXPECT_TRUE(lua_isnil(L, -1));
  lua_pop(L, 1);
}

}  // namespace
