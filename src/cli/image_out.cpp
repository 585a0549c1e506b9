#include "cli/image_out.h"

#include <png.h>

#include <vector>

std::string EncodePbm(const Surface& s, int scale) {
  const int w = s.Width() * scale;
  const int h = s.Height() * scale;
  std::string out = "P4\n" + std::to_string(w) + " " + std::to_string(h) + "\n";
  const size_t row_bytes = (size_t(w) + 7) / 8;
  std::string row(row_bytes, '\0');
  for (int y = 0; y < s.Height(); ++y) {
    row.assign(row_bytes, '\0');
    const uint8_t* dots = s.Row(y);
    for (int x = 0; x < w; ++x) {
      if (dots[x / scale])
        row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
    }
    for (int k = 0; k < scale; ++k)
      out += row;
  }
  return out;
}

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

void NoWarning(png_structp, png_const_charp) {}

}  // namespace

std::string EncodePng(const Surface& s, int scale) {
  std::string out;
  const int w = s.Width() * scale;
  const int h = s.Height() * scale;
  if (w == 0 || h == 0)
    return out;  // PNG has no empty images
  // Errors end in the longjmp below; warnings are not for the user.
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, NoWarning);
  if (!png)
    return out;
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row(size_t(w) * 3);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return std::string();
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < s.Height(); ++y) {
    const uint8_t* dots = s.Row(y);
    for (int x = 0; x < w; ++x) {
      const bool black = dots[x / scale] != 0;
      for (int c = 0; c < 3; ++c)
        row[size_t(x) * 3 + c] = black ? 0 : kGroundRgb[c];
    }
    for (int k = 0; k < scale; ++k)
      png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}
