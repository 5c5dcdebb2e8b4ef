#include <GL/gl.h>

#include <array>
#include <cmath>
#include <vector>

#include "render/lights.h"
#include "render/primitives.h"
#include "tests/support/gl_context.h"

namespace {

// A vertex as the pipeline returns it in feedback mode: window position,
// lit colour (red and green) and texture coordinate.
struct FbVertex {
  float x, y, z, red, green, s, t;
};
using Triangle = std::array<FbVertex, 3>;

struct Corner {
  float x, y, z, s, t;
};
struct Face {
  const char* name;
  float nx, ny, nz;
  Corner corners[4];
};
const Face kFront = {
    "front", 0, 0, 1, {{-1, -1, 1, 0, 0}, {1, -1, 1, 1, 0}, {1, 1, 1, 1, 1}, {-1, 1, 1, 0, 1}}};
const Face kBack = {
    "back", 0, 0, -1, {{-1, -1, -1, 1, 0}, {-1, 1, -1, 1, 1}, {1, 1, -1, 0, 1}, {1, -1, -1, 0, 0}}};
const Face kTop = {
    "top", 0, 1, 0, {{-1, 1, -1, 0, 1}, {-1, 1, 1, 0, 0}, {1, 1, 1, 1, 0}, {1, 1, -1, 1, 1}}};
const Face kBottom = {"bottom",
                      0,
                      -1,
                      0,
                      {{-1, -1, -1, 1, 1}, {1, -1, -1, 0, 1}, {1, -1, 1, 0, 0}, {-1, -1, 1, 1, 0}}};
const Face kRight = {
    "right", 1, 0, 0, {{1, -1, -1, 1, 0}, {1, 1, -1, 1, 1}, {1, 1, 1, 0, 1}, {1, -1, 1, 0, 0}}};
const Face kLeft = {
    "left", -1, 0, 0, {{-1, -1, -1, 0, 0}, {-1, -1, 1, 1, 0}, {-1, 1, 1, 1, 1}, {-1, 1, -1, 0, 1}}};

// The red light shines along +(1, 2, 4), the green one the opposite way, so
// each of the six face normals gets its own pair of diffuse terms.
const float kLight[3] = {1 / std::sqrt(21.0f), 2 / std::sqrt(21.0f), 4 / std::sqrt(21.0f)};

class CubeTest : public vmtest::GlTest {
 protected:
  void SetUp() override {
    vmtest::GlTest::SetUp();
    view.textures[0] = 11;
    view.textures[1] = 12;
    view.textures[3] = 14;
    // Window coordinates = object coordinates + 10 (z: 0.5 - z / 20).
    glViewport(0, 0, 20, 20);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
  }
  void TearDown() override {
    glDisable(GL_NORMALIZE);
    const GLfloat defaultAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, defaultAmbient);
    vm::SetupPointLights();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, 1024, 768);
  }

  // Draws with two coloured directional lights and returns the triangles.
  template <typename Draw>
  std::vector<Triangle> Feedback(Draw draw) {
    const GLfloat zero[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1}, red[4] = {1, 0, 0, 1},
                  green[4] = {0, 1, 0, 1};
    const GLfloat toRed[4] = {kLight[0], kLight[1], kLight[2], 0};
    const GLfloat toGreen[4] = {-kLight[0], -kLight[1], -kLight[2], 0};
    glDisable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, zero);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
    for (int i = 0; i < 2; ++i) {
      glLightfv(GL_LIGHT0 + i, GL_AMBIENT, zero);
      glLightfv(GL_LIGHT0 + i, GL_SPECULAR, zero);
      glLightf(GL_LIGHT0 + i, GL_SPOT_CUTOFF, 180);
      glEnable(GL_LIGHT0 + i);
    }
    glLightfv(GL_LIGHT0, GL_DIFFUSE, red);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, green);
    glLightfv(GL_LIGHT0, GL_POSITION, toRed);
    glLightfv(GL_LIGHT1, GL_POSITION, toGreen);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);  // the cube is scaled

    std::vector<GLfloat> buf(8192);
    glFeedbackBuffer(static_cast<GLsizei>(buf.size()), GL_3D_COLOR_TEXTURE, buf.data());
    glRenderMode(GL_FEEDBACK);
    vmtest::ResetGlCounts();
    draw();
    const int n = glRenderMode(GL_RENDER);

    std::vector<Triangle> out;
    for (int i = 0; i < n;) {
      EXPECT_EQ(buf[i], GL_POLYGON_TOKEN);
      EXPECT_EQ(buf[i + 1], 3);
      Triangle tri;
      for (int v = 0; v < 3; ++v) {
        const GLfloat* f = &buf[i + 2 + v * 11];
        tri[v] = {f[0], f[1], f[2], f[3], f[4], f[7], f[8]};
      }
      out.push_back(tri);
      i += 2 + 3 * 11;
    }
    return out;
  }

  vm::ViewState view;
};

