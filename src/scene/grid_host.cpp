#include "scene/grid_host.h"

#include "shell/app_context.h"

namespace scene {

namespace {

GridHost g_defaultHost;
GridHost* g_host = nullptr;
SceneGrids g_grids;

void* FirstGrid() { return g_grids.board; }

}  // namespace

GridHost* SetGridHost(GridHost* host) {
  GridHost* old = g_host;
  g_host = host;
  return old;
}

GridHost& GetGridHost() { return g_host ? *g_host : g_defaultHost; }

void SetCurrentGrids(const SceneGrids& grids) {
  g_grids = grids;
  shell::SetBoardViewFirstGridHook(&FirstGrid);
}

const SceneGrids& CurrentGrids() { return g_grids; }

}  // namespace scene
