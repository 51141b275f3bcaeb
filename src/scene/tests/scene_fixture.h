#pragma once
// A generated board model for the scene tests: flat quads for the board,
// rack and working area, small quads for the tile templates and buttons,
// in the model's own convention (+x to the left of the screen, +z towards
// the viewer, under a root turned half a turn about y).
#include <string>

#include "scene/board_scene.h"
#include "scene/mesh_frame.h"

namespace scenetest {

// A quad from (x0, y0) to (x1, y1) at depth z, two triangles.
inline scene::MeshFrame* Quad(const std::string& name, float x0, float y0, float x1, float y1,
                              float z = 0) {
  auto* f = new scene::MeshFrame(name);
  f->mesh = std::make_unique<scene::SceneMesh>(name + "_mesh");
  f->mesh->positions = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
  f->mesh->indices = {0, 1, 2, 0, 2, 3};
  f->mesh->ComputeBox();
  return f;
}

inline scene::Mat4 HalfTurnY() { return scene::Scaling(-1, 1, -1); }

// Board 15 x 15 cells of 100 model units, rack and working area 1 x 7.
inline scene::MeshFrame* BuildModel(bool withDownArrow = true) {
  auto* root = new scene::MeshFrame("CDXUTMeshFile_Root");
  root->SetLocal(HalfTurnY());
  root->AttachChild(Quad("Board", -750, -500, 750, 1000));
  root->AttachChild(Quad("Board_frame", -800, -550, 800, 1050, -20));
  root->AttachChild(Quad("Rack", -350, -1000, 350, -900));
  root->AttachChild(Quad("Rack_frame", -400, -1050, 400, -850, -20));
  root->AttachChild(Quad("workingarea", -1800, 900, -1100, 1000));
  root->AttachChild(Quad("workingarea_frame", -1850, 850, -1050, 1050, -20));
  const char* buttons[] = {"Shuffle", "Exchange", "pass",    "Cancel", "evaluate",
                           "play",    "trier",    "contest", "hint",   "submit"};
  const char* twins[] = {"Shuffle_selec",  "Exchange_selec", "pass_selec",   "Cancel_selec",
                         "evaluate_selec", "play_selec",     "trier_select", "contest_select",
                         "hint_select",    "submit_select"};
  for (int i = 0; i < 10; ++i) {
    const float y = 700 - 120.0f * i;
    root->AttachChild(Quad(buttons[i], -1700, y, -1200, y + 100, 5));
    root->AttachChild(Quad(twins[i], -1700, y, -1200, y + 100, 10));
  }
  for (char set : {'V', 'N', 'R'})
    for (char c = 'A'; c <= 'Z'; ++c)
      root->AttachChild(Quad(std::string{set, '_', c}, -45, -45, 45, 45, 5));
  root->AttachChild(Quad("BLANK", -45, -45, 45, 45, 5));
  root->AttachChild(Quad("blanc", -45, -45, 45, 45, 5));
  root->AttachChild(Quad("Noir", -45, -45, 45, 45, 5));
  root->AttachChild(Quad("ARROW_ACROSS", -45, -45, 45, 45, 5));
  root->AttachChild(Quad(withDownArrow ? "ARROW__DOWN" : "ARROW___DOWN", -45, -45, 45, 45, 5));
  return root;
}

}  // namespace scenetest
