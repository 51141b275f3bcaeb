#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scene/board_scene.h"
#include "scene/mesh_frame.h"
#include "scene/scene_math.h"
#include "scene/scene_pick.h"
#include "scene_fixture.h"

using namespace scene;
using scenetest::Quad;

namespace {

void ExpectNear(const Vec3& a, const Vec3& b, float eps = 1e-3f) {
  EXPECT_NEAR(a.x, b.x, eps);
  EXPECT_NEAR(a.y, b.y, eps);
  EXPECT_NEAR(a.z, b.z, eps);
}

TEST(SceneMath, InverseUndoesRotationScaleAndTranslation) {
  const Mat4 m = Multiply(Multiply(Scaling(2, 3, 4), RotationX(0.7f)), Translation(5, -6, 7));
  Mat4 inv;
  ASSERT_TRUE(Inverse(m, inv));
  const Vec3 p{1.5f, -2, 3};
  ExpectNear(TransformCoord(TransformCoord(p, m), inv), p);
  ExpectNear(TransformByInverse(TransformCoord(p, m), m), p);
  EXPECT_FALSE(Inverse(Scaling(1, 0, 1), inv));
  EXPECT_TRUE(IsIdentity(inv));
}

TEST(SceneMath, OrthoVolumeByWindowShape) {
  struct Case {
    int w, h;
    float vw, vh;
  } cases[] = {{800, 600, 150, 112.5f},
               {1280, 1024, 150, 120},
               {600, 800, 112.5f, 150},
               {500, 500, 150, 150},
               {1600, 900, 200, 112.5f}};
  for (const Case& c : cases) {
    float vw, vh;
    OrthoVolumeFor(c.w, c.h, vw, vh);
    EXPECT_NEAR(vw, c.vw, 1e-3) << c.w << "x" << c.h;
    EXPECT_NEAR(vh, c.vh, 1e-3) << c.w << "x" << c.h;
  }
}

TEST(BoardCameraTest, RayThroughPixelProjectsBackToIt) {
  for (bool ortho : {true, false}) {
    BoardCamera cam;
    if (ortho)
      cam.SetOrthoParams(800, 600, 0.1f, 5000);
    else {
      cam.SetProjParams(0.8f, 800.0f / 600.0f, 0.1f, 5000);
      cam.SetWindow(800, 600);
    }
    for (auto [x, y] : {std::pair{0, 0}, {400, 300}, {799, 13}, {123, 456}}) {
      const Ray r = cam.ScreenRay(x, y);
      int px, py;
      cam.ProjectToWindow(Add(r.origin, Scale(r.direction, 150)), px, py);
      EXPECT_EQ(px, x) << ortho;
      EXPECT_EQ(py, y) << ortho;
    }
  }
}

TEST(MeshFrameTest, NamesAreCutAndFoundWithoutRegardToCase) {
  MeshFrame root("root");
  root.AttachChild(new MeshFrame(std::string(600, 'n')));
  MeshFrame* b = Quad("Board", 0, 0, 1, 1);
  root.AttachChild(b);
  EXPECT_EQ(root.Find(std::string(511, 'N'))->Name().size(), 511u);
  EXPECT_EQ(root.Find("bOARD"), b);
  EXPECT_EQ(root.Find("Boar"), nullptr);
  EXPECT_EQ(root.FindMesh("board_MESH"), b->mesh.get());
}

TEST(MeshFrameTest, WorldFollowsParentAndReparenting) {
  MeshFrame root("root"), other("other");
  root.SetLocal(Translation(10, 0, 0));
  other.SetLocal(Translation(0, 100, 0));
  auto* child = new MeshFrame("child");
  child->SetLocal(Translation(1, 2, 3));
  root.AttachChild(child);
  ExpectNear(TranslationOf(child->World()), {11, 2, 3});
  root.SetLocal(Translation(20, 0, 0));
  ExpectNear(TranslationOf(child->World()), {21, 2, 3});
  other.AttachChild(child);
  EXPECT_EQ(root.IsDirectChild(child), nullptr);
  ExpectNear(TranslationOf(child->Local()), {1, 2, 3});
  ExpectNear(TranslationOf(child->World()), {1, 102, 3});
  ASSERT_TRUE(child->SetWorld(Translation(5, 5, 5)));
  ExpectNear(TranslationOf(child->World()), {5, 5, 5});
}

// Collapsing keeps every mesh where it was on screen, however the folded
// frame was turned and moved.
TEST(MeshFrameTest, CollapseKeepsWorldTransformsAndRenamesChildren) {
  MeshFrame root("root");
  auto* group = new MeshFrame("Buttons");
  group->SetLocal(Multiply(RotationX(0.5f), Translation(3, 4, 5)));
  root.AttachChild(group);
  MeshFrame* a = Quad("a", 0, 0, 1, 1);
  MeshFrame* b = Quad("b", 0, 0, 1, 1);
  a->SetLocal(Multiply(RotationX(1.1f), Translation(1, 0, 0)));
  b->SetLocal(Translation(0, 2, 0));
  group->AttachChild(a);
  group->AttachChild(b);
  const Mat4 wa = a->World(), wb = b->World();
  root.Collapse();
  EXPECT_EQ(root.Find("Buttons") == a || root.Find("Buttons") == b, true);
  EXPECT_EQ(a->Parent(), &root);
  EXPECT_EQ(b->Parent(), &root);
  EXPECT_EQ(a->Name(), "Buttons");
  EXPECT_EQ(b->Name(), "Buttons");
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      EXPECT_NEAR(a->World().m[i][j], wa.m[i][j], 1e-4);
      EXPECT_NEAR(b->World().m[i][j], wb.m[i][j], 1e-4);
    }
}

