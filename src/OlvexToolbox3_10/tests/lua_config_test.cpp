// The Lua configuration reader: keys and their types, defaults by absence,
// the restricted libraries, binary chunks refused, and the program's own
// configuration script.
#include <gtest/gtest.h>

#include <string>

#include <lua.hpp>

#include "Modules/Core/Src/Records/ToolboxFile.h"
#include "Modules/Core/Src/Script/LuaConfig.h"
#include "Modules/Core/Src/Script/LuaState.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;

namespace {

class LuaConfigTest : public ::testing::Test {
 protected:
  ERRORID load(const std::string& script) {
    toolbox_test::writeFile(path(), script);
    return config.load(String(path().c_str()));
  }
  std::string path() const {
    return std::string("luaconfig_") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".lua";
  }
  void TearDown() override { std::remove(path().c_str()); }

  DefaultPlatform platform;
  LuaConfig config{&platform};
};

TEST_F(LuaConfigTest, GettersTakeOnlyTheirTypes) {
  ASSERT_EQ(load("S = 'text'\nN = 12.75\nBIG = 70000\nNEG = -1\nB = false\nONE = 1\n"
                 "L = { 'a', 2, {}, 'c' }\n"),
            ERRORID_SUCCEEDED);
  String s;
  EXPECT_TRUE(config.getString("S", s));
  EXPECT_TRUE(s.equalsWide(u"text"));
  EXPECT_TRUE(config.getString("N", s));  // a number reads as its text
  EXPECT_TRUE(s.equalsNarrow("12.75"));
  EXPECT_FALSE(config.getString("B", s));
  EXPECT_FALSE(config.getString("MISSING", s));

  unsigned n = 0;
  EXPECT_TRUE(config.getInteger("N", n));
  EXPECT_EQ(n, 12u);
  EXPECT_TRUE(config.getInteger("BIG", n));
  EXPECT_EQ(n, 4464u);  // low 16 bits
  EXPECT_TRUE(config.getInteger("NEG", n));
  EXPECT_EQ(n, 0xFFFFu);
  EXPECT_FALSE(config.getInteger("S", n));

  bool b = true;
  EXPECT_TRUE(config.getBoolean("B", b));
  EXPECT_FALSE(b);
  EXPECT_FALSE(config.getBoolean("ONE", b));

  ToolboxVector<String> list;
  EXPECT_TRUE(config.getStringList("L", list));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[1].equalsNarrow("2"));
  EXPECT_FALSE(config.getStringList("S", list));
}

TEST_F(LuaConfigTest, AbsentReadsLeaveTheStackAlone) {
  ASSERT_EQ(load("X = 1\n"), ERRORID_SUCCEEDED);
  const int top = lua_gettop(config.state());
  String s;
  unsigned n;
  bool b;
  ToolboxVector<String> list;
  for (int i = 0; i < 1000; ++i) {
    config.getString("ABSENT", s);
    config.getInteger("ABSENT", n);
    config.getBoolean("X", b);
    config.getStringList("X", list);
  }
  EXPECT_EQ(lua_gettop(config.state()), top);
}

TEST_F(LuaConfigTest, FaultyScriptsStillLoadButSetNothing) {
  EXPECT_EQ(load("A = 1\nthis is not lua"), ERRORID_SUCCEEDED);
  String s;
  EXPECT_FALSE(config.getString("A", s));
  EXPECT_EQ(load("A = 1\nerror('stop')\nB = 2"), ERRORID_SUCCEEDED);
  EXPECT_TRUE(config.getString("A", s));
  EXPECT_FALSE(config.getString("B", s));
  EXPECT_EQ(load("while true do end"), ERRORID_SUCCEEDED);  // stopped, not hung
  EXPECT_EQ(config.load(String(u"no_such_file.lua")), ERRORID_CANT_OPEN_FILE_READ);
}

TEST_F(LuaConfigTest, RunChunkAddsGlobalsAndRefusesWhatDoesNotCompile) {
  ASSERT_EQ(load("A = 1\n"), ERRORID_SUCCEEDED);
  EXPECT_TRUE(config.runChunk(String(u"LobbyServer = { 'h:1' }")));
  ToolboxVector<String> list;
  EXPECT_TRUE(config.getStringList("LobbyServer", list));
  EXPECT_FALSE(config.runChunk(String(u"A = 2 +")));
  // Raw text longer than a String holds runs whole.
  std::string longText = "LONG = '" + std::string(1000, 'x') + "'";
  EXPECT_TRUE(config.runChunk(longText.data(), longText.size()));
  String s;
  EXPECT_TRUE(config.getString("LONG", s));
  EXPECT_EQ(s.length(), String::kMaxLength);  // the value itself is a String
  EXPECT_FALSE(config.runChunk("\x1bLua", 4));
  unsigned a = 0;
  EXPECT_TRUE(config.getInteger("A", a));
  EXPECT_EQ(a, 1u);
}

