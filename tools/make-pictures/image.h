// A plain RGB canvas and the 24-bit bitmap file writer the program embeds.
#pragma once

#include <string>
#include <vector>

struct Rgb {
  unsigned char r, g, b;
};

struct Image {
  Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, Rgb{0, 0, 0}) {}
  Rgb& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }  // y = 0 on top
  int width, height;
  std::vector<Rgb> pixels;
};

unsigned char Clamp8(double v);
Rgb Mix(Rgb a, Rgb b, double t);

// Bottom-up, uncompressed, 24 bits per pixel; false if the file cannot be written.
bool WriteBmp(const Image& image, const std::string& path);
