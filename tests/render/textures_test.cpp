#include "render/textures.h"

#include <GL/gl.h>

#include <vector>

#include "platform/bitmap.h"
#include "platform/resources.h"
#include "tests/support/gl_context.h"
#include "tests/support/memory_platform.h"

namespace {

class TexturesTest : public vmtest::GlTest {
 protected:
  void SetUp() override {
    vmtest::GlTest::SetUp();
    glDisable(GL_TEXTURE_2D);
  }
  // Level-0 texels of the bound texture, RGBA, texel row 0 first.
  static std::vector<unsigned char> Texels(int& w, int& h) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<unsigned char> t(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!t.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.data());
    return t;
  }
  vm::ViewState view;
  vm::MemoryPlatform platform;
};

TEST_F(TexturesTest, EachPictureIsUploadedTopRowFirstWithRedAndBlueExchanged) {
  const struct { int resource, index; } cases[] = {{132, 0}, {136, 1}, {137, 2}, {144, 3}};
  for (const auto& c : cases) {
    vmtest::ResetGlCounts();
    EXPECT_EQ(vm::LoadTexture(view, platform, c.resource, c.index), 1);
    ASSERT_NE(view.textures[c.index], 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), view.textures[c.index]);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GL_COUNT(gluBuild2DMipmaps), 1);

    GLint mag = 0, min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(mag, GL_LINEAR);
    EXPECT_EQ(min, GL_LINEAR_MIPMAP_NEAREST);

    const vm::EmbeddedResource* r = vm::FindResource(c.resource);
    vm::Bitmap picture;
    ASSERT_TRUE(vm::DecodeBitmap(r->data, r->size, picture));
    int w = 0, h = 0;
    const std::vector<unsigned char> t = Texels(w, h);
    ASSERT_EQ(w, picture.width);
    ASSERT_EQ(h, picture.height);
    int mismatches = 0;
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i)
      if (t[i * 4] != picture.rgb[i * 3 + 2] || t[i * 4 + 1] != picture.rgb[i * 3 + 1] ||
          t[i * 4 + 2] != picture.rgb[i * 3])
        ++mismatches;
    EXPECT_EQ(mismatches, 0) << "resource " << c.resource;

    // The whole chain down to 1 x 1, the picture never rescaled.
    int levels = 0;
    for (GLint lw = w; lw >= 1; lw /= 2) ++levels;
    GLint last = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, levels - 1, GL_TEXTURE_WIDTH, &last);
    EXPECT_EQ(last, 1);
  }
}

// Lit texels of a font cell per texel row, rows t0 .. t0 + 15 of the cell
// that DrawQuadText uses for `ch`.
std::vector<int> CellRows(const std::vector<unsigned char>& t, int ch) {
  const int column = (ch - 32) % 16, row = (ch - 32) / 16;
  std::vector<int> lit(16, 0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const size_t texel = static_cast<size_t>((15 - row) * 16 + y) * 256 + column * 16 + x;
      if (t[texel * 4] > 128) ++lit[y];
    }
  return lit;
}

TEST_F(TexturesTest, FontCellsHoldTheirGlyphsUprightAlongT) {
  vm::LoadTexture(view, platform, 144, 3);
  int w = 0, h = 0;
  const std::vector<unsigned char> t = Texels(w, h);
  ASSERT_EQ(w, 256);
  auto total = [](const std::vector<int>& rows, int from, int to) {
    int n = 0;
    for (int y = from; y < to; ++y) n += rows[y];
    return n;
  };
  EXPECT_GT(total(CellRows(t, 'A'), 0, 16), 20);
  EXPECT_EQ(total(CellRows(t, ' '), 0, 16), 0);
  EXPECT_EQ(total(CellRows(t, 127), 0, 16), 0);
  // The quad's foot is the cell's low-t edge: "_" sits there, "^" at the head.
  const std::vector<int> low = CellRows(t, '_'), high = CellRows(t, '^');
  EXPECT_GT(total(low, 0, 5), 0);
  EXPECT_EQ(total(low, 5, 16), 0);
  EXPECT_GT(total(high, 8, 16), 0);
  EXPECT_EQ(total(high, 0, 8), 0);
}

TEST_F(TexturesTest, AMissingPictureIsReportedAndLeavesAnEmptyTexture) {
  EXPECT_EQ(vm::LoadTexture(view, platform, 999, 2), 1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], "Error Loading Texture");
  EXPECT_NE(view.textures[2], 0u);
  EXPECT_EQ(GL_COUNT(gluBuild2DMipmaps), 0);
  int w = -1, h = -1;
  EXPECT_TRUE(Texels(w, h).empty());
  EXPECT_EQ(w, 0);
}

}  // namespace
