#pragma once
// A device mesh from an X file's Mesh data object (see xfile_mesh_win32.cpp).
#include <windows.h>

#include <d3d9.h>
#include <d3dx9.h>

#include "scene/scene_mesh.h"

namespace scene {

// Fills the mesh's device handle and materials (texture names kept, not
// loaded); negative on damaged or unreadable data.
HRESULT BuildXFileMesh(IDirect3DDevice9* device, ID3DXFileData* data, SceneMesh& out);

}  // namespace scene
