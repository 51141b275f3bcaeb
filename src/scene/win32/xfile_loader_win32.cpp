#include "xfile_loader.h"

#include <d3d9.h>
#include <d3dx9.h>

#include <cstring>
#include <vector>

#include "d3d_framework.h"
#include "scene/texture_cache.h"
#include "xfile_mesh.h"
#include "xfile_templates.h"

namespace scene {

namespace {

std::string DataName(ID3DXFileData* data) {
  SIZE_T size = 0;
  if (FAILED(data->GetName(nullptr, &size)) || size == 0) return "";
  std::vector<char> name(size + 1, 0);
  if (FAILED(data->GetName(name.data(), &size))) return "";
  return std::string(name.data()).substr(0, kMaxSceneName);
}

// The portable copy that picking and the tile layout read.
void CopyGeometry(ID3DXMesh* mesh, SceneMesh& out) {
  const DWORD vertices = mesh->GetNumVertices(), faces = mesh->GetNumFaces();
  const DWORD stride = mesh->GetNumBytesPerVertex();
  out.bytesPerVertex = stride;
  void* p = nullptr;
  if (SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &p))) {
    out.positions.resize(vertices);
    for (DWORD i = 0; i < vertices; ++i) {
      const float* f = reinterpret_cast<const float*>(static_cast<const BYTE*>(p) + i * stride);
      out.positions[i] = {f[0], f[1], f[2]};
    }
    mesh->UnlockVertexBuffer();
  }
  if (SUCCEEDED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &p))) {
    out.indices.resize(faces * 3);
    const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    for (DWORD i = 0; i < faces * 3; ++i) {
      const DWORD v = wide ? static_cast<const DWORD*>(p)[i] : static_cast<const WORD*>(p)[i];
      out.indices[i] = static_cast<uint16_t>(v < 0xFFFF ? v : 0xFFFF);
    }
    mesh->UnlockIndexBuffer();
  }
  DWORD* attributes = nullptr;
  if (SUCCEEDED(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes))) {
    out.faceSubsets.assign(attributes, attributes + faces);
    mesh->UnlockAttributeBuffer();
  }
  out.ComputeBox();
}

HRESULT LoadMesh(IDirect3DDevice9* device, ID3DXFileData* data, MeshFrame* parent) {
  if (parent->mesh) return E_FAIL;  // one mesh a frame
  auto scene = std::make_unique<SceneMesh>(DataName(data));
  const HRESULT hr = BuildXFileMesh(device, data, *scene);
  if (FAILED(hr)) return hr;
  for (MeshMaterial& m : scene->materials)
    if (!m.textureName.empty())
      if (TextureCache* cache = GetTextureCache()) m.texture = cache->Get(m.textureName);
  CopyGeometry(static_cast<ID3DXMesh*>(scene->device.get()), *scene);
  parent->mesh = std::move(scene);
  return S_OK;
}

