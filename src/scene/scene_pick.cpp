#include "scene/scene_pick.h"

#include <algorithm>

namespace scene {

namespace {

PickHit g_hits[kMaxPickHits];
int g_hitCount = 0;

// Appends only hits nearer than the first record, so a pick allocates
// nothing and the nearest hit survives a full buffer.
void TestMesh(const Ray& ray, MeshFrame* frame, SceneMesh* mesh) {
  const Mat4& world = frame->World();
  const size_t n = mesh->positions.size();
  for (size_t f = 0; f + 2 < mesh->indices.size() && g_hitCount < kMaxPickHits; f += 3) {
    const uint16_t i0 = mesh->indices[f], i1 = mesh->indices[f + 1], i2 = mesh->indices[f + 2];
    if (i0 >= n || i1 >= n || i2 >= n) continue;
    const Vec3 a = TransformCoord(mesh->positions[i0], world);
    const Vec3 b = TransformCoord(mesh->positions[i1], world);
    const Vec3 c = TransformCoord(mesh->positions[i2], world);
    float d, u, v;
    if (!RayHitsTriangle(ray, a, b, c, d, u, v)) continue;
    if (g_hitCount > 0 && d >= g_hits[0].distance) continue;
    PickHit& h = g_hits[g_hitCount++];
    h.point = Add(a, Add(Scale(Sub(b, a), u), Scale(Sub(c, a), v)));
    h.face = static_cast<uint32_t>(f / 3);
    h.mesh = mesh;
    h.u = u, h.v = v, h.distance = d;
    h.frame = frame;
  }
}

void Walk(const Ray& ray, MeshFrame* frame) {
  if (!frame->visible) return;
  for (MeshFrame* c = frame->FirstChild(); c; c = c->NextSibling())
    Walk(ray, c);
  if (frame->mesh) TestMesh(ray, frame, frame->mesh.get());
}

MeshFrame* FirstMeshFrame(MeshFrame* frame) {
  if (frame->mesh) return frame;
  for (MeshFrame* c = frame->FirstChild(); c; c = c->NextSibling())
    if (MeshFrame* f = FirstMeshFrame(c)) return f;
  return nullptr;
}

void SortHits() {
  std::sort(g_hits, g_hits + g_hitCount,
            [](const PickHit& a, const PickHit& b) { return a.distance < b.distance; });
}

}  // namespace

bool RayHitsTriangle(const Ray& ray, const Vec3& a, const Vec3& b, const Vec3& c, float& distance,
                     float& u, float& v) {
  const Vec3 e1 = Sub(b, a), e2 = Sub(c, a);
  const Vec3 p = Cross(ray.direction, e2);
  float det = Dot(e1, p);
  Vec3 t = Sub(ray.origin, a);
  if (det < 0) {
    t = Sub(a, ray.origin);
    det = -det;
  }
  if (det < 0.0001f) return false;
  u = Dot(t, p);
  if (u < 0 || u > det) return false;
  const Vec3 q = Cross(t, e1);
  v = Dot(ray.direction, q);
  if (v < 0 || u + v > det) return false;
  distance = Dot(e2, q);
  const float inv = 1.0f / det;
  distance *= inv, u *= inv, v *= inv;
  return true;
}

MeshFrame* PickFrameAt(const BoardCamera& camera, MeshFrame* root, int x, int y) {
  g_hitCount = 0;
  if (!root) return nullptr;
  Walk(camera.ScreenRay(x, y), root);
  if (g_hitCount == 0) return nullptr;
  SortHits();
  return g_hits[0].frame;
}

bool HitPointOnFrame(const BoardCamera& camera, MeshFrame* frame, int x, int y, Vec3& point) {
  g_hitCount = 0;
  MeshFrame* owner = frame ? FirstMeshFrame(frame) : nullptr;
  if (!owner) return false;
  TestMesh(camera.ScreenRay(x, y), owner, owner->mesh.get());
  if (g_hitCount == 0) return false;
  SortHits();
  point = g_hits[0].point;
  return true;
}

int PickHitCount() { return g_hitCount; }
const PickHit& PickHitAt(int i) { return g_hits[i]; }

}  // namespace scene