// Each face must arrive as two triangles made of its own corners, with its
// normal (seen through the lights) and, if textured, its texture coordinates.
void ExpectFaces(const std::vector<Triangle>& tris, std::vector<const Face*> order,
                 const float p[3], const float sc[3], bool textured) {
  ASSERT_EQ(tris.size(), order.size() * 2);
  for (size_t f = 0; f < order.size(); ++f) {
    const Face& face = *order[f];
    const float dot = face.nx * kLight[0] + face.ny * kLight[1] + face.nz * kLight[2];
    bool seen[4] = {false, false, false, false};
    for (int k = 0; k < 2; ++k)
      for (const FbVertex& v : tris[f * 2 + k]) {
        EXPECT_NEAR(v.red, std::fmax(0.0f, dot), 2e-3) << face.name;
        EXPECT_NEAR(v.green, std::fmax(0.0f, -dot), 2e-3) << face.name;
        int match = -1;
        for (int c = 0; c < 4; ++c) {
          const Corner& k3 = face.corners[c];
          if (std::fabs(v.x - (p[0] + sc[0] * k3.x + 10)) < 1e-3f &&
              std::fabs(v.y - (p[1] + sc[1] * k3.y + 10)) < 1e-3f &&
              std::fabs(v.z - (0.5f - (p[2] + sc[2] * k3.z) / 20)) < 1e-4f)
            match = c;
        }
        ASSERT_GE(match, 0) << face.name << " has a stray corner";
        seen[match] = true;
        if (textured) {
          EXPECT_FLOAT_EQ(v.s, face.corners[match].s) << face.name << " corner " << match;
          EXPECT_FLOAT_EQ(v.t, face.corners[match].t) << face.name << " corner " << match;
        }
      }
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(seen[c]) << face.name << " corner " << c;
  }
}

TEST_F(CubeTest, PlainCubeIsOneGroupOfSixFacesInOrder) {
  const float p[3] = {1, 2, 3}, s[3] = {0.5f, 1, 2};
  const auto tris = Feedback([&] { vm::DrawCube(view, 1, 2, 3, 0.5f, 1, 2, -1, 0); });
  ExpectFaces(tris, {&kFront, &kBack, &kTop, &kBottom, &kRight, &kLeft}, p, s, false);
  EXPECT_EQ(vmtest::gGl.beginByMode[GL_QUADS], 1);
  EXPECT_EQ(GL_COUNT(glBegin), 1);
  EXPECT_EQ(vmtest::gGl.verticesByMode[GL_QUADS], 24);
  EXPECT_EQ(GL_COUNT(glNormal3f), 6);
  EXPECT_EQ(GL_COUNT(glTexCoord2d), 0);
  EXPECT_EQ(GL_COUNT(glBindTexture), 0);
  EXPECT_EQ(GL_COUNT(glEnable), 0);
  EXPECT_EQ(GL_COUNT(glColor3f), 0);
  EXPECT_EQ(GL_COUNT(glPushMatrix), 1);
  EXPECT_EQ(GL_COUNT(glPopMatrix), 1);
}

TEST_F(CubeTest, TexturedCubeBindsSidesThenCaps) {
  const float p[3] = {-1, 0.5f, 2}, s[3] = {2, 0.5f, 1};
  const auto tris = Feedback([&] { vm::DrawCube(view, -1, 0.5f, 2, 2, 0.5f, 1, 0, 3); });
  ExpectFaces(tris, {&kFront, &kBack, &kRight, &kLeft, &kTop, &kBottom}, p, s, true);
  EXPECT_EQ(vmtest::gGl.beginByMode[GL_QUADS], 2);
  EXPECT_EQ(vmtest::gGl.verticesByMode[GL_QUADS], 24);
  EXPECT_EQ(GL_COUNT(glNormal3f), 6);
  EXPECT_EQ(GL_COUNT(glTexCoord2d), 24);
  EXPECT_EQ(GL_COUNT(glBindTexture), 2);
  EXPECT_EQ(GL_COUNT(glPushMatrix), 2);
  EXPECT_EQ(GL_COUNT(glPopMatrix), 2);
  EXPECT_EQ(GL_COUNT(glTranslatef), 2);
  EXPECT_EQ(GL_COUNT(glScalef), 2);
}

TEST_F(CubeTest, TexturedCubeLeavesTexturingOffAndTheMatrixAsFound) {
  glTranslatef(1, 2, 3);
  GLfloat before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  for (int cap : {3, 1, 7, -2}) {
    glEnable(GL_TEXTURE_2D);
    vm::DrawCube(view, 0, 0, 0, 0.1f, 0.1f, 0.1f, 1, cap);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    // An index outside the four textures binds none instead of reading past them.
    EXPECT_EQ(static_cast<GLuint>(bound), cap >= 0 && cap < 4 ? view.textures[cap] : 0u);
  }
  glEnable(GL_TEXTURE_2D);
  vm::DrawCube(view, 0, 0, 0, 1, 1, 1, -1, 0);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));  // the plain form does not touch it
  glDisable(GL_TEXTURE_2D);
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(after[i], before[i]);
  glLoadIdentity();
}

}  // namespace
