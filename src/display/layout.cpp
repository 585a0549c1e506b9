#include "display/layout.h"

#include <algorithm>
#include <cstring>

#include "display/glyph.h"

namespace {

constexpr int kCR = 0x0D;

void DrawWide(Surface& s, int x, int y, const Glyph& g) {
  for (int r = 0; r < 10; ++r) {
    uint32_t w = g.rows[r];
    if ((w & 0xFFF0) == 0)
      continue;
    for (int k = 0; k < 12; ++k) {
      if (w & (0x8000u >> k))
        s.Dot(x + k, y + r);
    }
  }
}

void DrawNarrow(Surface& s, int x, int y, const Glyph& g) {
  for (int r = 0; r < 10; ++r) {
    uint32_t w = g.rows[r];
    if ((w & 0xFC) == 0)
      continue;
    for (int k = 0; k < 6; ++k) {
      if (w & (0x80u >> k))
        s.Dot(x + k, y + r);
    }
  }
}

}  // namespace

int LazyText::Fetch(size_t i) {
  while (!ended_ && i >= data_.size()) {
    if (!producer_ || !producer_(buffer_))
      ended_ = true;
    data_ = buffer_;
  }
  return i < data_.size() ? static_cast<unsigned char>(data_[i]) : -1;
}

LayoutResult LayOutText(LazyText& text, int32_t first_line, Surface& surface) {
  LayoutResult result;
  const int right = surface.Width();
  const int bottom = surface.Height();
  int x = 1;
  int y = 1;
  int32_t skipped = 0;
  size_t i = 0;
  for (;;) {
    const int c = text.At(i);
    if (c < 0)
      break;  // end of the text
    if (x + 12 > right) {
      x = 1;
      y += 10;
    }
    if (y + 10 > bottom) {
      result.more = true;
      break;
    }
    result.more = false;
    if (c == 0)
      break;
    if (first_line == 0)
      result.up = LayoutResult::Up::kDisable;
    if (c == kCR) {
      y += 10;
      x = 1;
      ++i;  // the byte after the CR, normally its LF, is passed over unread
      if (first_line > skipped) {
        ++skipped;
        result.up = LayoutResult::Up::kEnable;
        x = 1;
        y = 1;
      }
    } else if (first_line > skipped) {
      // passed over a byte at a time: no pairing while lines are skipped
    } else if (IsSjisLead(c)) {
      int d = text.At(i + 1);
      if (d < 0)
        d = 0;
      ++i;
      DrawWide(surface, x, y, WideGlyph(c, d));
      x += 12;
    } else {
      DrawNarrow(surface, x, y, NarrowGlyph(c));  // control bytes draw their box
      x += 6;
    }
    ++i;
  }
  return result;
}

int DetectCode(const unsigned char* text, size_t length) {
  // Eight bytes at a time past plain ASCII without ESC, which is most romaji text.
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHigh = 0x8080808080808080u;
  size_t i = 0;
  while (i < length) {
    if (i + 8 <= length) {
      uint64_t w;
      std::memcpy(&w, text + i, 8);
      const uint64_t esc = w ^ (kOnes * 0x1B);
      if (((((esc - kOnes) & ~esc) | w) & kHigh) == 0) {
        i += 8;
        continue;
      }
    }
    const size_t end = std::min(length, i + 8);
    for (; i < end; ++i) {
      if (text[i] == 0x1B)
        return 2;
      if (IsSjisLead(text[i]))
        return 3;
    }
  }
  return 1;
}
