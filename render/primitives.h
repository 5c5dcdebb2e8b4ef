// Drawing helpers shared by scenes and screens: 3D text made of spheres,
// textured-quad text and the cube.
#pragma once

#include "render/view_state.h"

namespace vm {

void DrawSphereText(ViewState& view, const char* text, float x, float y, float z, float r, float g,
                    float b, float scale, int lightMode, int wave);
void DrawQuadText(ViewState& view, const char* text, float x, float y, float z, float size, float r,
                  float g, float b);
void DrawCube(ViewState& view, float px, float py, float pz, float sx, float sy, float sz,
              int sideTexture, int capTexture);

}  // namespace vm
