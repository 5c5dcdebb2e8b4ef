#include <GL/gl.h>

#include <cstdlib>
#include <vector>

#include "render/primitives.h"
#include "render/textures.h"
#include "tests/support/gl_context.h"
#include "tests/support/memory_platform.h"

namespace {

class QuadTextTest : public vmtest::GlTest {
 protected:
  void SetUp() override {
    vmtest::GlTest::SetUp();
    if (!font) {
      vm::ViewState loaded;
      vm::MemoryPlatform platform;
      vm::LoadTexture(loaded, platform, 144, 3);
      font = loaded.textures[3];
    }
    view.textures[3] = font;
    // One unit per pixel, origin at the bottom left of the 1024 x 768 surface.
    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1024, 0, 768, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
  }
  static GLuint font;
  vm::ViewState view;
};
GLuint QuadTextTest::font = 0;

// Red channel of the font texture, texel row 0 first.
std::vector<unsigned char> FontTexels(GLuint name) {
  glBindTexture(GL_TEXTURE_2D, name);
  std::vector<unsigned char> t(256 * 256 * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.data());
  return t;
}

// How many of a 16 x 16 block at (x, y) differ from the font cell of `ch`
// by more than rounding; the block's bottom pixel row shows the cell's
// lowest texel row.
int CellDifferences(const std::vector<unsigned char>& texels, int x, int y, int ch) {
  std::vector<unsigned char> px(16 * 16 * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 16, 16, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  const int column = (ch - 32) % 16, row = (ch - 32) / 16;
  int differences = 0;
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) {
      const int want = ch < 0 ? 0 : texels[(((15 - row) * 16 + j) * 256 + column * 16 + i) * 4];
      if (std::abs(px[(j * 16 + i) * 4] - want) > 2) ++differences;
    }
  return differences;
}

TEST_F(QuadTextTest, CharactersTakeTheirCellsAndSkippedBytesLeaveNoGap) {
  vm::DrawQuadText(view, "\tA\x80_\x01g\xff", 32, 48, 0, 16, 1, 1, 1);
  EXPECT_EQ(vmtest::gGl.beginByMode[GL_QUADS], 3);
  EXPECT_EQ(vmtest::gGl.verticesByMode[GL_QUADS], 12);
  EXPECT_EQ(GL_COUNT(glTexCoord2f), 12);
  const std::vector<unsigned char> t = FontTexels(font);
  EXPECT_EQ(CellDifferences(t, 32, 48, 'A'), 0);
  EXPECT_EQ(CellDifferences(t, 48, 48, '_'), 0);
  EXPECT_EQ(CellDifferences(t, 64, 48, 'g'), 0);
  EXPECT_EQ(CellDifferences(t, 80, 48, -1), 0);   // nothing after the last one
  EXPECT_GT(CellDifferences(t, 32, 48, -1), 20);  // and "A" is not blank
}

TEST_F(QuadTextTest, TextIsAddedWithoutDepthWritesAndTheStateSwitchedBack) {
  for (const char* text : {"", "AB"}) {
    vmtest::ResetGlCounts();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    vm::DrawQuadText(view, text, 0, 0, 0.5f, 16, 0.5f, 0.5f, 0.5f);
    EXPECT_EQ(GL_COUNT(glDepthMask), 2) << text;
    EXPECT_EQ(GL_COUNT(glBindTexture), 1) << text;
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << text;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << text;
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_TRUE(mask) << text;
    GLint src = 0, dst = 0, bound = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_EQ(static_cast<GLuint>(bound), font);
  }
  // Drawn twice at half intensity the glyph adds up; the depth buffer kept
  // its cleared value, so the second pass was not hidden by the first.
  const std::vector<unsigned char> t = FontTexels(font);
  glClear(GL_COLOR_BUFFER_BIT);
  vm::DrawQuadText(view, "A", 0, 0, 0.5f, 16, 0.5f, 0.5f, 0.5f);
  vm::DrawQuadText(view, "A", 0, 0, 0.5f, 16, 0.5f, 0.5f, 0.5f);
  EXPECT_EQ(CellDifferences(t, 0, 0, 'A'), 0);
  GLfloat depth = 0;
  glReadPixels(8, 8, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_FLOAT_EQ(depth, 1.0f);
}

}  // namespace
