#include "scene/scene_math.h"

#include <cmath>

namespace scene {

float Length(const Vec3& a) { return std::sqrt(Dot(a, a)); }

float Distance(const Vec3& a, const Vec3& b) { return Length(Sub(a, b)); }

Vec3 Normalize(const Vec3& a) {
  const float n = Length(a);
  return n > 0 ? Scale(a, 1.0f / n) : a;
}

Mat4 Identity() {
  Mat4 r;
  for (int i = 0; i < 4; ++i)
    r.m[i][i] = 1;
  return r;
}

Mat4 Multiply(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k)
        s += a.m[i][k] * b.m[k][j];
      r.m[i][j] = s;
    }
  return r;
}

// Gauss-Jordan elimination with partial pivoting, in double precision.
bool Inverse(const Mat4& in, Mat4& out) {
  double a[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      a[i][j] = in.m[i][j];
      a[i][j + 4] = i == j ? 1 : 0;
    }
  for (int c = 0; c < 4; ++c) {
    int p = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
    if (std::fabs(a[p][c]) < 1e-12) {
      out = Identity();
      return false;
    }
    if (p != c)
      for (int j = 0; j < 8; ++j)
        std::swap(a[p][j], a[c][j]);
    const double d = a[c][c];
    for (int j = 0; j < 8; ++j)
      a[c][j] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      const double f = a[r][c];
      for (int j = 0; j < 8; ++j)
        a[r][j] -= f * a[c][j];
    }
  }
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      out.m[i][j] = static_cast<float>(a[i][j + 4]);
  return true;
}

Mat4 Scaling(float sx, float sy, float sz) {
  Mat4 r = Identity();
  r.m[0][0] = sx;
  r.m[1][1] = sy;
  r.m[2][2] = sz;
  return r;
}

Mat4 Translation(float x, float y, float z) {
  Mat4 r = Identity();
  SetTranslation(r, {x, y, z});
  return r;
}

Mat4 RotationX(float radians) {
  Mat4 r = Identity();
  const float c = std::cos(radians), s = std::sin(radians);
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  return r;
}

Mat4 LookAtLH(const Vec3& eye, const Vec3& at, const Vec3& up) {
  const Vec3 z = Normalize(Sub(at, eye));
  const Vec3 x = Normalize(Cross(up, z));
  const Vec3 y = Cross(z, x);
  Mat4 r = Identity();
  r.m[0][0] = x.x, r.m[1][0] = x.y, r.m[2][0] = x.z;
  r.m[0][1] = y.x, r.m[1][1] = y.y, r.m[2][1] = y.z;
  r.m[0][2] = z.x, r.m[1][2] = z.y, r.m[2][2] = z.z;
  r.m[3][0] = -Dot(x, eye);
  r.m[3][1] = -Dot(y, eye);
  r.m[3][2] = -Dot(z, eye);
  return r;
}

Mat4 OrthoLH(float width, float height, float zn, float zf) {
  Mat4 r = Identity();
  r.m[0][0] = 2 / width;
  r.m[1][1] = 2 / height;
  r.m[2][2] = 1 / (zf - zn);
  r.m[3][2] = zn / (zn - zf);
  return r;
}

Mat4 PerspectiveFovLH(float fovY, float aspect, float zn, float zf) {
  Mat4 r;
  const float ys = 1 / std::tan(fovY / 2);
  r.m[0][0] = ys / aspect;
  r.m[1][1] = ys;
  r.m[2][2] = zf / (zf - zn);
  r.m[2][3] = 1;
  r.m[3][2] = -zn * zf / (zf - zn);
  return r;
}

bool IsIdentity(const Mat4& a) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (a.m[i][j] != (i == j ? 1.0f : 0.0f)) return false;
  return true;
}

Vec3 TransformCoord(const Vec3& p, const Mat4& m) {
  float o[4];
  for (int j = 0; j < 4; ++j)
    o[j] = p.x * m.m[0][j] + p.y * m.m[1][j] + p.z * m.m[2][j] + m.m[3][j];
  const float w = o[3] != 0 ? o[3] : 1;
  return {o[0] / w, o[1] / w, o[2] / w};
}

Vec3 TransformNormal(const Vec3& v, const Mat4& m) {
  return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
          v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
          v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

Vec3 TransformByInverse(const Vec3& p, const Mat4& m) {
  Mat4 inv;
  if (!Inverse(m, inv)) return p;
  return TransformCoord(p, inv);
}

}  // namespace scene
