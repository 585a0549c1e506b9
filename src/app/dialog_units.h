// Layout tables in dialog units and their one fixed conversion to pixels: the base units of
// an 8-point form font, 6 by 13 pixels at 96 DPI (4 horizontal units to a base unit across,
// 8 vertical units down), rounded half away from zero. Rectangles convert edge by edge, so
// controls that touch in units touch in pixels.
#pragma once

#include <cstdint>

inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;

// a * b / c rounded half away from zero.
constexpr int MulDiv(int a, int b, int c) {
  const int64_t p = int64_t(a) * b;
  const int64_t q = c < 0 ? -int64_t(c) : int64_t(c);
  const int64_t s = ((p < 0) != (c < 0)) ? -1 : 1;
  const int64_t m = p < 0 ? -p : p;
  return int(s * ((2 * m + q) / (2 * q)));
}

constexpr int DluToPxX(int x) {
  return MulDiv(x, kBaseUnitX, 4);
}
constexpr int DluToPxY(int y) {
  return MulDiv(y, kBaseUnitY, 8);
}

// A control's rectangle in dialog units and in pixels.
struct DluRect {
  int x, y, w, h;
};
struct PxRect {
  int x, y, w, h;
};

constexpr PxRect DluToPx(DluRect r) {
  const int left = DluToPxX(r.x);
  const int top = DluToPxY(r.y);
  return {left, top, DluToPxX(r.x + r.w) - left, DluToPxY(r.y + r.h) - top};
}
