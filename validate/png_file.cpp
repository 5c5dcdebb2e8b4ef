#include "validate/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace vm {
namespace {

// libpng reports errors by longjmp; the message is kept for the caller.
struct PngIo {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::size_t at = 0;
  std::string* out = nullptr;
  std::string error;
};

void OnError(png_structp png, png_const_charp message) {
  static_cast<PngIo*>(png_get_error_ptr(png))->error = message;
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void Write(png_structp png, png_bytep bytes, png_size_t n) {
  static_cast<PngIo*>(png_get_io_ptr(png))->out->append(reinterpret_cast<char*>(bytes), n);
}

void Flush(png_structp) {}

void Read(png_structp png, png_bytep bytes, png_size_t n) {
  PngIo* io = static_cast<PngIo*>(png_get_io_ptr(png));
  if (n > io->size - io->at) png_error(png, "the picture is cut short");
  std::memcpy(bytes, io->data + io->at, n);
  io->at += n;
}

}  // namespace

bool EncodePng(const RgbImage& image, std::string& png, std::string& error) {
  PngIo io;
  io.out = &png;
  png.clear();
  png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  png_infop info = p ? png_create_info_struct(p) : nullptr;
  std::vector<png_bytep> rows(static_cast<size_t>(image.height));
  if (!info || setjmp(png_jmpbuf(p))) {
    error = io.error.empty() ? "out of memory" : io.error;
    png_destroy_write_struct(&p, &info);
    return false;
  }
  png_set_write_fn(p, &io, Write, Flush);
  png_set_compression_level(p, 9);
  png_set_IHDR(p, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  for (int y = 0; y < image.height; ++y)
    rows[static_cast<size_t>(y)] =
        const_cast<png_bytep>(image.pixels.data() + static_cast<size_t>(y) * image.width * 3);
  png_set_rows(p, info, rows.data());
  png_write_png(p, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&p, &info);
  return true;
}

bool DecodePng(const unsigned char* data, std::size_t size, RgbImage& image, std::string& error) {
  PngIo io;
  io.data = data;
  io.size = size;
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
    error = "not a PNG picture";
    return false;
  }
  png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  png_infop info = p ? png_create_info_struct(p) : nullptr;
  std::vector<png_bytep> rows;  // before setjmp: a longjmp skips destructors
  if (!info || setjmp(png_jmpbuf(p))) {
    error = io.error.empty() ? "out of memory" : io.error;
    png_destroy_read_struct(&p, &info, nullptr);
    return false;
  }
  png_set_read_fn(p, &io, Read);
  png_set_user_limits(p, 16384, 16384);
  png_read_info(p, info);
  png_set_expand(p);
  png_set_strip_16(p);
  png_set_strip_alpha(p);
  png_set_gray_to_rgb(p);
  png_set_interlace_handling(p);
  png_read_update_info(p, info);
  image.width = static_cast<int>(png_get_image_width(p, info));
  image.height = static_cast<int>(png_get_image_height(p, info));
  image.pixels.assign(static_cast<size_t>(image.width) * image.height * 3, 0);
  rows.resize(static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y)
    rows[static_cast<size_t>(y)] = image.pixels.data() + static_cast<size_t>(y) * image.width * 3;
  png_read_image(p, rows.data());
  png_read_end(p, nullptr);
  png_destroy_read_struct(&p, &info, nullptr);
  return true;
}

}  // namespace vm