TEST(MeshFrameTest, CloneSharesDeviceDataAndOutlivesNothing) {
  MeshFrame* src = Quad("N_A", -1, -1, 1, 1);
  src->mesh->device = std::make_shared<int>(7);
  src->AttachChild(Quad("x", 0, 0, 1, 1));
  src->AttachChild(Quad("y", 0, 0, 1, 1));
  src->SetLocal(Translation(9, 9, 9));
  MeshFrame* copy = src->Clone();
  EXPECT_EQ(copy->mesh->name, "N_A_mesh_Clone");
  EXPECT_TRUE(IsIdentity(copy->Local()));
  EXPECT_EQ(copy->mesh->device.get(), src->mesh->device.get());
  EXPECT_EQ(copy->FirstChild()->Name(), "x");  // reverse order
  delete copy;
  EXPECT_EQ(*static_cast<int*>(src->mesh->device.get()), 7);
  delete src;
}

TEST(ScenePick, TriangleHitsAndMisses) {
  const Vec3 a{0, 0, 0}, b{1, 0, 0}, c{0, 1, 0};
  float d, u, v;
  struct Case {
    Ray ray;
    bool hit;
  } cases[] = {
      {{{0.2f, 0.2f, -5}, {0, 0, 1}}, true},   // front face
      {{{0.2f, 0.2f, 5}, {0, 0, -1}}, true},   // back face counts too
      {{{0.8f, 0.8f, -5}, {0, 0, 1}}, false},  // outside the triangle
      {{{0.2f, -5, 0}, {0, 1, 0}}, false},     // edge-on
  };
  for (const Case& k : cases)
    EXPECT_EQ(RayHitsTriangle(k.ray, a, b, c, d, u, v), k.hit);
  ASSERT_TRUE(RayHitsTriangle(cases[0].ray, a, b, c, d, u, v));
  EXPECT_NEAR(d, 5, 1e-5);
}

class BoardSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    AdoptBoardScene(scenetest::BuildModel(), true);
    InitBoardCamera(800, 600);
  }
  void TearDown() override {
    ReleaseBoardScene();
    ReleaseBoardCamera();
  }
  // The window point of a frame's mesh centre.
  static std::pair<int, int> PointOf(MeshFrame* f) {
    Vec3 a, b;
    f->WorldBox(a, b);
    int x, y;
    GetBoardCamera()->ProjectToWindow(Scale(Add(a, b), 0.5f), x, y);
    return {x, y};
  }
};

TEST_F(BoardSceneTest, TableAndTemplatesAfterLoad) {
  EXPECT_EQ(GetSceneFrame(kFrameBoard)->Name(), "Board");
  EXPECT_EQ(GetSceneFrame(kFrameSort)->Name(), "trier");
  EXPECT_EQ(GetSceneFrame(kFrameFirstTwin + kFrameSort)->Name(), "trier_select");
  EXPECT_EQ(GetSceneFrame(111), nullptr);
  EXPECT_EQ(GetSceneFrame(-1), nullptr);
  EXPECT_EQ(GetLetterTemplate(kTemplateBlank, 'q')->Name(), "R_Q");
  EXPECT_FALSE(GetLetterTemplate(kTemplateRack, 'A')->visible);
  for (int i = 0; i < 20; ++i)
    EXPECT_FALSE(GetSceneFrame(i)->visible) << i;
  EXPECT_EQ(GetSceneButtonMask(), kDefaultButtonMask);
  EXPECT_FALSE(GetSceneFrame(kFrameArrowDown)->visible);
}

