// The program's icons as toolkit images, decoded from the embedded bitmaps.
#pragma once

class Fl_RGB_Image;

namespace vm {

// Decoded on first use and kept for the whole process (the toolkit does not
// copy what a widget shows); nullptr when the resource is missing or bad.
Fl_RGB_Image* IconImage(int resourceId);

}  // namespace vm
