#include "app/app_icon.h"

#include <wx/bitmap.h>
#include <wx/icon.h>

namespace {

struct Rgb {
  unsigned char r, g, b;
};
constexpr Rgb kBlue{0x00, 0x00, 0xFF};
constexpr Rgb kNavy{0x00, 0x00, 0x80};
constexpr Rgb kLightCyan{0x00, 0xFF, 0xFF};
constexpr Rgb kYellow{0xFF, 0xFF, 0x00};

// Fills the rectangle [x0, x1) x [y0, y1), given on a 32-pixel grid, scaled to the image.
void Fill(wxImage& image, int x0, int y0, int x1, int y1, Rgb c) {
  const int size = image.GetWidth();
  auto scale = [size](int v) { return v * size / 32; };
  for (int y = scale(y0); y < scale(y1); ++y) {
    for (int x = scale(x0); x < scale(x1); ++x) {
      image.SetRGB(x, y, c.r, c.g, c.b);
    }
  }
}

}  // namespace

wxImage MakeAppImage(int size) {
  wxImage image(size, size);
  Fill(image, 0, 0, 32, 32, kNavy);
  Fill(image, 2, 2, 30, 30, kBlue);
  // The panel: light cyan with rows of blue strokes, like text on the viewer.
  Fill(image, 4, 4, 28, 16, kLightCyan);
  Fill(image, 6, 6, 12, 8, kBlue);
  Fill(image, 14, 6, 20, 8, kBlue);
  Fill(image, 22, 6, 26, 8, kBlue);
  Fill(image, 6, 10, 16, 12, kBlue);
  Fill(image, 18, 10, 24, 12, kBlue);
  // The cross.
  Fill(image, 22, 18, 26, 30, kYellow);
  Fill(image, 18, 22, 30, 26, kYellow);
  return image;
}

wxIconBundle MakeAppIcons() {
  wxIconBundle icons;
  for (const int size : {16, 32}) {
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(MakeAppImage(size)));
    icons.AddIcon(icon);
  }
  return icons;
}
