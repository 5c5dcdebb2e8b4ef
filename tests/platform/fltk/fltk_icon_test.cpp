#include "platform/fltk/fltk_icon.h"

#include <FL/Fl_RGB_Image.H>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/bitmap.h"
#include "platform/resources.h"

namespace {

TEST(FltkIcon, IconsAreTheirDecodedBitmapsAndKeptForReuse) {
  for (int id : {128, 129}) {
    Fl_RGB_Image* icon = vm::IconImage(id);
    ASSERT_NE(icon, nullptr) << id;
    EXPECT_EQ(icon->w(), 32);
    EXPECT_EQ(icon->h(), 32);
    EXPECT_EQ(icon->d(), 3);
    EXPECT_EQ(vm::IconImage(id), icon);
    const vm::EmbeddedResource* r = vm::FindResource(id);
    vm::Bitmap bm;
    ASSERT_TRUE(vm::DecodeBitmap(r->data, r->size, bm));
    const unsigned char* pixels = reinterpret_cast<const unsigned char*>(icon->data()[0]);
    EXPECT_TRUE(std::equal(bm.rgb.begin(), bm.rgb.end(), pixels)) << id;
  }
  EXPECT_EQ(vm::IconImage(999), nullptr);
  EXPECT_EQ(vm::IconImage(999), nullptr);
}

}  // namespace
