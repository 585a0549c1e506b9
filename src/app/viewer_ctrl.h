// The viewer: a control that shows the render pass's surface, one dot a block of whole
// device pixels, inside a one-pixel sunken edge.
#pragma once

#include <wx/image.h>
#include <wx/window.h>

#include "display/surface.h"

class CViewerCtrl : public wxWindow {
 public:
  // The sunken edge around the dots, in pixels on each side.
  static constexpr int kEdge = 1;

  CViewerCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

  // The dots: the client area inside the edge, in logical pixels, so that the dot grid stays
  // the same on a screen with a scale factor above 1.
  Surface& GetSurface() { return surface_; }
  // Takes the surface's dots into the backing image and repaints the control where that
  // changed the image.
  void ShowSurface();
  // The backing image: one pixel a dot, ground 0x7F 0xFF 0xFF, black dots.
  const wxImage& GetImage() const { return image_; }

  bool AcceptsFocus() const override { return false; }
  bool AcceptsFocusFromKeyboard() const override { return false; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  // Sizes the surface and the image to the client area; true when the size changed.
  bool FitSurface();

  Surface surface_;
  wxImage image_;
  bool force_paint_ = false;  // the image is new: paint it even if no dot changed
};
