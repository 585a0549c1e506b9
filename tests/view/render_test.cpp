// The render pass: where each character lands, line ends, skipping, the bottom edge and
// what the pass leaves in the flags and buttons.
#include <string>

#include "display/layout.h"
#include "view_fixture.h"

namespace {

int GlyphDots(const Glyph& g, bool wide) {
  int n = 0;
  for (uint32_t row : g.rows)
    n += __builtin_popcount(row & (wide ? 0xFFF0u : 0xF8u));
  return n;
}

const std::string kA = "A";
const std::string kAi = "\x82\xA0";  // あ

using RenderTest = ViewTest;

TEST_F(RenderTest, DoubleByteCellsOfALineAtWidth100) {
  std::string text;
  for (int i = 0; i < 9; ++i)
    text += kAi;
  form.SetEditorText(text);
  view.RenderViewer(MODE_SJIS);
  for (int i = 0; i < 8; ++i)
    EXPECT_TRUE(Wide(1 + 12 * i, 1, 0x82, 0xA0)) << i;
  EXPECT_TRUE(Wide(1, 11, 0x82, 0xA0));  // the 9th goes to the next line
  EXPECT_EQ(DotCount(), 9 * GlyphDots(WideGlyph(0x82, 0xA0), true));
}

TEST_F(RenderTest, SingleByteMovesOnWhenFewerThan12DotsAreLeft) {
  form.SetEditorText(std::string(16, 'A'));
  view.RenderViewer(MODE_SJIS);
  for (int i = 0; i < 15; ++i)
    EXPECT_TRUE(Narrow(1 + 6 * i, 1, 'A')) << i;
  EXPECT_TRUE(Narrow(1, 11, 'A'));  // its 6 dots would fit at x = 91, but 12 are reserved
  EXPECT_EQ(DotCount(), 16 * GlyphDots(NarrowGlyph('A'), false));
}

TEST_F(RenderTest, NineLinesAtHeight100ThenTheBottomStops) {
  std::string text;
  for (int i = 0; i < 10; ++i)
    text += "A\r\n";
  form.SetEditorText(text);
  view.RenderViewer(MODE_SJIS);
  for (int i = 0; i < 9; ++i)
    EXPECT_TRUE(Narrow(1, 1 + 10 * i, 'A')) << i;
  EXPECT_EQ(DotCount(), 9 * GlyphDots(NarrowGlyph('A'), false));
  EXPECT_EQ(g_bMore, 1);
  EXPECT_TRUE(Down());
  EXPECT_EQ(g_bPicked, 1);
}

TEST_F(RenderTest, LineEnds) {
  struct Case {
    std::string text;
    int second_x, second_y;
    char second;
  } cases[] = {
      {"A\r\nB", 1, 11, 'B'},
      {"A\rBC", 1, 11, 'C'},  // the byte after a CR is passed over whatever it is
      {"A\r\n\r\nB", 1, 21, 'B'},
  };
  for (const Case& c : cases) {
    form.SetEditorText(c.text);
    view.RenderViewer(MODE_SJIS);
    EXPECT_TRUE(Narrow(1, 1, 'A')) << c.text;
    EXPECT_TRUE(Narrow(c.second_x, c.second_y, c.second)) << c.text;
    EXPECT_EQ(DotCount(),
              GlyphDots(NarrowGlyph('A'), false) + GlyphDots(NarrowGlyph(c.second), false));
  }
}

TEST_F(RenderTest, FullLineThenLineEndLeavesAnEmptyLine) {
  std::string text;
  for (int i = 0; i < 8; ++i)
    text += kAi;
  form.SetEditorText(text + "\r\nB");
  view.RenderViewer(MODE_SJIS);
  EXPECT_TRUE(Wide(85, 1, 0x82, 0xA0));
  EXPECT_TRUE(Narrow(1, 21, 'B'));
}

TEST_F(RenderTest, SkipsLogicalLines) {
  g_nFirstLine = 2;
  form.SetEditorText("L1\r\nL2\r\nL3");
  view.RenderViewer(MODE_SJIS);
  EXPECT_TRUE(Narrow(1, 1, 'L'));
  EXPECT_TRUE(Narrow(7, 1, '3'));
  EXPECT_EQ(DotCount(), GlyphDots(NarrowGlyph('L'), false) + GlyphDots(NarrowGlyph('3'), false));
  EXPECT_TRUE(Up());
}

TEST_F(RenderTest, SkippingPassesOverAWrappedLineWholeAndTakesBytesOneByOne) {
  // A lead byte is not paired while skipping: the CR after it still ends the line.
  std::string line;
  for (int i = 0; i < 20; ++i)
    line += kAi;
  g_nFirstLine = 1;
  form.SetEditorText(line + "\x82\r\nB");
  view.RenderViewer(MODE_SJIS);
  EXPECT_TRUE(Narrow(1, 1, 'B'));
  EXPECT_EQ(DotCount(), GlyphDots(NarrowGlyph('B'), false));
}

TEST_F(RenderTest, SkippingPastTheLastLineDrawsNothingAndKeepsUp) {
  g_nFirstLine = 1;
  form.EnableButton(IDC_DOWN, true);
  form.SetEditorText("no line end");
  view.RenderViewer(MODE_SJIS);
  EXPECT_EQ(DotCount(), 0);
  EXPECT_EQ(g_bMore, 0);
  EXPECT_FALSE(Down());
  EXPECT_FALSE(Up());  // as it was
  form.EnableButton(IDC_UP, true);
  view.RenderViewer(MODE_SJIS);
  EXPECT_TRUE(Up());
}

TEST_F(RenderTest, EmptyTextInModes1And3KeepsEverything) {
  for (int mode : {MODE_ROMAJI, MODE_SJIS}) {
    g_bMore = 1;
    g_bPicked = 0;
    form.EnableButton(IDC_DOWN, true);
    form.EnableButton(IDC_UP, true);
    form.Viewer().Dot(5, 5);
    form.SetEditorText("");
    view.RenderViewer(mode);
    EXPECT_EQ(DotCount(), 0) << mode;  // cleared all the same
    EXPECT_EQ(g_bMore, 1);
    EXPECT_EQ(g_bPicked, 0);
    EXPECT_TRUE(Down());
    EXPECT_TRUE(Up());
  }
}

TEST_F(RenderTest, EmptyTextInModes2And4ReadsTheNul) {
  for (int mode : {MODE_JIS, MODE_RAWJIS}) {
    g_bMore = 1;
    g_bPicked = 0;
    form.EnableButton(IDC_DOWN, true);
    form.EnableButton(IDC_UP, true);
    form.SetEditorText("");
    view.RenderViewer(mode);
    EXPECT_EQ(g_bMore, 0) << mode;
    EXPECT_FALSE(Down());
    EXPECT_TRUE(Up());  // a pass that reads only the NUL leaves UP alone
    EXPECT_EQ(g_bPicked, 1);
  }
}

TEST_F(RenderTest, ViewerLowerThan11Dots) {
  SetSize(100, 10);
  for (int mode : {MODE_JIS, MODE_RAWJIS}) {
    form.SetEditorText("");
    view.RenderViewer(mode);
    EXPECT_EQ(g_bMore, 1) << mode;
    EXPECT_TRUE(Down());
  }
  for (int mode = MODE_ROMAJI; mode <= MODE_RAWJIS; ++mode) {
    g_bMore = 0;
    form.SetEditorText("ka");
    view.RenderViewer(mode);
    EXPECT_EQ(DotCount(), 0) << mode;
    EXPECT_EQ(g_bMore, 1) << mode;
    EXPECT_TRUE(Down());
  }
}

TEST_F(RenderTest, LeadByteTakesAnyTrailByte) {
  // The CR is the trail byte (fall-back glyph), and the LF takes a cell of its own.
  form.SetEditorText("\x82\r\nA");
  view.RenderViewer(MODE_SJIS);
  EXPECT_TRUE(Wide(1, 1, 0x82, 0x0D));
  EXPECT_TRUE(Narrow(13, 1, 0x0A));
  EXPECT_TRUE(Narrow(19, 1, 'A'));
  // A lead byte at the very end takes a NUL: the blank fall-back glyph.
  form.SetEditorText("A\x88");
  view.RenderViewer(MODE_SJIS);
  EXPECT_EQ(DotCount(), GlyphDots(NarrowGlyph('A'), false));
  EXPECT_EQ(g_bMore, 0);
}

TEST_F(RenderTest, BytesEBToFFAreSingleBytes) {
  for (int b = 0xEB; b <= 0xFF; ++b) {
    form.SetEditorText(std::string(1, char(b)) + "\x82\xA0");
    view.RenderViewer(MODE_SJIS);
    EXPECT_TRUE(Narrow(1, 1, b)) << b;
    EXPECT_TRUE(Wide(7, 1, 0x82, 0xA0)) << b;
  }
}

TEST_F(RenderTest, ControlBytesTakeASixDotCell) {
  form.SetEditorText(
      "\tA\x1B"
      "B");
  view.RenderViewer(MODE_SJIS);
  EXPECT_TRUE(Narrow(1, 1, '\t'));
  EXPECT_TRUE(Narrow(7, 1, 'A'));
  EXPECT_TRUE(Narrow(13, 1, 0x1B));
  EXPECT_TRUE(Narrow(19, 1, 'B'));
}

TEST_F(RenderTest, TextEndingOnTheLastLineMode3VersusJis) {
  SetSize(100, 11);  // one line of 8 double-byte cells
  std::string line;
  for (int i = 0; i < 8; ++i)
    line += "\x82\xA0";
  form.SetEditorText(line);
  view.RenderViewer(MODE_SJIS);
  EXPECT_EQ(g_bMore, 0);
  EXPECT_FALSE(Down());
  // In JIS the NUL is read only after the wrap and bottom tests of its turn.
  std::string jis = "\x1B$B";
  for (int i = 0; i < 8; ++i)
    jis += "$\"";
  form.SetEditorText(jis);
  view.RenderViewer(MODE_JIS);
  EXPECT_TRUE(Wide(85, 1, 0x82, 0xA0));
  EXPECT_EQ(g_bMore, 1);
  EXPECT_TRUE(Down());
}

TEST_F(RenderTest, JisEndsRightAfterACrOrLeadByteThatTakesTheNul) {
  SetSize(100, 11);
  // The CR at the end moves below the edge, but the text has ended: no more pages.
  form.SetEditorText("A\r");
  view.RenderViewer(MODE_JIS);
  EXPECT_TRUE(Narrow(1, 1, 'A'));
  EXPECT_EQ(g_bMore, 0);
  EXPECT_FALSE(Down());
  // A lead byte before the NUL draws the fall-back glyph and nothing after it.
  form.SetEditorText("A\x82");
  view.RenderViewer(MODE_JIS);
  EXPECT_EQ(DotCount(), GlyphDots(NarrowGlyph('A'), false));
  EXPECT_EQ(g_bMore, 0);
}

TEST_F(RenderTest, RomajiAndRawJisReachTheLayout) {
  form.SetEditorText("kya");
  view.RenderViewer(MODE_ROMAJI);
  EXPECT_TRUE(Wide(1, 1, 0x82, 0xAB));   // き
  EXPECT_TRUE(Wide(13, 1, 0x82, 0xE1));  // ゃ
  form.SetEditorText("$\"$$");
  view.RenderViewer(MODE_RAWJIS);
  EXPECT_TRUE(Wide(1, 1, 0x82, 0xA0));
  EXPECT_TRUE(Wide(13, 1, 0x82, 0xA2));
}

TEST_F(RenderTest, TextOfAnyLengthDrawsTheRightPage) {
  // Far beyond any fixed buffer: line 5000 of a long text, in every reading.
  std::string text;
  for (int i = 0; i < 6000; ++i)
    text += "line " + std::to_string(i) + "\r\n";
  g_nFirstLine = 5000;
  for (int mode = MODE_ROMAJI; mode <= MODE_JIS; ++mode) {
    form.SetEditorText(text);
    view.RenderViewer(mode);
    EXPECT_EQ(g_bMore, 1) << mode;
    if (mode == MODE_SJIS || mode == MODE_JIS) {
      EXPECT_TRUE(Narrow(1, 1, 'l')) << mode;
      EXPECT_TRUE(Narrow(31, 1, '5')) << mode;
      EXPECT_TRUE(Narrow(31, 11, '5')) << mode;
      EXPECT_TRUE(Narrow(49, 11, '1')) << mode;
    }
  }
}

TEST(LayOutText, DecodesOnlyWhatItDraws) {
  // A long text decoded piece by piece: the layout stops asking at the bottom edge.
  size_t pieces = 0;
  LazyText text([&pieces](std::string& out) {
    if (pieces == 1000)
      return false;
    ++pieces;
    out.append(4096, 'A');
    return true;
  });
  Surface surface(100, 100);
  const LayoutResult r = LayOutText(text, 0, surface);
  EXPECT_TRUE(r.more);
  EXPECT_EQ(pieces, 1u);
}

}  // namespace
