#pragma once
// The board's camera: view and projection matrices, the viewport in window
// pixels, and the ray through a window point (orthographic: from the near
// plane along the view axis; perspective: from the eye).
#include "scene/scene_math.h"

namespace scene {

struct Ray {
  Vec3 origin, direction;
};

// The orthographic view volume for a window of this many pixels: 150 units
// across for the 4:3 and 5:4 shapes, 150 units on the longer side of square
// and tall windows, 112.5 units high for wider ones.
void OrthoVolumeFor(int width, int height, float& volumeWidth, float& volumeHeight);

class BoardCamera {
 public:
  BoardCamera();
  virtual ~BoardCamera() = default;

  virtual void FrameMove(float dt) { (void)dt; }
  virtual void Reset();
  virtual void SetViewParams(const Vec3& eye, const Vec3& lookAt);
  virtual void SetProjParams(float fovY, float aspect, float zn, float zf);
  // The volume from the window size (OrthoVolumeFor); sets the ortho flag.
  virtual void SetOrthoParams(int windowWidth, int windowHeight, float zn, float zf);
  virtual Ray ScreenRay(int x, int y) const;
  // The window size; an orthographic projection follows the new shape.
  virtual void SetWindow(int width, int height);

  // A world point to window pixels, rounded.
  void ProjectToWindow(const Vec3& world, int& x, int& y) const;

  const Mat4& View() const { return view_; }
  const Mat4& Projection() const { return proj_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsOrtho() const { return ortho_; }

 private:
  Vec3 eye_, lookAt_;
  Mat4 view_, proj_;
  int width_ = 1, height_ = 1;
  float zn_ = 0.1f, zf_ = 5000.0f;
  bool ortho_ = false;
};

}  // namespace scene
