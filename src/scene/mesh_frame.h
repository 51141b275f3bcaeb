#pragma once
// A node of a model's frame tree: a name, a local transform, an optional
// mesh, a visibility switch that hides the whole subtree, and a cached world
// transform recomputed when an ancestor moved. Children are owned by their
// parent and kept in a singly linked list; attaching puts a child at its head.
#include <memory>
#include <string>

#include "scene/scene_math.h"
#include "scene/scene_mesh.h"

namespace scene {

class MeshFrame {
 public:
  explicit MeshFrame(const std::string& frameName);
  // Detaches itself from its parent, then deletes its children and mesh.
  ~MeshFrame();
  MeshFrame(const MeshFrame&) = delete;
  MeshFrame& operator=(const MeshFrame&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& frameName);

  // Case-insensitive on the whole name: this frame, then its subtree depth
  // first in list order.
  MeshFrame* Find(const std::string& frameName);
  // Case-insensitive on mesh names: this mesh, the first child's subtree,
  // then the next sibling's.
  SceneMesh* FindMesh(const std::string& meshName);
  // This frame's mesh, else the first one in its subtree.
  SceneMesh* FirstMesh();

  const Mat4& Local() const { return local_; }
  const Mat4& World();
  void SetLocal(const Mat4& m);
  void ResetLocal() { SetLocal(Identity()); }
  // Local := wanted x inverse(parent world); false without a parent.
  bool SetWorld(const Mat4& wanted);
  // Moves the frame's translation only (rotation rows kept).
  void SetPosition(const Vec3& p);

  void AttachChild(MeshFrame* child);
  void DetachChild(MeshFrame* child);
  MeshFrame* IsDirectChild(const MeshFrame* child) const;
  void MarkDirty();

  // A copy of the subtree (identity local on the copy's root; children in
  // reverse list order). The caller owns it.
  MeshFrame* Clone() const;

  // The first mesh's local box corners through the world transform (two
  // corners only); false when the subtree has no mesh.
  bool WorldBox(Vec3& first, Vec3& second);

  using MeshVisitor = void (*)(SceneMesh* mesh, void* context);
  void EnumerateMeshes(MeshVisitor visit, void* context);

  // Folds every mesh-less frame under the root into its parent: its children
  // move up, take its name and keep their world transforms; an emptied frame
  // is deleted.
  void Collapse();

  MeshFrame* Parent() const { return parent_; }
  MeshFrame* FirstChild() const { return firstChild_; }
  MeshFrame* NextSibling() const { return sibling_; }

  bool visible = true;
  std::unique_ptr<SceneMesh> mesh;

 private:
  void CollapseChildren();

  std::string name_;
  bool worldDirty_ = true;
  Mat4 world_ = Identity();
  Mat4 local_ = Identity();
  MeshFrame* parent_ = nullptr;
  MeshFrame* sibling_ = nullptr;
  MeshFrame* firstChild_ = nullptr;
};

}  // namespace scene