TEST_F(BoardSceneTest, DownArrowFallsBackToThreeUnderscores) {
  AdoptBoardScene(scenetest::BuildModel(false), true);
  ASSERT_NE(GetSceneFrame(kFrameArrowDown), nullptr);
  EXPECT_EQ(GetSceneFrame(kFrameArrowDown)->Name(), "ARROW___DOWN");
}

TEST_F(BoardSceneTest, ButtonMaskShowsAndHides) {
  SetSceneButtonMask(kDefaultButtonMask);  // unchanged: nothing shown
  EXPECT_FALSE(GetSceneFrame(kFramePass)->visible);
  SetSceneButtonMask(0x01 | 0x200);
  EXPECT_TRUE(GetSceneFrame(kFramePlay)->visible);
  EXPECT_TRUE(GetSceneFrame(kFrameSubmit)->visible);
  EXPECT_FALSE(GetSceneFrame(kFrameShuffle)->visible);
  HighlightSceneButton(kFramePlay);
  EXPECT_FALSE(GetSceneFrame(kFramePlay)->visible);
  EXPECT_TRUE(GetSceneFrame(kFrameFirstTwin + kFramePlay)->visible);
  UnhighlightSceneButton(kFramePlay);
  EXPECT_TRUE(GetSceneFrame(kFramePlay)->visible);
  HighlightSceneButton(-1);  // ignored
}

TEST_F(BoardSceneTest, MaskWithoutRackFrameIsOnlyRecorded) {
  MeshFrame* root = scenetest::BuildModel();
  delete root->Find("Rack_frame");
  AdoptBoardScene(root, true);
  SetSceneButtonMask(0x3FF);
  EXPECT_EQ(GetSceneButtonMask(), 0x3FFu);
  EXPECT_FALSE(GetSceneFrame(kFramePlay)->visible);
}

TEST_F(BoardSceneTest, PickingSkipsHiddenFramesAndAnswersButtons) {
  SetSceneButtonMask(0x01);  // play shown; its twin lies in front of it, hidden
  auto [x, y] = PointOf(GetSceneFrame(kFramePlay));
  bool isButton = false;
  int index = -1;
  EXPECT_EQ(PickSceneAt(x, y, isButton, index), GetSceneFrame(kFramePlay));
  EXPECT_TRUE(isButton);
  EXPECT_EQ(index, kFramePlay);
  HighlightSceneButton(kFramePlay);
  EXPECT_EQ(PickSceneAt(x, y, isButton, index), GetSceneFrame(kFrameFirstTwin + kFramePlay));
  EXPECT_FALSE(isButton);
  // A hidden button in front of nothing is never picked.
  auto [hx, hy] = PointOf(GetSceneFrame(kFrameHint));
  EXPECT_EQ(PickSceneFrame(hx, hy), nullptr);
}

TEST_F(BoardSceneTest, BoardCellZeroIsTopLeftOnScreen) {
  MeshFrame* board = GetSceneFrame(kFrameBoard);
  Vec3 a, b;
  ASSERT_TRUE(board->WorldBox(a, b));
  int ax, ay, bx, by;
  GetBoardCamera()->ProjectToWindow(a, ax, ay);
  GetBoardCamera()->ProjectToWindow(b, bx, by);
  // The box's second corner (the cells' origin) is the top left one.
  EXPECT_LT(bx, ax);
  EXPECT_LT(by, ay);
  EXPECT_EQ(PickSceneFrame((ax + bx) / 2, (ay + by) / 2), board);
}

TEST_F(BoardSceneTest, ClampMoveToViewCutsTheAxisThatLeaves) {
  MeshFrame* rack = GetSceneFrame(kFrameRack);
  struct Case {
    Vec3 delta;
    int flags;
  } cases[] = {{{1, 1, 3}, 0},    {{-200, 0, 0}, 1}, {{200, 0, 0}, 1},
               {{0, -200, 0}, 2}, {{0, 200, 0}, 2},  {{300, 300, 0}, 3}};
  for (const Case& c : cases) {
    Vec3 d = c.delta;
    EXPECT_EQ(ClampMoveToView(rack, d), c.flags) << c.delta.x << "," << c.delta.y;
    EXPECT_EQ(d.z, 0);
    EXPECT_EQ(d.x, (c.flags & 1) ? 0 : c.delta.x);
    EXPECT_EQ(d.y, (c.flags & 2) ? 0 : c.delta.y);
  }
}

}  // namespace
