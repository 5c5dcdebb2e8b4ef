// The procedural pictures: sky, cloth, metal and the two icons.
#pragma once

#include "image.h"

Image MakeClouds(int side);
Image MakeTartan(int side);
Image MakeChrome(int side);
Image MakeProgramIcon(int side = 32);
Image MakeDocumentIcon();
