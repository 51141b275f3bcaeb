// The X-file loader on the real D3DX file interface: frames, transforms,
// meshes with materials and texture names, the collapse of mesh-less
// frames, and files that must be refused.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scene/mesh_frame.h"
#include "scene/win32/d3d_framework.h"
#include "scene/win32/xfile_loader.h"
#include "screenshot.h"

using namespace scene;

namespace {

const char kQuad[] =
    "  Mesh %s { 4; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;;\n"
    "   2; 3;0,1,2;, 3;0,2,3;;\n"
    "   MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;; }\n"
    "   MeshMaterialList { 2; 2; 0, 1;\n"
    "    Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;\n"
    "     TextureFilename { \"wood.bmp\"; } }\n"
    "    Material { 0.5;0.5;0.5;0.5;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } } }\n";

std::string Quad(const char* name) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, kQuad, name);
  return buf;
}

const char kMove[] =
    "  FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, "
    "5.0,6.0,7.0,1.0;; }\n";

std::string WriteFile(const std::string& name, const std::string& body, bool header = true) {
  const std::string path = tess_test::BuildPath(name);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return "";
  std::fputs(((header ? "xof 0303txt 0032\n" : "") + body).c_str(), f);
  std::fclose(f);
  return path;
}

class XFileLoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "XFileTestWindow";
    RegisterClassA(&wc);
    window_ = CreateWindowA("XFileTestWindow", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                            wc.hInstance, nullptr);
    ASSERT_TRUE(framework_.Create(window_, 64, 64, false));
  }
  void TearDown() override {
    framework_.Destroy();
    DestroyWindow(window_);
  }
  HRESULT Load(const std::string& name, const std::string& body, MeshFrame& root) {
    return LoadXFile(framework_.Device(), &root, WriteFile(name, body));
  }

  HWND window_ = nullptr;
  D3DFramework framework_;
};

TEST_F(XFileLoaderTest, FramesTransformsAndMeshes) {
  MeshFrame root("root");
  const std::string body = "Frame Board {\n" + std::string(kMove) + Quad("BoardMesh") +
                           " Frame Tile { " + kMove + Quad("TileMesh") + " }\n}\n";
  ASSERT_EQ(Load("xfile_frames.x", body, root), S_OK);
  MeshFrame* board = root.Find("board");
  ASSERT_NE(board, nullptr);
  MeshFrame* tile = board->Find("Tile");
  ASSERT_NE(tile, nullptr);
  EXPECT_EQ(tile->Parent(), board);
  const Vec3 t = TranslationOf(tile->World());
  EXPECT_FLOAT_EQ(t.x, 10.0f);
  EXPECT_FLOAT_EQ(t.z, 14.0f);
  SceneMesh* m = board->mesh.get();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->name, "BoardMesh");
  EXPECT_EQ(m->faceCount, 2u);
  EXPECT_EQ(m->vertexCount, 4u);
  EXPECT_FLOAT_EQ(m->boxMax.x, 1.0f);
  ASSERT_EQ(m->materials.size(), 2u);
  EXPECT_EQ(m->materials[0].textureName, "wood.bmp");
  EXPECT_FLOAT_EQ(m->materials[1].diffuse.a, 0.5f);
  EXPECT_EQ(root.FindMesh("tilemesh"), tile->mesh.get());
}

TEST_F(XFileLoaderTest, MeshlessFramesCollapseIntoTheirParent) {
  MeshFrame root("root");
  const std::string body = "Frame Buttons {\n" + std::string(kMove) + " Frame A { " + Quad("a") +
                           " }\n Frame B { " + Quad("b") + " }\n}\n";
  ASSERT_EQ(Load("xfile_collapse.x", body, root), S_OK);
  int named = 0;
  for (MeshFrame* c = root.FirstChild(); c; c = c->NextSibling()) {
    EXPECT_EQ(c->Name(), "Buttons");
    EXPECT_FLOAT_EQ(TranslationOf(c->World()).y, 6.0f);
    ++named;
  }
  EXPECT_EQ(named, 2);
}

TEST_F(XFileLoaderTest, RefusedFiles) {
  struct Case {
    const char* name;
    std::string body;
  } cases[] = {
      {"two meshes in one frame", "Frame F { " + Quad("a") + Quad("b") + " }\n"},
      {"a face beyond the vertices",
       "Frame F { Mesh m { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,7;; } }\n"},
      {"texture coordinates of another count",
       "Frame F { Mesh m { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;;\n"
       " MeshTextureCoords { 2; 0.0;0.0;, 1.0;0.0;; } } }\n"},
  };
  for (const Case& c : cases) {
    MeshFrame root("root");
    EXPECT_LT(Load("xfile_bad.x", c.body, root), 0) << c.name;
  }
  MeshFrame root("root");
  EXPECT_LT(LoadXFile(framework_.Device(), &root, WriteFile("xfile_text.x", "plain text", false)),
            0);
  EXPECT_LT(LoadXFile(framework_.Device(), &root, tess_test::BuildPath("no_such_file.x")), 0);
  EXPECT_EQ(root.FirstChild(), nullptr);
}

}  // namespace
