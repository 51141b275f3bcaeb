#pragma once
// A program folder in a fresh temporary folder with its Data tree, an
// application context built on it, and a recording shell host.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/path.h"
#include "recording_sink.h"
#include "shell/app_context.h"
#include "shell/shell_host.h"
#include "shell/user_profile.h"
#include "temp_dir.h"

namespace shelltest {

// The program's own spelling of a folder: backslashes in both builds.
inline std::string Backslashed(std::string p) {
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

class RecordingHost : public shell::ShellHost {
 public:
  RecordingHost() : previous_(shell::SetShellHost(this)) {}
  ~RecordingHost() override { shell::SetShellHost(previous_); }

  void SetBusyCursor(bool busy) override { cursor.push_back(busy); }
  void PlaySoundFile(const char* name) override { sounds.push_back(name); }
  void GetDesktopSize(int* w, int* h) override {
    *w = width;
    *h = height;
  }
  int GetCurrentRoomId() override { return room; }
  void CloseProfileGames() override { ++gamesClosed; }
  int LoadPageLayout(const char* path) override {
    layouts.push_back(path);
    if (failLayouts > 0) {
      --failLayouts;
      return -1;
    }
    return platform::FileExists(path) ? 0 : -1;
  }
  void ProfileSelected(const shell::UserProfile& p) override { selected.push_back(p.name); }

  std::vector<bool> cursor;
  std::vector<std::string> sounds;
  std::vector<std::string> layouts;
  std::vector<std::string> selected;
  int width = 1024, height = 768, room = 1, gamesClosed = 0;
  int failLayouts = 0;  // the next n layout loads fail

 private:
  shell::ShellHost* previous_;
};

// <tmp>\tessarin.exe with <tmp>\Data and <tmp>\Data\Layouts holding the four
// default layouts; the context is destroyed with the object.
class ShellEnv {
 public:
  ShellEnv() {
    program = Backslashed(dir.path());
    data = program + "\\Data";
    platform::MakeDirectory(data.c_str());
    platform::MakeDirectory((data + "\\Layouts").c_str());
    for (const char* l : {"Default(1600x1200).LAY", "Default(1280x1024).LAY",
                          "Default(1024x768).LAY", "Default(800x600).LAY"})
      testsupport::WriteBytes(dir / (std::string("Data/Layouts/") + l), l);
    ok = shell::CreateAppContextAt(program + "\\tessarin.exe") && shell::AllocCurrentUserProfile();
  }
  ~ShellEnv() { shell::DestroyAppContext(); }

  std::string File(const std::string& rel) const { return program + "\\" + rel; }

  testsupport::TempDir dir;
  std::string program;
  std::string data;
  bool ok = false;
};

inline std::string ReadText(const std::string& path) { return testsupport::ReadBytes(path); }

}  // namespace shelltest
