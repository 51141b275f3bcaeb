#pragma once
// What the set-up dialogs' window tests share: the standard skin, a program
// folder with a user and personality files, a recording shell host, message
// sink and sound backend, and steps run once a dialog is up.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "recording_sink.h"
#include "screenshot.h"
#include "shell/personality.h"
#include "shell/sound.h"
#include "shell_fixture.h"
#include "standard_skin.h"
#include "ui_test_fixture.h"

namespace setuptest {

using uitest::Text;
using uitest::Then;

inline void Click(HWND window, int id) { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

// Records the volumes the dialogs set.
class VolumeBackend : public shell::SoundBackend {
 public:
  explicit VolumeBackend(std::map<int, int32_t>* volumes) : volumes_(volumes) {}
  bool Open(const std::string&) override { return true; }
  void Close() override {}
  bool Load(shell::SoundSlot, const std::wstring&) override { return false; }
  void Play(shell::SoundSlot, shell::SoundPerformance, uint32_t) override {}
  void Stop(shell::SoundPerformance) override {}
  void SetVolume(shell::SoundPerformance perf, int32_t db) override {
    (*volumes_)[static_cast<int>(perf)] = db;
  }

 private:
  std::map<int, int32_t>* volumes_;
};

class SetupWindows : public ::testing::Test {
 protected:
  // The toolkit's classes are registered once per process.
  static void SetUpTestSuite() {
    skinReady = uitest::InitializeStandardSkin(GetModuleHandleA(nullptr));
  }
  static void TearDownTestSuite() { gui::GuiFreeFrameSkin(); }
  void SetUp() override {
    ASSERT_EQ(skinReady, 1);
    ASSERT_TRUE(env.ok);
    ASSERT_TRUE(shell::InitSound(std::make_unique<VolumeBackend>(&volumes), env.data));
    shell::UserProfile user;
    std::strcpy(user.name, "Zoe");
    ASSERT_TRUE(shell::SetCurrentUserProfile(&user));
    ASSERT_TRUE(platform::MakeDirectory(shell::GetPersonalitiesFolder()));
    for (const char* name : {"Ada", "Basil", "Cleo"})
      PutPersonality(name);
    ini = shell::GetSettingsIniPath();
  }
  void TearDown() override { shell::ShutdownSound(); }
  void PutPersonality(const char* name) {
    shell::PersonalityRecord r;
    std::strcpy(r.name, name);
    std::strcpy(r.picture, (std::string(name) + ".bmp").c_str());
    r.rating = 1200;
    r.playerOptions[8] = 6;  // the dictionary level word
    ASSERT_TRUE(shell::WritePersonalityFile(r));
  }
  bool IsPersonality(const std::string& name) const {
    return name == "Ada" || name == "Basil" || name == "Cleo";
  }
  int32_t Volume(shell::SoundPerformance perf) { return volumes[static_cast<int>(perf)]; }

  static inline int skinReady = 0;
  shelltest::ShellEnv env;
  shelltest::RecordingHost host;
  testsupport::RecordingSink sink;
  std::map<int, int32_t> volumes;
  std::string ini;
};

}  // namespace setuptest