HRESULT LoadData(IDirect3DDevice9* device, ID3DXFileData* data, MeshFrame* parent) {
  GUID type;
  if (FAILED(data->GetType(&type))) return E_FAIL;
  if (type == kTemplateMesh) return LoadMesh(device, data, parent);
  if (type == kTemplateFrameTransformMatrix) {
    SIZE_T size = 0;
    const void* p = nullptr;
    if (FAILED(data->Lock(&size, &p))) return E_FAIL;
    if (size >= sizeof(Mat4)) {
      Mat4 m;
      memcpy(m.m, p, sizeof m.m);
      parent->SetLocal(m);
    }
    data->Unlock();
    return S_OK;
  }
  if (type != kTemplateFrame) return S_OK;  // other templates are skipped
  auto* frame = new MeshFrame(DataName(data));
  parent->AttachChild(frame);
  SIZE_T children = 0;
  data->GetChildren(&children);
  for (SIZE_T i = 0; i < children; ++i) {
    ID3DXFileData* child = nullptr;
    if (FAILED(data->GetChild(i, &child))) continue;
    const HRESULT hr = LoadData(device, child, frame);
    child->Release();
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

void DrawMesh(IDirect3DDevice9* device, SceneMesh& mesh, bool alphaPass) {
  auto* d3dMesh = static_cast<ID3DXMesh*>(mesh.device.get());
  if (!d3dMesh) return;
  for (size_t i = 0; i < mesh.materials.size(); ++i) {
    const MeshMaterial& m = mesh.materials[i];
    if ((m.diffuse.a < 1.0f) != alphaPass) continue;
    if (mesh.useMaterials) {
      D3DMATERIAL9 mat{};
      mat.Diffuse = {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a};
      mat.Ambient = {m.ambient.r, m.ambient.g, m.ambient.b, m.ambient.a};
      mat.Specular = {m.specular.r, m.specular.g, m.specular.b, m.specular.a};
      mat.Emissive = {m.emissive.r, m.emissive.g, m.emissive.b, m.emissive.a};
      mat.Power = m.power;
      device->SetMaterial(&mat);
      device->SetTexture(0, static_cast<IDirect3DBaseTexture9*>(m.texture.get()));
    }
    d3dMesh->DrawSubset(static_cast<DWORD>(i));
  }
}

}  // namespace

HRESULT LoadXFile(IDirect3DDevice9* device, MeshFrame* root, const std::string& path) {
  if (!device || !root) return E_FAIL;
  ID3DXFile* file = nullptr;
  HRESULT hr = D3DXFileCreate(&file);
  if (FAILED(hr)) return hr;
  hr = file->RegisterTemplates(kXFileTemplates, strlen(kXFileTemplates));
  ID3DXFileEnumObject* objects = nullptr;
  if (SUCCEEDED(hr)) hr = file->CreateEnumObject(path.c_str(), D3DXF_FILELOAD_FROMFILE, &objects);
  SIZE_T count = 0;
  if (SUCCEEDED(hr)) hr = objects->GetChildren(&count);
  for (SIZE_T i = 0; SUCCEEDED(hr) && i < count; ++i) {
    ID3DXFileData* data = nullptr;
    hr = objects->GetChild(i, &data);
    if (SUCCEEDED(hr)) {
      hr = LoadData(device, data, root);
      data->Release();
    }
  }
  if (objects) objects->Release();
  file->Release();
  if (SUCCEEDED(hr)) root->Collapse();
  return hr;
}

void RenderFrame(IDirect3DDevice9* device, MeshFrame* frame, bool alphaPass) {
  if (!frame->visible) return;
  D3DMATRIX world;
  memcpy(&world, frame->World().m, sizeof world);
  device->SetTransform(D3DTS_WORLD, &world);
  if (frame->mesh) DrawMesh(device, *frame->mesh, alphaPass);
  for (MeshFrame* c = frame->FirstChild(); c; c = c->NextSibling())
    RenderFrame(device, c, alphaPass);
}

void RenderTree(IDirect3DDevice9* device, MeshFrame* root) {
  D3DMATRIX saved;
  device->GetTransform(D3DTS_WORLD, &saved);
  RenderFrame(device, root, false);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  RenderFrame(device, root, true);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  device->SetTransform(D3DTS_WORLD, &saved);
}

std::shared_ptr<void> LoadTextureFile(const std::string& path) {
  IDirect3DDevice9* device = GetD3DFramework().Device();
  D3DXIMAGE_INFO info{};
  if (!device || FAILED(D3DXGetImageInfoFromFileA(path.c_str(), &info))) return nullptr;
  switch (info.ResourceType) {
    case D3DRTYPE_TEXTURE: {
      IDirect3DTexture9* t = nullptr;
      if (FAILED(D3DXCreateTextureFromFileExA(device, path.c_str(), info.Width, info.Height, 1, 0,
                                              info.Format, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                                              D3DX_FILTER_NONE, 0, nullptr, nullptr, &t)))
        return nullptr;
      return std::shared_ptr<void>(static_cast<IDirect3DBaseTexture9*>(t), [](void* p) {
        static_cast<IDirect3DBaseTexture9*>(p)->Release();
      });
    }
    case D3DRTYPE_VOLUMETEXTURE: {
      IDirect3DVolumeTexture9* t = nullptr;
      if (FAILED(D3DXCreateVolumeTextureFromFileExA(
              device, path.c_str(), info.Width, info.Height, info.Depth, 1, 0, info.Format,
              D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, nullptr, nullptr, &t)))
        return nullptr;
      return std::shared_ptr<void>(static_cast<IDirect3DBaseTexture9*>(t), [](void* p) {
        static_cast<IDirect3DBaseTexture9*>(p)->Release();
      });
    }
    case D3DRTYPE_CUBETEXTURE: {
      IDirect3DCubeTexture9* t = nullptr;
      if (FAILED(D3DXCreateCubeTextureFromFileExA(device, path.c_str(), info.Width, 1, 0,
                                                  info.Format, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                                                  D3DX_FILTER_NONE, 0, nullptr, nullptr, &t)))
        return nullptr;
      return std::shared_ptr<void>(static_cast<IDirect3DBaseTexture9*>(t), [](void* p) {
        static_cast<IDirect3DBaseTexture9*>(p)->Release();
      });
    }
    default:
      return nullptr;
  }
}

}  // namespace scene
