// Builds a device mesh from a Mesh data object of an X file: vertices,
// faces (polygons cut into fans), texture coordinates and the material list
// with texture names, read through the bounded locked data of each object.
// Faces are sorted by material so each material is one subset.
#include "xfile_mesh.h"

#include <d3dx9.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "xfile_templates.h"

namespace scene {

namespace {

// A bounded reader over one object's locked data.
class DataReader {
 public:
  DataReader(const void* p, SIZE_T n) : p_(static_cast<const BYTE*>(p)), n_(n) {}
  bool U32(DWORD& v) { return Bytes(&v, 4); }
  bool F32(float& v) { return Bytes(&v, 4); }
  bool Pointer(const char*& s) { return Bytes(&s, sizeof s); }
  bool Bytes(void* out, SIZE_T k) {
    if (k > n_ - at_) return false;
    memcpy(out, p_ + at_, k);
    at_ += k;
    return true;
  }

 private:
  const BYTE* p_;
  SIZE_T n_, at_ = 0;
};

// Locks an object and hands its reader to `read`.
template <typename Read>
bool ReadData(ID3DXFileData* data, Read read) {
  SIZE_T size = 0;
  const void* p = nullptr;
  if (FAILED(data->Lock(&size, &p))) return false;
  DataReader r(p, size);
  const bool ok = read(r);
  data->Unlock();
  return ok;
}

bool TypeOf(ID3DXFileData* data, const GUID& type) {
  GUID t;
  return SUCCEEDED(data->GetType(&t)) && t == type;
}

constexpr DWORD kMaxCount = 1u << 20;  // vertices, faces or materials of one mesh

struct RawMesh {
  std::vector<Vec3> positions;
  std::vector<DWORD> triangles;     // three a face
  std::vector<DWORD> triangleFace;  // the file face each triangle came from
  std::vector<float> uv;
  std::vector<DWORD> faceMaterial;
  std::vector<MeshMaterial> materials;
};

bool ReadGeometry(DataReader& r, RawMesh& m) {
  DWORD n = 0;
  if (!r.U32(n) || n == 0 || n > kMaxCount) return false;
  m.positions.resize(n);
  for (Vec3& p : m.positions)
    if (!r.F32(p.x) || !r.F32(p.y) || !r.F32(p.z)) return false;
  DWORD faces = 0;
  if (!r.U32(faces) || faces > kMaxCount) return false;
  for (DWORD f = 0; f < faces; ++f) {
    DWORD k = 0;
    if (!r.U32(k) || k < 3 || k > 64) return false;
    DWORD idx[64];
    for (DWORD i = 0; i < k; ++i)
      if (!r.U32(idx[i]) || idx[i] >= n) return false;
    for (DWORD i = 1; i + 1 < k; ++i) {
      m.triangles.insert(m.triangles.end(), {idx[0], idx[i], idx[i + 1]});
      m.triangleFace.push_back(f);
    }
  }
  return true;
}

bool ReadTextureCoords(DataReader& r, RawMesh& m) {
  DWORD n = 0;
  if (!r.U32(n) || n != m.positions.size()) return false;
  m.uv.resize(n * 2);
  for (float& v : m.uv)
    if (!r.F32(v)) return false;
  return true;
}

bool ReadMaterial(ID3DXFileData* data, MeshMaterial& out) {
  const bool ok = ReadData(data, [&](DataReader& r) {
    float c[4 + 1 + 3 + 3];
    for (float& v : c)
      if (!r.F32(v)) return false;
    out.diffuse = {c[0], c[1], c[2], c[3]};
    out.ambient = out.diffuse;
    out.power = c[4];
    out.specular = {c[5], c[6], c[7], 1};
    out.emissive = {c[8], c[9], c[10], 1};
    return true;
  });
  SIZE_T children = 0;
  data->GetChildren(&children);
  for (SIZE_T i = 0; ok && i < children; ++i) {
    ID3DXFileData* child = nullptr;
    if (FAILED(data->GetChild(i, &child))) continue;
    if (TypeOf(child, kTemplateTextureFilename))
      ReadData(child, [&](DataReader& r) {
        const char* name = nullptr;
        if (!r.Pointer(name) || !name) return false;
        out.textureName = std::string(name, strnlen(name, kMaxTextureName));
        return true;
      });
    child->Release();
  }
  return ok;
}

bool ReadMaterialList(ID3DXFileData* data, RawMesh& m, DWORD fileFaces) {
  DWORD materials = 0;
  const bool ok = ReadData(data, [&](DataReader& r) {
    DWORD n = 0;
    if (!r.U32(materials) || materials > kMaxCount || !r.U32(n) || n > kMaxCount) return false;
    m.faceMaterial.resize(fileFaces, 0);
    for (DWORD i = 0; i < n; ++i) {
      DWORD v = 0;
      if (!r.U32(v)) return false;
      if (i < fileFaces) m.faceMaterial[i] = v < materials ? v : 0;
    }
    // A short list repeats its last entry.
    for (DWORD i = n; i < fileFaces && n > 0; ++i)
      m.faceMaterial[i] = m.faceMaterial[n - 1];
    return true;
  });
  SIZE_T children = 0;
  data->GetChildren(&children);
  for (SIZE_T i = 0; ok && i < children; ++i) {
    ID3DXFileData* child = nullptr;
    if (FAILED(data->GetChild(i, &child))) continue;
    MeshMaterial mat;
    if (TypeOf(child, kTemplateMaterial) && ReadMaterial(child, mat))
      m.materials.push_back(std::move(mat));
    child->Release();
  }
  while (ok && m.materials.size() < materials)
    m.materials.push_back(MeshMaterial{});
  return ok;
}

}  // namespace

HRESULT BuildXFileMesh(IDirect3DDevice9* device, ID3DXFileData* data, SceneMesh& out) {
  RawMesh raw;
  if (!ReadData(data, [&](DataReader& r) { return ReadGeometry(r, raw); })) return E_FAIL;
  const DWORD fileFaces = raw.triangleFace.empty() ? 0 : raw.triangleFace.back() + 1;
  SIZE_T children = 0;
  data->GetChildren(&children);
  for (SIZE_T i = 0; i < children; ++i) {
    ID3DXFileData* child = nullptr;
    if (FAILED(data->GetChild(i, &child))) continue;
    bool ok = true;
    if (TypeOf(child, kTemplateMeshTextureCoords))
      ok = ReadData(child, [&](DataReader& r) { return ReadTextureCoords(r, raw); });
    else if (TypeOf(child, kTemplateMeshMaterialList))
      ok = ReadMaterialList(child, raw, fileFaces);
    child->Release();
    if (!ok) return E_FAIL;
  }
  if (raw.materials.empty()) {
    MeshMaterial white;
    white.diffuse = white.ambient = {1, 1, 1, 1};
    raw.materials.push_back(white);
  }
  raw.faceMaterial.resize(fileFaces, 0);

  const DWORD triangles = static_cast<DWORD>(raw.triangleFace.size());
  const DWORD vertices = static_cast<DWORD>(raw.positions.size());
  if (triangles == 0) return E_FAIL;
  std::vector<DWORD> order(triangles);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](DWORD a, DWORD b) {
    return raw.faceMaterial[raw.triangleFace[a]] < raw.faceMaterial[raw.triangleFace[b]];
  });
  const bool wide = vertices > 0xFFFF;
  ID3DXMesh* mesh = nullptr;
  HRESULT hr =
      D3DXCreateMeshFVF(triangles, vertices, D3DXMESH_MANAGED | (wide ? D3DXMESH_32BIT : 0),
                        D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, device, &mesh);
  if (FAILED(hr)) return hr;
  // Vertex normals from the faces around each vertex.
  std::vector<Vec3> normals(vertices);
  for (DWORD t = 0; t < triangles; ++t) {
    const DWORD* i = &raw.triangles[t * 3];
    const Vec3 n = Cross(Sub(raw.positions[i[1]], raw.positions[i[0]]),
                         Sub(raw.positions[i[2]], raw.positions[i[0]]));
    for (int k = 0; k < 3; ++k)
      normals[i[k]] = Add(normals[i[k]], n);
  }
  float* v = nullptr;
  if (SUCCEEDED(mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&v)))) {
    for (DWORD i = 0; i < vertices; ++i, v += 8) {
      const Vec3 n = Normalize(normals[i]);
      const float u = raw.uv.empty() ? 0 : raw.uv[i * 2],
                  w = raw.uv.empty() ? 0 : raw.uv[i * 2 + 1];
      const float rec[8] = {
          raw.positions[i].x, raw.positions[i].y, raw.positions[i].z, n.x, n.y, n.z, u, w};
      memcpy(v, rec, sizeof rec);
    }
    mesh->UnlockVertexBuffer();
  }
  void* ib = nullptr;
  if (SUCCEEDED(mesh->LockIndexBuffer(0, &ib))) {
    for (DWORD t = 0; t < triangles; ++t)
      for (int k = 0; k < 3; ++k) {
        const DWORD idx = raw.triangles[order[t] * 3 + k];
        if (wide)
          static_cast<DWORD*>(ib)[t * 3 + k] = idx;
        else
          static_cast<WORD*>(ib)[t * 3 + k] = static_cast<WORD>(idx);
      }
    mesh->UnlockIndexBuffer();
  }
  std::vector<D3DXATTRIBUTERANGE> table;
  DWORD* attributes = nullptr;
  if (SUCCEEDED(mesh->LockAttributeBuffer(0, &attributes))) {
    for (DWORD t = 0; t < triangles; ++t) {
      const DWORD a = raw.faceMaterial[raw.triangleFace[order[t]]];
      attributes[t] = a;
      if (table.empty() || table.back().AttribId != a) {
        D3DXATTRIBUTERANGE range{};
        range.AttribId = a;
        range.FaceStart = t;
        range.VertexCount = vertices;
        table.push_back(range);
      }
      ++table.back().FaceCount;
    }
    mesh->UnlockAttributeBuffer();
  }
  mesh->SetAttributeTable(table.data(), static_cast<DWORD>(table.size()));
  out.materials = std::move(raw.materials);
  out.device = std::shared_ptr<void>(mesh, [](void* p) { static_cast<ID3DXMesh*>(p)->Release(); });
  return S_OK;
}

}  // namespace scene
