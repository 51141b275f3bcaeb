#pragma once
// The standard X-file templates, as text, registered before a model is
// read, and the identities of those the loader reads.
#include <windows.h>

namespace scene {

extern const char kXFileTemplates[];
extern const GUID kTemplateFrame;
extern const GUID kTemplateFrameTransformMatrix;
extern const GUID kTemplateMesh;
extern const GUID kTemplateMeshTextureCoords;
extern const GUID kTemplateMeshMaterialList;
extern const GUID kTemplateMaterial;
extern const GUID kTemplateTextureFilename;

}  // namespace scene
