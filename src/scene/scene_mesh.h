#pragma once
// The drawable of a scene frame. The portable side keeps what picking, the
// tile layout and bounding boxes need (vertex positions, triangle indices,
// the local box, materials and texture names); the device side hangs its
// mesh and textures off shared handles, so a clone shares them and the last
// owner releases them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/scene_math.h"

namespace scene {

constexpr size_t kMaxSceneName = 511;    // characters kept of a frame or mesh name
constexpr size_t kMaxTextureName = 259;  // characters kept of a texture file name

struct Colour {
  float r = 0, g = 0, b = 0, a = 0;
};

struct MeshMaterial {
  Colour diffuse, ambient, specular, emissive;
  float power = 0;
  std::string textureName;        // as the model names it; "" for none
  std::shared_ptr<void> texture;  // the device texture, shared with the cache
};

struct SceneMesh {
  explicit SceneMesh(const std::string& meshName);

  std::string name;
  std::vector<Vec3> positions;        // one per vertex
  std::vector<uint16_t> indices;      // three per face
  std::vector<uint32_t> faceSubsets;  // the material of each face
  uint32_t vertexCount = 0, faceCount = 0, bytesPerVertex = 0;
  std::vector<MeshMaterial> materials;
  bool useMaterials = true;
  Vec3 boxMin, boxMax;           // local box over the vertex positions
  std::shared_ptr<void> device;  // the device mesh, shared by clones

  // The box from the positions (the first vertex sets both corners); counts
  // from the arrays.
  void ComputeBox();
  // Named "<name>_Clone"; shares the device mesh and textures.
  std::unique_ptr<SceneMesh> Clone() const;
};

}  // namespace scene
