#pragma once
// Picking: the ray through a window point against the triangles of the
// visible frames' meshes. Hits go into one fixed buffer of 128 records,
// reused by every pick, and are sorted by distance.
#include <cstdint>

#include "scene/board_camera.h"
#include "scene/mesh_frame.h"

namespace scene {

struct PickHit {
  Vec3 point;
  uint32_t face = 0;
  SceneMesh* mesh = nullptr;
  float u = 0, distance = 0, v = 0;
  MeshFrame* frame = nullptr;
};

constexpr int kMaxPickHits = 128;

// Both faces count; an edge-on triangle (determinant below 0.0001) is missed.
bool RayHitsTriangle(const Ray& ray, const Vec3& a, const Vec3& b, const Vec3& c, float& distance,
                     float& u, float& v);

// The frame of the nearest hit under the point, or null. Hidden frames and
// their subtrees are skipped.
MeshFrame* PickFrameAt(const BoardCamera& camera, MeshFrame* root, int x, int y);
// Only the mesh of the frame (or of its first descendant that has one).
bool HitPointOnFrame(const BoardCamera& camera, MeshFrame* frame, int x, int y, Vec3& point);

// The hits of the last pick, nearest first.
int PickHitCount();
const PickHit& PickHitAt(int i);

}  // namespace scene