std::string binaryChunk() {
  lua_State* L = luaL_newstate();
  luaL_loadstring(L, "CONFIG_FILE = 'x'");
  std::string bytes;
  lua_dump(
      L,
      [](lua_State*, const void* p, size_t n, void* out) {
        static_cast<std::string*>(out)->append(static_cast<const char*>(p), n);
        return 0;
      },
      &bytes, 0);
  lua_close(L);
  return bytes;
}

TEST_F(LuaConfigTest, BinaryChunksAndFileLoadingAreRefused) {
  const std::string chunk = binaryChunk();
  ASSERT_EQ(chunk[0], '\x1b');
  EXPECT_EQ(load(chunk), ERRORID_SUCCEEDED);
  String s;
  EXPECT_FALSE(config.getString("CONFIG_FILE", s));

  // From inside a script: no file loading, `load` takes text only, and
  // only the base and table libraries are open.
  ASSERT_EQ(load("T = type(dofile) .. type(loadfile) .. type(require) .. type(io) .. type(os)"
                 " .. type(string) .. type(table)\n"
                 "V = _VERSION\n"
                 "F = load('return 1') and 'text' or 'none'\n"
                 "G = load(string and '' or '\\27Lua', 'b', 'b') and 'bin' or 'refused'\n"),
            ERRORID_SUCCEEDED);
  EXPECT_TRUE(config.getString("T", s));
  EXPECT_TRUE(s.equalsNarrow("nilnilnilnilnilniltable")) << NarrowString(s).narrow();
  EXPECT_TRUE(config.getString("V", s));
  EXPECT_TRUE(s.equalsNarrow("Oua 5.0.2"));
  EXPECT_TRUE(config.getString("F", s));
  EXPECT_TRUE(s.equalsNarrow("text"));
  EXPECT_TRUE(config.getString("G", s));
  EXPECT_TRUE(s.equalsNarrow("refused"));
}

class ShippedConfigTest : public toolbox_test::CoreFixture {};

TEST_F(ShippedConfigTest, ProgramConfigurationHasEveryKey) {
  game = std::make_unique<toolbox_test::RecordingGame>(toolbox_test::shippedConfigPath());
  ASSERT_EQ(ToolboxCore::create(game.get(), nullptr), ERRORID_SUCCEEDED);
  ToolboxCore* core = ToolboxCore::instance();
  for (int i = 0; i < CONFIG_STRING_COUNT; ++i) {
    ASSERT_NE(core->getConfigString(i), nullptr);
    EXPECT_STRNE(core->getConfigString(i), "") << kConfigStringKeys[i];
  }
  const LuaConfig& config = *core->getLuaConfig();
  unsigned n = 0;
  EXPECT_TRUE(config.getInteger("TASK_TIMEOUT", n));
  EXPECT_EQ(n, 10u);
  EXPECT_TRUE(config.getInteger("TIMEOUT_THRESHOLD", n));
  EXPECT_TRUE(config.getInteger("HEARTBEAT_PER_SEC", n));
  EXPECT_GT(n, 0u);
  bool b = false;
  EXPECT_TRUE(config.getBoolean("Auto_Load_Match_Params", b));
  EXPECT_TRUE(config.getBoolean("Auto_Save_Match_Params", b));
  String s;
  for (const char* key :
       {"Match_Params_File", "NorvSigKeyPub", "DWlobbyURL", "DWauthenticationURL"}) {
    EXPECT_TRUE(config.getString(key, s)) << key;
  }
  EXPECT_TRUE(config.getString("DWlobbyURL", s));
  EXPECT_NE(s.find(u":"), nullptr);
  for (const char* key : {"AuthenticationServer", "LobbyServer"}) {
    ToolboxVector<String> list;
    EXPECT_TRUE(config.getStringList(key, list)) << key;
    EXPECT_FALSE(list.empty()) << key;
  }
}

}  // namespace
