// The matchmaking service seen from a script in the harness interpreter:
// operations reach the service, outcomes reach the script's functions as
// (task id, result[, results]), and bad arguments raise the named errors.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Modules/Core/Src/Script/ScriptInterpreter.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "matchmaking_test_support.h"
#include "script_test_support.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;

namespace {

class MatchmakingScripts : public toolbox_test::CoreFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(createCore(toolbox_test::fileKeys() + "MATCHMAKING_DEFAULT_FILE = 'mm_script.dat'\n"),
              ERRORID_SUCCEEDED);
    core = ToolboxCore::instance();
    // A network service that was never started: every task that needs the
    // network ends with CONNECTION_FAILURE.
    ASSERT_EQ(core->registerService(new toolbox_test::RecordingService("NetworkService", nullptr)),
              ERRORID_SUCCEEDED);
    ASSERT_EQ(matchmaking_test::SaveDefinitions("mm_script.dat"), ERRORID_SUCCEEDED);
    ASSERT_EQ(MatchmakingService::create(), ERRORID_SUCCEEDED);
    interpreter = std::make_unique<ScriptInterpreter>();
    ASSERT_TRUE(interpreter->isValid());
  }
  void TearDown() override {
    interpreter.reset();
    std::remove("mm_script.dat");
    CoreFixture::TearDown();
  }
  std::string run(const char* text) { return toolbox_test::RunScript(*interpreter, text); }
  std::string global(const char* name) { return toolbox_test::ScriptGlobal(*interpreter, name); }
  bool settle() {
    for (int i = 0; i < 50 && !core->getTaskManager()->isIdle(); ++i)
      core->update(60);
    core->update(60);
    return core->getTaskManager()->isIdle();
  }

  ToolboxCore* core = nullptr;
  std::unique_ptr<ScriptInterpreter> interpreter;
};

TEST_F(MatchmakingScripts, ASearchAndAHostReportToTheScript) {
  ASSERT_EQ(run("function MatchmakingService_onSearchSessions(id, result, sessions)\n"
                "  SEARCHED = id:get() .. ' ' .. result:get() .. ' ' .. sessions:size()\n"
                "  return true\n"
                "end\n"
                "function MatchmakingService_onHostSession(id, result)\n"
                "  HOSTED = id:get() .. ' ' .. result:get()\n"
                "  return true\n"
                "end\n"
                "local games = MatchmakingService:findMatchmakingQueryById(1)\n"
                "SEARCH = MatchmakingService:searchSessions(MatchmakingServiceListener, 1,\n"
                "  games):get()\n"
                "HOST = MatchmakingService:hostSession(MatchmakingServiceListener, 0,\n"
                "  CONNECTIONTYPE_LAN):get()\n"
                "DELETE = MatchmakingService:deleteSession(MatchmakingServiceListener):get()\n"),
            "");
  ASSERT_TRUE(settle());
  EXPECT_EQ(global("SEARCHED"),
            global("SEARCH") + " " + std::to_string(ERRORID_CONNECTION_FAILURE) + " 0");
  EXPECT_EQ(global("HOSTED"), global("HOST") + " " + std::to_string(ERRORID_CONNECTION_FAILURE));
  EXPECT_EQ(global("DELETE"), "0");  // no session: nothing to delete
}

TEST_F(MatchmakingScripts, ResultVectorsAreBoundedAndArgumentsChecked) {
  EXPECT_EQ(run("local v = VectorSessionInfoPtr.new()\n"
                "SIZE = v:size()\n"),
            "");
  EXPECT_EQ(global("SIZE"), "0");
  struct Case {
    const char* script;
    const char* error;
  } cases[] = {
      {"VectorSessionInfoPtr.new():at(0)", "index outside the vector"},
      {"VectorSessionInfoPtr.new():erase(-1)", "index outside the vector"},
      {"MatchmakingService:hostSession(1, 0, 1)", "MatchmakingServiceListener expected"},
      {"MatchmakingService.hostSession(1, MatchmakingServiceListener, 0, 1)",
       "MatchmakingService expected"},
      {"MatchmakingService:searchSessions(MatchmakingServiceListener, 1, 5)",
       "MatchmakingQuery expected"},
      {"MatchmakingService:joinSession(MatchmakingServiceListener, 0, 7, 1)", "boolean expected"},
  };
  for (const Case& c : cases) {
    const std::string error = run(c.script);
    EXPECT_NE(error.find(c.error), std::string::npos) << c.script << ": " << error;
  }
  EXPECT_TRUE(core->getTaskManager()->isIdle());  // nothing was queued
}

}  // namespace
