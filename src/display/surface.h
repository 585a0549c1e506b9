// The viewer surface: a grid of dots the render pass draws on, one byte a dot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Ground colour of the viewer (0x7F 0xFF 0xFF) and the dot colour (black).
inline constexpr uint8_t kGroundRgb[3] = {0x7F, 0xFF, 0xFF};

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height) { Resize(width, height); }

  // Resizing leaves every dot at the ground colour.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Every dot to the ground colour.
  void Fill();
  // One black dot; dots outside the surface are clipped.
  void Dot(int x, int y) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
      dots_[size_t(y) * width_ + x] = 1;
  }
  bool IsDot(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && dots_[size_t(y) * width_ + x] != 0;
  }
  const uint8_t* Row(int y) const { return dots_.data() + size_t(y) * width_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> dots_;  // 1 = black
};
