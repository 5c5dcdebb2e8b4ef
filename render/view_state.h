// The view's members that the drawers read and advance. Every drawer is a
// plain function of BenchState and this record.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/geometry_block.h"

namespace vm {

// The view's four textures, by slot.
enum TextureSlot : int {
  kCloudsTexture = 0,
  kTartanTexture = 1,
  kChromeTexture = 2,
  kFontTexture = 3,
  kTextureSlots = 4
};

struct ViewState {
  float resultsEyeX = 5.0f;
  float resultsEyeY = 5.0f;
  float resultsZoom = 15.0f;
  float frameAngle = 0.0f;
  float towerSpin = 0.0f;
  float latticeAngle = 0.0f;
  GLUquadric* quadric = nullptr;
  GLuint textures[kTextureSlots] = {0, 0, 0, 0};
  GeometryBlock geo;  // filled by the view's constructor (InitGeometryBlock)
};

}  // namespace vm
