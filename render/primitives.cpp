#include "render/primitives.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>

#include "render/angles.h"
#include "render/font_cells.h"
#include "render/lights.h"

namespace vm {
namespace {

// The sphere-dot font: rows 2 to 8 of each 8 x 8 cell, columns 2 to 8 left
// to right; column 1 and row 1 are always empty.
struct Glyph {
  const char* rows[7];
};

const Glyph kLetters[26] = {
    {{".ooooo.", "o.....o", "o.....o", "ooooooo", "o.....o", "o.....o", "o.....o"}},  // A
    {{"oooooo.", "o....o.", "o...o..", "ooooo..", "o....o.", "o....o.", "ooooo.."}},  // B
    {{".ooooo.", "o......", "o......", "o......", "o......", "o......", ".ooooo."}},  // C
    {{"ooooo..", "o....o.", "o....o.", "o....o.", "o....o.", "o....o.", "ooooo.."}},  // D
    {{"oooooo.", "o......", "o......", "ooooo..", "o......", "o......", "oooooo."}},  // E
    {{"oooooo.", "o......", "o......", "oooo...", "o......", "o......", "o......"}},  // F
    {{".ooooo.", "o......", "o......", "o..oooo", "o....o.", "o....o.", ".oooo.."}},  // G
    {{"o.....o", "o.....o", "oo...oo", "ooooooo", "oo...oo", "o.....o", "o.....o"}},  // H
    {{".ooooo.", "...o...", "...o...", "...o...", "...o...", "...o...", ".ooooo."}},  // I
    {{".ooooo.", "...o...", "...o...", "....o..", ".....o.", ".o...o.", "..ooo.."}},  // J
    {{"o....o.", "o...o..", "o..o...", "ooo....", "o..o...", "o...o..", "o....o."}},  // K
    {{".o.....", ".o.....", ".o.....", ".o.....", ".o.....", ".o.....", ".ooooo."}},  // L
    {{"oo...oo", "o.o.o.o", "o..o..o", "o.....o", "o.....o", "o.....o", "o.....o"}},  // M
    {{"o.....o", "oo....o", "o.o...o", "o..o..o", "o...o.o", "o....oo", "o.....o"}},  // N
    {{".ooooo.", "o.....o", "o.....o", "o.....o", "o.....o", "o.....o", ".ooooo."}},  // O
    {{".oooo..", "o....o.", "o....o.", "ooooo..", "o......", "o......", "o......"}},  // P
    {{".ooooo.", "o.....o", "o.....o", "o.....o", "o...o.o", "o....o.", ".oooo.o"}},  // Q
    {{".ooooo.", "o.....o", "o.....o", "oooooo.", "o...o..", "o....o.", "o.....o"}},  // R
    {{".oooooo", "o......", "o......", ".ooooo.", "......o", "......o", "oooooo."}},  // S
    {{".ooooo.", "...o...", "...o...", "...o...", "...o...", "...o...", "...o..."}},  // T
    {{"o.....o", "o.....o", "o.....o", "o.....o", "o.....o", "o.....o", ".ooooo."}},  // U
    {{"o.....o", "o.....o", ".o...o.", ".o...o.", "..o.o..", "..o.o..", "...o..."}},  // V
    {{"o.....o", "o.....o", "o.....o", ".o...o.", ".o.o.o.", ".o.o.o.", "..ooo.."}},  // W
    {{"o.....o", ".o...o.", "..o.o..", "...o...", "..o.o..", ".o...o.", "o.....o"}},  // X
    {{"o.....o", ".o...o.", "..o.o..", "...o...", "...o...", "...o...", "...o..."}},  // Y
    {{"ooooooo", ".....o.", "....o..", "...o...", "..o....", ".o.....", "ooooooo"}},  // Z
};
const Glyph kFullStop = {
    {".......", ".......", ".......", ".......", "...o...", "..ooo..", "...o..."}};

const Glyph* FindGlyph(char ch) {
  if (ch >= 'A' && ch <= 'Z') return &kLetters[ch - 'A'];
  if (ch == '.') return &kFullStop;
  return nullptr;
}

// The unit box's faces in drawing order: front, back, top, bottom, right, left.
struct Face {
  GLfloat normal[3];
  GLfloat corner[4][3];
  GLfloat tex[4][2];
};

const Face kFaces[6] = {
    {{0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {{0, 0, -1},
     {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}},
     {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}, {{0, 1}, {0, 0}, {1, 0}, {1, 1}}},
    {{0, -1, 0},
     {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
     {{1, 1}, {0, 1}, {0, 0}, {1, 0}}},
    {{1, 0, 0}, {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    {{-1, 0, 0},
     {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
};
enum { kFront, kBack, kTop, kBottom, kRight, kLeft };

void PlainFace(const Face& f) {
  glNormal3f(f.normal[0], f.normal[1], f.normal[2]);
  for (const GLfloat* c : f.corner) glVertex3f(c[0], c[1], c[2]);
}

void TexturedFace(const Face& f) {
  glNormal3f(f.normal[0], f.normal[1], f.normal[2]);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2d(f.tex[i][0], f.tex[i][1]);
    glVertex3f(f.corner[i][0], f.corner[i][1], f.corner[i][2]);
  }
}

// An index outside the view's four textures binds no texture rather than
// reading past the array.
GLuint TextureName(const ViewState& view, int index) {
  return index >= 0 && index < kTextureSlots ? view.textures[index] : 0;
}

}  // namespace

void DrawSphereText(ViewState& view, const char* text, float x, float y, float z, float r, float g,
                    float b, float scale, int lightMode, int wave) {
  if (lightMode == 0)
    EnableLights();
  else if (lightMode == 1)
    SetupSpotLights();
  glColor3f(r, g, b);

  float pen = x;
  int i = 0;
  for (const char* p = text ? text : ""; *p; ++p, ++i) {
    if (*p == ' ') {
      pen += 4 / scale;
      continue;
    }
    const Glyph* glyph = FindGlyph(*p);
    // No quadric when the context could not be made at start-up.
    if (glyph && view.quadric && (wave == 0 || wave == 1)) {
      // The whole letter bobs by one offset; letters are 30 degrees apart.
      const double bob =
          wave == 1 ? std::cos((static_cast<float>(30 * i) + view.frameAngle) * kDegToRad) : 0.0;
      for (int row = 2; row <= 8; ++row)
        for (int column = 2; column <= 8; ++column) {
          if (glyph->rows[row - 2][column - 2] != 'o') continue;
          const float u = (column - 1) / scale, v = (row - 1) / scale;
          glPushMatrix();
          glTranslatef(pen + u, y, static_cast<float>(z + v + bob));
          gluSphere(view.quadric, 1 / scale, 8, 8);
          glPopMatrix();
        }
    }
    pen += 8 / scale;
  }
  DisableLights();
}

void DrawQuadText(ViewState& view, const char* text, float x, float y, float z, float size, float r,
                  float g, float b) {
  glColor3f(r, g, b);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, view.textures[kFontTexture]);
  // Added onto the picture; hidden behind nearer geometry but hiding nothing.
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDepthMask(GL_FALSE);
  const char* t = text ? text : "";
  const size_t length = std::strlen(t);
  for (size_t i = 0; i < length;) {
    // UTF-8, in the sheet's cells; control characters take no place.
    const int glyph = NextFontCell(t, length, i);
    if (glyph < 0) continue;
    const int column = glyph % 16, row = glyph / 16;
    const float s0 = column / 16.0f, t0 = (15 - row) / 16.0f, cell = 1 / 16.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex3f(x, y, z);
    glTexCoord2f(s0 + cell, t0);
    glVertex3f(x + size, y, z);
    glTexCoord2f(s0 + cell, t0 + cell);
    glVertex3f(x + size, y + size, z);
    glTexCoord2f(s0, t0 + cell);
    glVertex3f(x, y + size, z);
    glEnd();
    x += size;
  }
  glDisable(GL_BLEND);
  glDepthMask(GL_TRUE);
  glDisable(GL_TEXTURE_2D);
}

void DrawCube(ViewState& view, float px, float py, float pz, float sx, float sy, float sz,
              int sideTexture, int capTexture) {
  if (sideTexture < 0) {
    glPushMatrix();
    glTranslatef(px, py, pz);
    glScalef(sx, sy, sz);
    glBegin(GL_QUADS);
    for (const Face& f : kFaces) PlainFace(f);
    glEnd();
    glPopMatrix();
    return;
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, TextureName(view, sideTexture));
  glPushMatrix();
  glTranslatef(px, py, pz);
  glScalef(sx, sy, sz);
  glBegin(GL_QUADS);
  TexturedFace(kFaces[kFront]);
  TexturedFace(kFaces[kBack]);
  TexturedFace(kFaces[kRight]);
  TexturedFace(kFaces[kLeft]);
  glEnd();
  glPopMatrix();
  glBindTexture(GL_TEXTURE_2D, TextureName(view, capTexture));
  glPushMatrix();
  glTranslatef(px, py, pz);
  glScalef(sx, sy, sz);
  glBegin(GL_QUADS);
  TexturedFace(kFaces[kTop]);
  TexturedFace(kFaces[kBottom]);
  glEnd();
  glPopMatrix();
  glDisable(GL_TEXTURE_2D);
}

}  // namespace vm
