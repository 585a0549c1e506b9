#include "display/surface.h"

#include <algorithm>

void Surface::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  dots_.assign(size_t(width_) * height_, 0);
}

void Surface::Fill() {
  std::fill(dots_.begin(), dots_.end(), 0);
}
