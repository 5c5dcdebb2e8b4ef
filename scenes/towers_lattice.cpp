// The four spiral towers of squares and the rotating lattice of cubes.
#include <GL/gl.h>

#include <cmath>

#include "app/bench_state.h"
#include "render/lights.h"
#include "render/primitives.h"
#include "scenes/scenes.h"

namespace vm {

void DrawTowers(ViewState& view, int mode) {
  const bool textured = mode == 2;
  glPushMatrix();
  SceneCamera();
  if (mode == 0 || textured) EnableLights();
  if (textured) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, view.textures[1]);
  }
  // The textured towers band their shading four times as often.
  const double f = textured ? 0.0698 : 0.01745;
  for (int k = 0; k < 4; ++k) {
    glPushMatrix();
    glTranslatef(BenchState.towerX[k], -20.0f, BenchState.towerZ[k]);
    glRotatef(view.towerSpin, 0.0f, 1.0f, 0.0f);
    const int n = BenchState.towerQuads;
    const float rise = 30.0f / n;
    const float turn = 3600.0f / n;
    // frameAngle doubles as the running turn within the tower.
    view.frameAngle = 0.0f;
    for (int i = 0; i < n; ++i) {
      glPushMatrix();
      glTranslatef(0.0f, i * rise, 0.0f);
      glRotatef(view.frameAngle, 0.0f, 1.0f, 0.0f);
      glNormal3f(0.0f, static_cast<float>(std::cos(view.frameAngle * f)), 0.0f);
      glBegin(GL_QUADS);
      if (textured) {
        glTexCoord2d(0.0, 0.0);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glTexCoord2d(1.0, 0.0);
        glVertex3f(1.5f, 0.0f, 0.0f);
        glTexCoord2d(1.0, 1.0);
        glVertex3f(1.5f, 0.0f, 1.5f);
        glTexCoord2d(0.0, 1.0);
        glVertex3f(0.0f, 0.0f, 1.5f);
      } else {
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(1.5f, 0.0f, 0.0f);
        glVertex3f(1.5f, 0.0f, 1.5f);
        glVertex3f(0.0f, 0.0f, 1.5f);
      }
      glEnd();
      glPopMatrix();
      view.frameAngle += turn;
    }
    glPopMatrix();
  }
  if (mode == 0 || textured) DisableLights();
  if (textured) glDisable(GL_TEXTURE_2D);
  glPopMatrix();
  view.frameAngle += 1.0f;
  view.towerSpin -= 4.0f;
}

void DrawCubeLattice(ViewState& view, int mode) {
  glPushMatrix();
  SceneCamera();
  switch (mode) {
    case 0:
      EnableLights();
      break;
    case 2:
      SetupSpotLights();
      EnableLights();
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, view.textures[1]);
      break;
    case 3:
      EnableLights();
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, view.textures[1]);
      glEnable(GL_TEXTURE_GEN_S);
      glEnable(GL_TEXTURE_GEN_T);
      break;
    default:
      break;
  }
  glPushMatrix();
  glRotatef(view.latticeAngle, 0.0f, 1.0f, 0.0f);
  const GeometryBlock& g = view.geo;
  const int count = g.latticeCount < kLatticeSize ? g.latticeCount : kLatticeSize;
  for (int i = 0; i < count; ++i) {
    glPushMatrix();
    glTranslatef(g.latticeX[i], g.latticeY[i], g.latticeZ[i]);
    DrawCube(view, 0.0f, 0.0f, 0.0f, 0.1f, 0.1f, 0.1f, 1, 1);
    glPopMatrix();
  }
  glPopMatrix();
  switch (mode) {
    case 0:
      DisableLights();
      break;
    case 2:
      DisableLights();
      glDisable(GL_TEXTURE_2D);
      break;
    case 3:
      DisableLights();
      glDisable(GL_TEXTURE_2D);
      glDisable(GL_TEXTURE_GEN_S);
      glDisable(GL_TEXTURE_GEN_T);
      break;
    default:
      break;
  }
  glPopMatrix();
  view.latticeAngle += 1.0f;
}

}  // namespace vm
