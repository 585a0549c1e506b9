#include "app/viewer_ctrl.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr unsigned char kBlackRgb[3] = {0, 0, 0};

}  // namespace

CViewerCtrl::CViewerCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  FitSurface();
  Bind(wxEVT_PAINT, &CViewerCtrl::OnPaint, this);
  Bind(wxEVT_SIZE, &CViewerCtrl::OnSize, this);
}

bool CViewerCtrl::FitSurface() {
  const wxSize client = GetClientSize();
  const int width = std::max(0, client.x - 2 * kEdge);
  const int height = std::max(0, client.y - 2 * kEdge);
  if (image_.IsOk() && width == surface_.Width() && height == surface_.Height())
    return false;
  surface_.Resize(width, height);
  image_.Create(std::max(1, width), std::max(1, height), false);
  force_paint_ = true;
  ShowSurface();
  return true;
}

void CViewerCtrl::ShowSurface() {
  const int width = surface_.Width();
  const int height = surface_.Height();
  if (!image_.IsOk() || image_.GetWidth() < width || image_.GetHeight() < height)
    return;
  unsigned char* data = image_.GetData();
  const int stride = image_.GetWidth() * 3;
  bool changed = false;
  for (int y = 0; y < height; ++y) {
    const uint8_t* dots = surface_.Row(y);
    unsigned char* px = data + size_t(y) * stride;
    for (int x = 0; x < width; ++x, px += 3) {
      const unsigned char* colour = dots[x] ? kBlackRgb : kGroundRgb;
      if (std::memcmp(px, colour, 3) != 0) {
        std::memcpy(px, colour, 3);
        changed = true;
      }
    }
  }
  // Only a change repaints: the form's every paint redraws the surface, and on GTK a
  // repaint of the viewer can bring another paint of the form.
  if (changed || force_paint_)
    Refresh(false);
  force_paint_ = false;
}

void CViewerCtrl::OnSize(wxSizeEvent& event) {
  FitSurface();
  event.Skip();
}

void CViewerCtrl::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize client = GetClientSize();
  // The sunken edge: dark above and to the left, lighter below and to the right.
  dc.SetPen(wxPen(wxColour(0x80, 0x80, 0x80)));
  dc.DrawLine(0, 0, client.x, 0);
  dc.DrawLine(0, 0, 0, client.y);
  dc.SetPen(wxPen(wxColour(0xC8, 0xC8, 0xC8)));
  dc.DrawLine(0, client.y - 1, client.x, client.y - 1);
  dc.DrawLine(client.x - 1, 0, client.x - 1, client.y);
  if (surface_.Width() == 0 || surface_.Height() == 0)
    return;
  // One dot a block of whole device pixels: scale the image up without smoothing and tell
  // the bitmap its scale, so that it covers the same logical area.
  const int block = std::max(1, int(std::lround(GetContentScaleFactor())));
  wxImage shown = image_.GetSubImage(wxRect(0, 0, surface_.Width(), surface_.Height()));
  if (block > 1) {
    shown.Rescale(shown.GetWidth() * block, shown.GetHeight() * block, wxIMAGE_QUALITY_NEAREST);
  }
  dc.DrawBitmap(wxBitmap(shown, -1, double(block)), kEdge, kEdge);
}
