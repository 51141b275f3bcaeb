#include "scene/board_camera.h"

#include <cmath>

namespace scene {

void OrthoVolumeFor(int width, int height, float& volumeWidth, float& volumeHeight) {
  const float w = static_cast<float>(width > 0 ? width : 1);
  const float h = static_cast<float>(height > 0 ? height : 1);
  const float r = h / w;
  if (r > 0.749f && r < 0.801f) {
    volumeWidth = 150.0f, volumeHeight = 150.0f * r;
  } else if (r > 1.0f) {
    volumeWidth = 150.0f * w / h, volumeHeight = 150.0f;
  } else if (r == 1.0f) {
    volumeWidth = volumeHeight = 150.0f;
  } else {
    volumeWidth = 112.5f / r, volumeHeight = 112.5f;
  }
}

BoardCamera::BoardCamera() { Reset(); }

void BoardCamera::Reset() {
  SetViewParams({0, 0, -100}, {0, 0, 100});
  proj_ = Identity();
  ortho_ = false;
}

void BoardCamera::SetViewParams(const Vec3& eye, const Vec3& lookAt) {
  eye_ = eye;
  lookAt_ = lookAt;
  view_ = LookAtLH(eye, lookAt, {0, 1, 0});
}

void BoardCamera::SetProjParams(float fovY, float aspect, float zn, float zf) {
  proj_ = PerspectiveFovLH(fovY, aspect, zn, zf);
  ortho_ = false;
}

void BoardCamera::SetOrthoParams(int windowWidth, int windowHeight, float zn, float zf) {
  width_ = windowWidth > 0 ? windowWidth : 1;
  height_ = windowHeight > 0 ? windowHeight : 1;
  zn_ = zn, zf_ = zf;
  float w, h;
  OrthoVolumeFor(width_, height_, w, h);
  proj_ = OrthoLH(w, h, zn, zf);
  ortho_ = true;
}

void BoardCamera::SetWindow(int width, int height) {
  if (ortho_) {
    SetOrthoParams(width, height, zn_, zf_);
    return;
  }
  width_ = width > 0 ? width : 1;
  height_ = height > 0 ? height : 1;
}

Ray BoardCamera::ScreenRay(int x, int y) const {
  const float nx = 2.0f * static_cast<float>(x) / static_cast<float>(width_) - 1.0f;
  const float ny = 1.0f - 2.0f * static_cast<float>(y) / static_cast<float>(height_);
  const Vec3 v{nx / proj_.m[0][0], ny / proj_.m[1][1], 1.0f};
  Mat4 inv;
  Inverse(view_, inv);
  Ray ray;
  if (ortho_) {
    ray.origin = TransformCoord({v.x, v.y, zn_}, inv);
    ray.direction = Normalize(TransformNormal({0, 0, 1}, inv));
  } else {
    ray.origin = TranslationOf(inv);
    ray.direction = Normalize(TransformNormal(v, inv));
  }
  return ray;
}

void BoardCamera::ProjectToWindow(const Vec3& world, int& x, int& y) const {
  const Vec3 p = TransformCoord(world, Multiply(view_, proj_));
  x = static_cast<int>(std::lround((p.x + 1.0f) * 0.5f * static_cast<float>(width_)));
  y = static_cast<int>(std::lround((1.0f - p.y) * 0.5f * static_cast<float>(height_)));
}

}  // namespace scene
