#pragma once
// Vectors and 4x4 matrices in the row-vector convention of the device's
// fixed-function pipeline: a point p is transformed as p x M, so M1 x M2
// applies M1 first. Translation lives in the fourth row (m[3][0..2]).
#include <cstdint>

namespace scene {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

struct Mat4 {
  float m[4][4] = {};
};

inline Vec3 Add(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 Scale(const Vec3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(const Vec3& a);
float Distance(const Vec3& a, const Vec3& b);
Vec3 Normalize(const Vec3& a);

Mat4 Identity();
Mat4 Multiply(const Mat4& a, const Mat4& b);  // a first, then b
// False (and `out` the identity) for a singular matrix.
bool Inverse(const Mat4& in, Mat4& out);
Mat4 Scaling(float sx, float sy, float sz);
Mat4 Translation(float x, float y, float z);
Mat4 RotationX(float radians);
Mat4 LookAtLH(const Vec3& eye, const Vec3& at, const Vec3& up);
Mat4 OrthoLH(float width, float height, float zn, float zf);
Mat4 PerspectiveFovLH(float fovY, float aspect, float zn, float zf);
bool IsIdentity(const Mat4& a);

// A point (w = 1) through the matrix, divided by the resulting w.
Vec3 TransformCoord(const Vec3& p, const Mat4& m);
// A direction (w = 0): rotation and scale only.
Vec3 TransformNormal(const Vec3& v, const Mat4& m);
// A point through the inverse of the matrix (a world point into a frame's
// space); the point itself when the matrix is singular.
Vec3 TransformByInverse(const Vec3& p, const Mat4& m);

inline Vec3 TranslationOf(const Mat4& m) { return {m.m[3][0], m.m[3][1], m.m[3][2]}; }
// Keeps the rotation rows, replaces the translation.
inline void SetTranslation(Mat4& m, const Vec3& t) {
  m.m[3][0] = t.x;
  m.m[3][1] = t.y;
  m.m[3][2] = t.z;
}

}  // namespace scene
