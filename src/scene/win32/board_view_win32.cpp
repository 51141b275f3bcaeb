#include "board_view.h"

#include <d3d9.h>
#include <d3dx9.h>

#include "d3d_framework.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/texture_cache.h"
#include "scene/tile_grid.h"
#include "xfile_loader.h"

namespace scene {

namespace {

struct BackgroundVertex {
  float x, y, z, rhw;
  D3DCOLOR colour;
  float u, v;
};
static_assert(sizeof(BackgroundVertex) == 28, "pre-transformed vertex");
constexpr DWORD kBackgroundFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
// Behind the scene when no background picture is loaded.
constexpr D3DCOLOR kEmptyBackground = D3DCOLOR_XRGB(22, 70, 40);

struct ViewState {
  HWND window = nullptr;
  std::shared_ptr<void> background;
  BackgroundVertex quad[4] = {};
};

ViewState& V() {
  static ViewState v;
  return v;
}

void SizeQuad(int width, int height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const BackgroundVertex q[4] = {{-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                                 {w - 0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 1, 0},
                                 {w - 0.5f, h - 0.5f, 0.5f, 1, 0xFFFFFFFF, 1, 1},
                                 {-0.5f, h - 0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1}};
  std::copy(q, q + 4, V().quad);
}

// The adapter must blend in its back-buffer format after the pixel shader.
bool IsDeviceAcceptable(const D3DCAPS9&, D3DFORMAT adapter, D3DFORMAT backBuffer, bool) {
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d) return false;
  const bool ok = SUCCEEDED(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, adapter,
                                                   D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                                   D3DRTYPE_TEXTURE, backBuffer));
  d3d->Release();
  return ok;
}

long LoadModel(MeshFrame* root, const std::string& path) {
  return LoadXFile(GetD3DFramework().Device(), root, path);
}

void SetTextureFolder(const std::string& folder) {
  if (TextureCache* cache = GetTextureCache()) cache->SetFolder(folder);
}

}  // namespace

bool InitBoardView(HWND window) {
  ViewState& v = V();
  if (v.window) return true;
  RECT r{};
  GetClientRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  CreateTextureCache(&LoadTextureFile);
  D3DFramework& fw = GetD3DFramework();
  DeviceCallbacks callbacks;
  callbacks.isAcceptable = &IsDeviceAcceptable;
  fw.SetCallbacks(callbacks);
  if (!fw.Create(window, width, height, false)) {
    DestroyTextureCache();
    return false;
  }
  v.window = window;
  SetMeshFileLoader(&LoadModel);
  SetTextureFolderHook(&SetTextureFolder);
  InitBoardCamera(width, height);
  SizeQuad(width, height);
  return true;
}

void ReleaseBoardScene3D() {
  ViewState& v = V();
  if (!GetD3DFramework().Device()) return;
  v.background.reset();
  if (TextureCache* cache = GetTextureCache()) cache->ReleaseAll();
  ReleaseBoardScene();
  ReleaseBoardCamera();
  DestroyTextureCache();
  GetD3DFramework().Destroy();
  SetMeshFileLoader(nullptr);
  v.window = nullptr;
}

bool HasD3DDevice() { return GetD3DFramework().Device() != nullptr; }
HWND GetBoardWindow() { return V().window; }

void SetSceneBackground(const std::string& name, bool load) {
  ViewState& v = V();
  TextureCache* cache = GetTextureCache();
  if (!load || !cache) return;
  if (v.background) cache->Remove(v.background);
  v.background = cache->Get(name + ".tga");
  InvalidateBoardView();
}

void SetBoardViewSize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  SetViewSize(width, height);
  SizeQuad(width, height);
  GetD3DFramework().Resize(width, height);
  InvalidateBoardView();
}

void ClearDepthBuffer() {
  if (IDirect3DDevice9* d = GetD3DFramework().Device())
    d->Clear(0, nullptr, D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(255, 255, 255), 1.0f, 0);
}

void RenderBoardScene() {
  IDirect3DDevice9* d = GetD3DFramework().Device();
  if (!d) return;
  ViewState& v = V();
  d->Clear(0, nullptr, D3DCLEAR_ZBUFFER | (v.background ? 0 : D3DCLEAR_TARGET), kEmptyBackground,
           1.0f, 0);
  if (FAILED(d->BeginScene())) return;
  D3DLIGHT9 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {0.8f, 0.75f, 0.65f, 0.0f};
  light.Direction = {-1.0f, -1.0f, -1.0f};
  light.Range = 1000.0f;
  light.Falloff = 1.0f;
  light.Attenuation0 = 1.0f;
  light.Theta = light.Phi = D3DX_PI / 4;
  d->SetLight(0, &light);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  d->SetRenderState(D3DRS_COLORWRITEENABLE,
                    D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_GREEN | D3DCOLORWRITEENABLE_BLUE);
  d->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  d->SetRenderState(D3DRS_FOGENABLE, FALSE);
  d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
  d->SetRenderState(D3DRS_LIGHTING, FALSE);
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  d->SetRenderState(D3DRS_ALPHAREF, 127);
  d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  for (DWORD stage = 1; stage < 4; ++stage) {
    d->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  }
  d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  if (v.background) {
    d->SetTexture(0, static_cast<IDirect3DBaseTexture9*>(v.background.get()));
    d->SetVertexShader(nullptr);
    d->SetPixelShader(nullptr);
    d->SetFVF(kBackgroundFvf);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v.quad, sizeof(BackgroundVertex));
  }
  d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  if (BoardCamera* camera = GetBoardCamera()) {
    D3DMATRIX m;
    memcpy(&m, camera->Projection().m, sizeof m);
    d->SetTransform(D3DTS_PROJECTION, &m);
    memcpy(&m, camera->View().m, sizeof m);
    d->SetTransform(D3DTS_VIEW, &m);
  }
  if (MeshFrame* root = GetSceneRoot()) {
    D3DMATRIX identity;
    memcpy(&identity, Identity().m, sizeof identity);
    d->SetTransform(D3DTS_WORLD, &identity);
    RenderTree(d, root);
  }
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  d->EndScene();
}

bool PresentFrame() { return GetD3DFramework().Present(); }

bool BoardFrameDue() {
  if (GetD3DFramework().NeedsFrame()) return true;
  const SceneGrids& g = CurrentGrids();
  for (TileGrid* grid : {g.board, g.rack, g.workingArea, g.carrier})
    if (grid && grid->AnimationCount() > 0) return true;
  return false;
}

void InvalidateBoardView() { GetD3DFramework().Invalidate(); }

}  // namespace scene
