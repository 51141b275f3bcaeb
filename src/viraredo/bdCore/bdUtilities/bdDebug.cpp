#include "bdCore/bdUtilities/bdDebug.h"

namespace {
bdDebugOutputHandler g_output = nullptr;
bdDebugStopHandler g_stop = nullptr;
}  // namespace

void bdDebugOutput(const char* text) {
  if (text == nullptr) return;
  if (g_output != nullptr) {
    g_output(text);
  } else {
    bdPlatformDebugOutput(text);
  }
}

void bdDebugStop() {
  if (g_stop != nullptr) {
    g_stop();
  } else {
    bdPlatformDebugStop();
  }
}

void bdSetDebugHandlers(bdDebugOutputHandler output, bdDebugStopHandler stop) {
  g_output = output;
  g_stop = stop;
}
