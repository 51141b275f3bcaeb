#pragma once
// Shared by the toolbox tests: configuration scripts written next to the
// test, a game interface that records what the core tells it, and a service
// that records its updates and its destruction.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/ToolboxGameInterface.h"

namespace toolbox_test {

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

inline std::string readFile(const std::string& path) {
  std::string bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    bytes.append(chunk, n);
  std::fclose(f);
  return bytes;
}

// The seven file-configuration keys the core requires.
inline std::string fileKeys() {
  return "MATCHMAKING_DEFAULT_PAGE_NAME = 'Page'\n"
         "CONFIG_FILE = 'config.dat'\n"
         "CRCS_FILE = 'crcs.dat'\n"
         "FAT_FILE = 'fat.dat'\n"
         "MATCHMAKING_DEFAULT_FILE = 'mm.dat'\n"
         "PAGE_LOGIC_SCRIPT_PATH = 'page.lua'\n"
         "LOCAL_PLAYERS_CACHE_FILE = 'players.dat'\n";
}

inline std::string shippedConfigPath() {
  // Cut textually: the tests' own data folder does not exist, and a POSIX
  // path cannot climb out of a folder that is not there.
  std::string root = TESS_TEST_DATA;
  for (int i = 0; i < 4; ++i)
    root.erase(root.find_last_of('/'));
  return root + "/data/olvex/OlvexConfig.lua";
}

class RecordingGame : public OX_Toolbox::ToolboxGameInterface {
 public:
  explicit RecordingGame(std::string path) : m_path(std::move(path)) {}
  OX_Toolbox::String getConfigPath() override { return OX_Toolbox::String(m_path.c_str()); }
  void onPlayerLogin(OX_Toolbox::LocalPlayer* p) override { calls.push_back({"login", p}); }
  int onPlayerLogout(OX_Toolbox::LocalPlayer* p) override {
    calls.push_back({"logout", p});
    return 0;
  }
  struct Call {
    std::string what;
    OX_Toolbox::LocalPlayer* player;
  };
  std::vector<Call> calls;

 private:
  std::string m_path;
};

class RecordingService : public OX_Toolbox::Service {
 public:
  RecordingService(const char* name, std::vector<std::string>* log) : m_name(name), m_log(log) {}
  ~RecordingService() override {
    if (m_log) m_log->push_back(std::string("destroy ") + m_name);
  }
  const char* getName() const override { return m_name; }
  OX_Toolbox::LuaForwarder* registerScript(OX_Toolbox::ScriptInterpreter*) override {
    return nullptr;
  }
  void update(std::uint32_t ms) override {
    if (m_log) m_log->push_back(std::string("update ") + m_name + " " + std::to_string(ms));
  }

 private:
  const char* m_name;
  std::vector<std::string>* m_log;
};

// A core created from a configuration script written for the test.
class CoreFixture : public ::testing::Test {
 protected:
  OX_Toolbox::ERRORID createCore(const std::string& script) {
    const std::string path = scriptPath();
    writeFile(path, script);
    game = std::make_unique<RecordingGame>(path);
    return OX_Toolbox::ToolboxCore::create(game.get(), nullptr);
  }
  std::string scriptPath() const {
    return std::string("olvex_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
           ".lua";
  }
  void TearDown() override {
    OX_Toolbox::ToolboxCore::destroy();
    std::remove(scriptPath().c_str());
  }
  std::unique_ptr<RecordingGame> game;
};

}  // namespace toolbox_test
