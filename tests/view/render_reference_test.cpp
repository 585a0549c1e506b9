// The render pass against a literal reference: the whole text decoded into a buffer first,
// then the layout loop step by step, on random texts, sizes, readings and scroll positions.
#include <random>
#include <string>
#include <vector>

#include "decode/jis.h"
#include "decode/romaji.h"
#include "display/glyph.h"
#include "view_fixture.h"

namespace {

struct Outcome {
  std::vector<uint8_t> dots;
  int more = -1;  // -1: left as it was
  int down = -1;
  int up = -1;
  int picked = 0;
};

Outcome Reference(const std::string& editor, int mode, int32_t first_line, int right, int bottom) {
  Outcome o;
  o.dots.assign(size_t(right) * bottom, 0);
  auto dot = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < right && y < bottom)
      o.dots[size_t(y) * right + x] = 1;
  };
  std::vector<unsigned char> buffer;
  int64_t count;
  if (mode == MODE_ROMAJI || mode == MODE_SJIS) {
    std::string s = editor;
    if (mode == MODE_ROMAJI)
      RomajiToKana(s);
    if (s.empty())
      return o;
    buffer.assign(s.begin(), s.end());
    count = int64_t(buffer.size());
    buffer.push_back(0);  // what a lead byte at the very end takes as its trail
  } else {
    buffer.assign(editor.size() + 1, 0xEE);
    const std::string in = editor;  // NUL-terminated by std::string
    JisToSjis(buffer.data(), reinterpret_cast<const unsigned char*>(in.c_str()), mode);
    count = 0x7FFFFFFF;
  }
  size_t nul = 0;
  while (mode != MODE_ROMAJI && mode != MODE_SJIS && buffer[nul] != 0)
    ++nul;

  int64_t i = 0;
  int x = 1, y = 1, skipped = 0;
  while (i < count) {
    if (x + 12 > right)
      x = 1, y += 10;
    if (y + 10 > bottom) {
      o.more = 1, o.down = 1;
      break;
    }
    o.more = 0, o.down = 0;
    const unsigned char c = buffer[size_t(i)];
    if (c == 0)
      break;
    if (first_line == 0)
      o.up = 0;
    if (c == 0x0D) {
      y += 10, x = 1, ++i;
      if (first_line > skipped) {
        ++skipped, o.up = 1, x = 1, y = 1;
        std::fill(o.dots.begin(), o.dots.end(), 0);
      }
    } else if (first_line > skipped) {
    } else if (IsSjisLead(c)) {
      const unsigned char d = buffer[size_t(i) + 1];
      ++i;
      const Glyph& g = WideGlyph(c, d);
      for (int r = 0; r < 10; ++r)
        for (int k = 0; k < 12; ++k)
          if ((g.rows[r] >> (15 - k)) & 1)
            dot(x + k, y + r);
      x += 12;
    } else {
      const Glyph& g = c < 0x20 ? ControlGlyph(c) : NarrowGlyph(c);
      for (int r = 0; r < 10; ++r)
        for (int k = 0; k < 6; ++k)
          if ((g.rows[r] >> (7 - k)) & 1)
            dot(x + k, y + r);
      x += 6;
    }
    ++i;
    // A CR or lead byte that took the decoder's NUL along ends the text.
    if (count == 0x7FFFFFFF && size_t(i) > nul)
      break;
  }
  o.picked = 1;
  return o;
}

std::string RandomText(std::mt19937& rng) {
  static const std::vector<std::string> kPieces = {"a",        "ka",
                                                   "kya",      "n",
                                                   "nn",       "shi",
                                                   "tsu",      "K",
                                                   "Q",        "'",
                                                   " ",        "1",
                                                   "\r\n",     "\r",
                                                   "\n",       "\x1B$B",
                                                   "\x1B(B",   "\x1B(J",
                                                   "\x1B",     "$",
                                                   "\"",       "0!",
                                                   "\x82\xA0", "\x88\x9F",
                                                   "\x87\x40", "\x82",
                                                   "\xEA\xA4", "\x98\x73",
                                                   "\xB1",     "\xEB",
                                                   "\xFF",     "\x80",
                                                   "\t",       std::string(1, '\0')};
  std::string s;
  const int n = int(rng() % 60);
  for (int k = 0; k < n; ++k)
    s += kPieces[rng() % kPieces.size()];
  return s;
}

using RenderReferenceTest = ViewTest;

TEST_F(RenderReferenceTest, MatchesTheLiteralPassOnRandomInput) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 6000; ++round) {
    const std::string text = RandomText(rng);
    const int mode = 1 + int(rng() % 4);
    const int w = int(rng() % 70);
    const int h = int(rng() % 45);
    const int32_t first = int32_t(rng() % 4);
    ResetState();
    g_nFirstLine = first;
    g_bMore = 1;
    SetSize(w, h);
    form.EnableButton(IDC_UP, round % 2);
    form.EnableButton(IDC_DOWN, round % 3 == 0);
    const bool up_before = Up(), down_before = Down();
    form.SetEditorText(text);
    view.RenderViewer(mode);

    const Outcome want = Reference(text, mode, first, w, h);
    std::vector<uint8_t> got(size_t(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        got[size_t(y) * w + x] = form.Viewer().IsDot(x, y);
    SCOPED_TRACE(::testing::Message() << "round " << round << " mode " << mode << " size " << w
                                      << "x" << h << " first " << first);
    ASSERT_EQ(got, want.dots);
    ASSERT_EQ(g_bMore, want.more < 0 ? 1 : want.more);
    ASSERT_EQ(Down(), want.down < 0 ? down_before : want.down == 1);
    ASSERT_EQ(Up(), want.up < 0 ? up_before : want.up == 1);
    ASSERT_EQ(g_bPicked, want.picked);
  }
}

}  // namespace
