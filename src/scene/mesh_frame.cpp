#include "scene/mesh_frame.h"

#include <cctype>

namespace scene {

namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if (x != y && tolower(x) != tolower(y)) return false;
  }
  return true;
}

}  // namespace

MeshFrame::MeshFrame(const std::string& frameName) : name_(frameName.substr(0, kMaxSceneName)) {}

MeshFrame::~MeshFrame() {
  if (parent_) parent_->DetachChild(this);
  while (firstChild_)
    delete firstChild_;  // each child unlinks itself
}

void MeshFrame::SetName(const std::string& frameName) {
  name_ = frameName.substr(0, kMaxSceneName);
}

MeshFrame* MeshFrame::Find(const std::string& frameName) {
  if (SameName(name_, frameName)) return this;
  for (MeshFrame* c = firstChild_; c; c = c->sibling_)
    if (MeshFrame* f = c->Find(frameName)) return f;
  return nullptr;
}

SceneMesh* MeshFrame::FindMesh(const std::string& meshName) {
  if (mesh && SameName(mesh->name, meshName)) return mesh.get();
  if (firstChild_)
    if (SceneMesh* m = firstChild_->FindMesh(meshName)) return m;
  return sibling_ ? sibling_->FindMesh(meshName) : nullptr;
}

// Only the subtree is searched: a frame without a mesh of its own must not
// answer with a neighbour's box.
SceneMesh* MeshFrame::FirstMesh() {
  if (mesh) return mesh.get();
  for (MeshFrame* c = firstChild_; c; c = c->sibling_)
    if (SceneMesh* m = c->FirstMesh()) return m;
  return nullptr;
}

const Mat4& MeshFrame::World() {
  if (worldDirty_) {
    world_ = parent_ ? Multiply(local_, parent_->World()) : local_;
    worldDirty_ = false;
  }
  return world_;
}

void MeshFrame::SetLocal(const Mat4& m) {
  local_ = m;
  MarkDirty();
}

bool MeshFrame::SetWorld(const Mat4& wanted) {
  if (!parent_) return false;
  Mat4 inv;
  Inverse(parent_->World(), inv);
  SetLocal(Multiply(wanted, inv));
  return true;
}

void MeshFrame::SetPosition(const Vec3& p) {
  SetTranslation(local_, p);
  MarkDirty();
}

void MeshFrame::MarkDirty() {
  worldDirty_ = true;
  for (MeshFrame* c = firstChild_; c; c = c->sibling_)
    c->MarkDirty();
}

void MeshFrame::AttachChild(MeshFrame* child) {
  if (!child || child == this || IsDirectChild(child)) return;
  if (child->parent_) child->parent_->DetachChild(child);
  child->sibling_ = firstChild_;
  firstChild_ = child;
  child->parent_ = this;
  child->MarkDirty();
}

void MeshFrame::DetachChild(MeshFrame* child) {
  for (MeshFrame** link = &firstChild_; *link; link = &(*link)->sibling_) {
    if (*link != child) continue;
    *link = child->sibling_;
    child->sibling_ = nullptr;
    child->parent_ = nullptr;
    child->MarkDirty();
    return;
  }
}

MeshFrame* MeshFrame::IsDirectChild(const MeshFrame* child) const {
  for (MeshFrame* c = firstChild_; c; c = c->sibling_)
    if (c == child) return c;
  return nullptr;
}

MeshFrame* MeshFrame::Clone() const {
  auto* copy = new MeshFrame(name_);
  if (mesh) copy->mesh = mesh->Clone();
  for (const MeshFrame* c = firstChild_; c; c = c->sibling_) {
    MeshFrame* cc = c->Clone();
    cc->SetLocal(c->local_);
    copy->AttachChild(cc);
  }
  return copy;
}

bool MeshFrame::WorldBox(Vec3& first, Vec3& second) {
  SceneMesh* m = FirstMesh();
  if (!m) return false;
  first = TransformCoord(m->boxMin, World());
  second = TransformCoord(m->boxMax, World());
  return true;
}

void MeshFrame::EnumerateMeshes(MeshVisitor visit, void* context) {
  if (mesh) visit(mesh.get(), context);
  if (firstChild_) firstChild_->EnumerateMeshes(visit, context);
  if (sibling_) sibling_->EnumerateMeshes(visit, context);
}

void MeshFrame::Collapse() { CollapseChildren(); }

// Post-order, so nested mesh-less frames fold all the way up. A moved child
// gets childLocal x frameLocal: its world transform stays what it was.
void MeshFrame::CollapseChildren() {
  for (MeshFrame* c = firstChild_; c;) {
    MeshFrame* next = c->sibling_;
    c->CollapseChildren();
    if (!c->mesh) {
      while (MeshFrame* g = c->firstChild_) {
        c->DetachChild(g);
        g->SetName(c->name_);
        g->SetLocal(Multiply(g->local_, c->local_));
        AttachChild(g);
      }
      delete c;
    }
    c = next;
  }
}

}  // namespace scene
