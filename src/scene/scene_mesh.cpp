#include "scene/scene_mesh.h"

#include <algorithm>

namespace scene {

SceneMesh::SceneMesh(const std::string& meshName) : name(meshName.substr(0, kMaxSceneName)) {}

void SceneMesh::ComputeBox() {
  vertexCount = static_cast<uint32_t>(positions.size());
  faceCount = static_cast<uint32_t>(indices.size() / 3);
  if (positions.empty()) {
    boxMin = boxMax = Vec3{};
    return;
  }
  boxMin = boxMax = positions[0];
  for (const Vec3& p : positions) {
    boxMin = {std::min(boxMin.x, p.x), std::min(boxMin.y, p.y), std::min(boxMin.z, p.z)};
    boxMax = {std::max(boxMax.x, p.x), std::max(boxMax.y, p.y), std::max(boxMax.z, p.z)};
  }
}

std::unique_ptr<SceneMesh> SceneMesh::Clone() const {
  auto c = std::make_unique<SceneMesh>(*this);
  c->name = (name + "_Clone").substr(0, kMaxSceneName);
  return c;
}

}  // namespace scene
