#pragma once
// The decisions of start-up and shut-down that need no window: the desktop
// check, the welcome prompt, the system settings switched for the run and
// put back at exit, and the program ini's test switches.
#include <cstdint>
#include <string>

namespace shell {

// String-table ids of start-up.
enum StartupStringId : uint32_t {
  kStrMainTitle = 1850,
  kStrDisplayCommand = 1942,
  kStrAlreadyRunning = 1947,
  kStrFatalLoading = 2132,
  kStrWelcomeFirstTime = 3034,
  kStrWelcomeChooseProfile = 3104,
  kStrDesktopTooSmall = 4360,
};

// Fatal start-up notices: exclamation, system-modal, foreground, topmost.
constexpr uint32_t kFatalMessageFlags = 0x51030;
constexpr int kMinDesktopWidth = 800;
constexpr int kMinDesktopHeight = 600;

// The desktop rectangle's right and bottom edges.
inline bool DesktopFits(int right, int bottom) {
  return right >= kMinDesktopWidth && bottom >= kMinDesktopHeight;
}

// What start-up asks when no user is current, and what it posts to the
// lobby for the answer: Cancel takes the default profile, anything else
// opens the profile choice.
constexpr uint32_t kMsgTakeDefaultProfile = 1000;
constexpr uint32_t kMsgChooseProfile = 0x8104;
inline uint32_t WelcomePromptText(bool profilesExist) {
  return profilesExist ? kStrWelcomeChooseProfile : kStrWelcomeFirstTime;
}
inline uint32_t WelcomeAnswerMessage(int answer) {
  return answer == 2 ? kMsgTakeDefaultProfile : kMsgChooseProfile;
}

// The system parameters start-up switches (the Win32 action codes).
enum SystemParam : uint32_t {
  kSpiGetBeep = 0x0001,
  kSpiSetBeep = 0x0002,
  kSpiGetScreenSaveActive = 0x0010,
  kSpiSetScreenSaveActive = 0x0011,
  kSpiSetDragFullWindows = 0x0025,
  kSpiGetDragFullWindows = 0x0026,
  kSpiGetFontSmoothing = 0x004A,
  kSpiSetFontSmoothing = 0x004B,
  kSpiGetFontSmoothingType = 0x200A,
  kSpiSetFontSmoothingType = 0x200B,
};
constexpr uint32_t kSpifSendChange = 2;
constexpr uint32_t kSpifUpdateAndSend = 3;

class SystemParams {
 public:
  virtual ~SystemParams() = default;
  virtual uint32_t Get(uint32_t action) = 0;
  virtual void Set(uint32_t action, uint32_t value, uint32_t winIni) = 0;
};

// What start-up found and changed; only what it changed is put back.
struct SavedSystemSettings {
  bool applied = false;
  bool screenSaverWasActive = false;
  bool beepWasOn = false;
  bool dragWasOff = false;
  bool smoothingWasOn = false;
  uint32_t smoothingType = 0;
};

// Screen saver off, warning beep off, full-window drag on, font smoothing
// off, in this order; a second call while applied changes nothing.
void ApplySystemSwitches(SystemParams& params, SavedSystemSettings* saved);
// The four restores in the same order, once.
void RestoreSystemSwitches(SystemParams& params, SavedSystemSettings* saved);

// The program ini's test switches (section "debug"): AutoTest skips the
// splash's pauses and answers every message box with its first button;
// Log names a file that receives the notices shown and start-up's steps;
// DesktopWidth and DesktopHeight stand in for the desktop's size; with
// AutoTest, SplashMs is how long each splash picture stays (default 0).
constexpr int kSplashPictureMs = 2000;
struct StartupDebugOptions {
  bool autoTest = false;
  int splashMs = kSplashPictureMs;
  std::string logPath;
  int desktopWidth = 0;  // 0: the real desktop
  int desktopHeight = 0;
};
StartupDebugOptions ReadStartupDebugOptions(const char* programIni);

// The button a message box's flags make its first (default) one.
int DefaultButtonFor(uint32_t flags);

}  // namespace shell
