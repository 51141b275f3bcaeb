#include "game/ui_port.h"

#include "game/net_port.h"

namespace {
GameUiPort g_defaultUi;
GameUiPort* g_ui = &g_defaultUi;
GameNetPort g_defaultNet;
GameNetPort* g_net = &g_defaultNet;
}  // namespace

GameUiPort* SetGameUiPort(GameUiPort* port) {
  GameUiPort* previous = g_ui;
  g_ui = port ? port : &g_defaultUi;
  return previous == &g_defaultUi ? nullptr : previous;
}

GameUiPort& GetGameUiPort() { return *g_ui; }

GameNetPort* SetGameNetPort(GameNetPort* port) {
  GameNetPort* previous = g_net;
  g_net = port ? port : &g_defaultNet;
  return previous == &g_defaultNet ? nullptr : previous;
}

GameNetPort& GetGameNetPort() { return *g_net; }
