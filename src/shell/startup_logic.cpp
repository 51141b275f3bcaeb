#include "shell/startup_logic.h"

#include "platform/ini.h"

namespace shell {

void ApplySystemSwitches(SystemParams& p, SavedSystemSettings* saved) {
  if (!saved || saved->applied) return;
  SavedSystemSettings s;
  s.applied = true;
  s.screenSaverWasActive = p.Get(kSpiGetScreenSaveActive) != 0;
  if (s.screenSaverWasActive) p.Set(kSpiSetScreenSaveActive, 0, kSpifSendChange);
  s.beepWasOn = p.Get(kSpiGetBeep) != 0;
  if (s.beepWasOn) p.Set(kSpiSetBeep, 0, kSpifSendChange);
  s.dragWasOff = p.Get(kSpiGetDragFullWindows) == 0;
  if (s.dragWasOff) p.Set(kSpiSetDragFullWindows, 1, kSpifSendChange);
  s.smoothingWasOn = p.Get(kSpiGetFontSmoothing) != 0;
  if (s.smoothingWasOn) {
    s.smoothingType = p.Get(kSpiGetFontSmoothingType);
    p.Set(kSpiSetFontSmoothing, 0, kSpifSendChange);
  }
  *saved = s;
}

void RestoreSystemSwitches(SystemParams& p, SavedSystemSettings* saved) {
  if (!saved || !saved->applied) return;
  if (saved->screenSaverWasActive) p.Set(kSpiSetScreenSaveActive, 1, kSpifSendChange);
  if (saved->beepWasOn) p.Set(kSpiSetBeep, 1, kSpifSendChange);
  if (saved->dragWasOff) p.Set(kSpiSetDragFullWindows, 0, kSpifSendChange);
  if (saved->smoothingWasOn) {
    p.Set(kSpiSetFontSmoothing, 1, kSpifSendChange);
    p.Set(kSpiSetFontSmoothingType, saved->smoothingType, kSpifUpdateAndSend);
  }
  *saved = SavedSystemSettings();
}

StartupDebugOptions ReadStartupDebugOptions(const char* ini) {
  StartupDebugOptions o;
  if (!ini || !*ini) return o;
  o.autoTest = platform::IniGetInt("debug", "AutoTest", 0, ini) != 0;
  if (o.autoTest) {
    int ms = platform::IniGetInt("debug", "SplashMs", 0, ini);
    o.splashMs = ms < 0 ? 0 : ms > kSplashPictureMs ? kSplashPictureMs : ms;
  }
  o.logPath = platform::IniGet("debug", "Log", "", ini, 260);
  int w = platform::IniGetInt("debug", "DesktopWidth", 0, ini);
  int h = platform::IniGetInt("debug", "DesktopHeight", 0, ini);
  // Both or neither: half an override would mix two desktops.
  if (w > 0 && h > 0) {
    o.desktopWidth = w;
    o.desktopHeight = h;
  }
  return o;
}

int DefaultButtonFor(uint32_t flags) {
  switch (flags & 0xF) {
    case 2:
      return 3;  // Abort
    case 3:
    case 4:
      return 6;  // Yes
    case 5:
      return 4;  // Retry
    case 15:
      return 2;  // Cancel
    default:
      return 1;  // OK
  }
}

}  // namespace shell
