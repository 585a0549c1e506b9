// A view on an in-memory form, with the state reset, and helpers to read the viewer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "display/glyph.h"
#include "view/memory_form.h"
#include "view/state.h"
#include "view/tobiuox_view.h"

class ViewTest : public ::testing::Test {
 protected:
  ViewTest() : form(100, 100), view(form) { ResetState(); }

  void SetSize(int w, int h) { form.Viewer().Resize(w, h); }
  // The text goes in as the user's edit, which runs a refresh.
  void Edit(const std::string& text) {
    form.SetEditorText(text);
    view.RefreshViewer();
  }
  void Click(int mode) {
    form.ClickRadio(RadioOfMode(mode));
    view.OnRadio(mode);
  }

  // The 12 x 10 (wide) or 6 x 10 cell at (x, y) shows exactly the glyph.
  ::testing::AssertionResult CellIs(int x, int y, const Glyph& g, bool wide) {
    const int columns = wide ? 12 : 6;
    const int top = wide ? 15 : 7;
    for (int r = 0; r < 10; ++r) {
      for (int k = 0; k < columns; ++k) {
        const bool want = (g.rows[r] >> (top - k)) & 1;
        if (form.Viewer().IsDot(x + k, y + r) != want) {
          return ::testing::AssertionFailure() << "dot (" << x + k << ", " << y + r
                                               << ") should be " << (want ? "black" : "ground");
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
  ::testing::AssertionResult Narrow(int x, int y, unsigned char c) {
    return CellIs(x, y, c < 0x20 ? ControlGlyph(c) : NarrowGlyph(c), false);
  }
  ::testing::AssertionResult Wide(int x, int y, unsigned char lead, unsigned char trail) {
    return CellIs(x, y, WideGlyph(lead, trail), true);
  }
  int DotCount() const {
    int n = 0;
    const Surface& s = const_cast<MemoryForm&>(form).Viewer();
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x)
        n += s.IsDot(x, y);
    return n;
  }
  bool Up() const { return form.IsButtonEnabled(IDC_UP); }
  bool Down() const { return form.IsButtonEnabled(IDC_DOWN); }

  MemoryForm form;
  CTobiuoxView view;
};
