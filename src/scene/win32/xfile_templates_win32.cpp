#include "xfile_templates.h"

namespace scene {

const GUID kTemplateFrame = {
    0x3d82ab46, 0x62da, 0x11cf, {0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33}};
const GUID kTemplateFrameTransformMatrix = {
    0xf6f23f41, 0x7686, 0x11cf, {0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3}};
const GUID kTemplateMesh = {
    0x3d82ab44, 0x62da, 0x11cf, {0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33}};

const GUID kTemplateMeshTextureCoords = {
    0xf6f23f40, 0x7686, 0x11cf, {0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3}};
const GUID kTemplateMeshMaterialList = {
    0xf6f23f42, 0x7686, 0x11cf, {0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3}};
const GUID kTemplateMaterial = {
    0x3d82ab4d, 0x62da, 0x11cf, {0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33}};
const GUID kTemplateTextureFilename = {
    0xa42790e1, 0x7810, 0x11cf, {0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3}};

const char kXFileTemplates[] =
    "xof 0303txt 0032\n"
    "template Header { <3D82AB43-62DA-11cf-AB39-0020AF71E433> WORD major; WORD minor; "
    "DWORD flags; }\n"
    "template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }\n"
    "template Coords2d { <F6F23F44-7686-11cf-8F52-0040333594A3> FLOAT u; FLOAT v; }\n"
    "template Matrix4x4 { <F6F23F45-7686-11cf-8F52-0040333594A3> array FLOAT matrix[16]; }\n"
    "template ColorRGBA { <35FF44E0-6C7C-11cf-8F52-0040333594A3> FLOAT red; FLOAT green; "
    "FLOAT blue; FLOAT alpha; }\n"
    "template ColorRGB { <D3E16E81-7835-11cf-8F52-0040333594A3> FLOAT red; FLOAT green; "
    "FLOAT blue; }\n"
    "template TextureFilename { <A42790E1-7810-11cf-8F52-0040333594A3> STRING filename; }\n"
    "template Material { <3D82AB4D-62DA-11cf-AB39-0020AF71E433> ColorRGBA faceColor; "
    "FLOAT power; ColorRGB specularColor; ColorRGB emissiveColor; [...] }\n"
    "template MeshFace { <3D82AB5F-62DA-11cf-AB39-0020AF71E433> DWORD nFaceVertexIndices; "
    "array DWORD faceVertexIndices[nFaceVertexIndices]; }\n"
    "template MeshTextureCoords { <F6F23F40-7686-11cf-8F52-0040333594A3> "
    "DWORD nTextureCoords; array Coords2d textureCoords[nTextureCoords]; }\n"
    "template MeshMaterialList { <F6F23F42-7686-11cf-8F52-0040333594A3> DWORD nMaterials; "
    "DWORD nFaceIndexes; array DWORD faceIndexes[nFaceIndexes]; [Material <3D82AB4D-62DA-11cf-"
    "AB39-0020AF71E433>] }\n"
    "template MeshNormals { <F6F23F43-7686-11cf-8F52-0040333594A3> DWORD nNormals; "
    "array Vector normals[nNormals]; DWORD nFaceNormals; array MeshFace faceNormals[nFaceNormals]; "
    "}\n"
    "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; "
    "array Vector vertices[nVertices]; DWORD nFaces; array MeshFace faces[nFaces]; [...] }\n"
    "template FrameTransformMatrix { <F6F23F41-7686-11cf-8F52-0040333594A3> "
    "Matrix4x4 frameMatrix; }\n"
    "template Frame { <3D82AB46-62DA-11cf-AB39-0020AF71E433> [...] }\n";

}  // namespace scene
