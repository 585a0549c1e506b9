// The shape of the built-in font, checked over the whole of every table.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "display/glyph.h"

namespace {

constexpr uint32_t kWideBits = 0xFFF0;  // columns 0-11
constexpr uint32_t kHalfBits = 0xF8;    // columns 0-4
constexpr uint32_t kWideColumn0 = 0x8000;
constexpr uint32_t kWideColumn11 = 0x0010;

bool IsBlank(const Glyph& g) {
  for (uint32_t row : g.rows) {
    if (row != 0) {
      return false;
    }
  }
  return true;
}

uint32_t Ink(const Glyph& g) {
  uint32_t ink = 0;
  for (uint32_t row : g.rows) {
    ink |= row;
  }
  return ink;
}

int LowestRow(const Glyph& g) {
  for (int r = 9; r >= 0; --r) {
    if (g.rows[r] != 0) {
      return r;
    }
  }
  return -1;
}

std::string Hex(unsigned code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", code);
  return text;
}

// Shift-JIS code of g_fontSymbol slot i.
unsigned SymbolCode(int i) {
  if (i >= 690) {
    return 0x8700 | (i - 626);
  }
  const int row = i / 94 + 1;
  const int cell = i % 94 + 1;
  const unsigned lead = (row + 1) / 2 + 0x80;
  unsigned trail = row % 2 ? cell + 0x3F + (cell >= 64) : cell + 0x9E;
  return lead << 8 | trail;
}

// Cells of JIS X 0208 rows 1-8 that hold a character, as ranges of cells.
bool JisAssigned(int row, int cell) {
  struct Range {
    int row, first, last;
  };
  static const Range kAssigned[] = {{1, 1, 94},  {2, 1, 14},  {2, 26, 33}, {2, 42, 48}, {2, 60, 74},
                                    {2, 82, 89}, {2, 94, 94}, {3, 16, 25}, {3, 33, 58}, {3, 65, 90},
                                    {4, 1, 83},  {5, 1, 86},  {6, 1, 24},  {6, 33, 56}, {7, 1, 33},
                                    {7, 49, 81}, {8, 1, 32}};
  for (const Range& r : kAssigned) {
    if (r.row == row && cell >= r.first && cell <= r.last) {
      return true;
    }
  }
  return false;
}

bool SymbolSlotBlank(int i) {
  if (i == 0) {
    return true;  // full-width space
  }
  if (i < 690) {
    return !JisAssigned(i / 94 + 1, i % 94 + 1);
  }
  const unsigned trail = SymbolCode(i) & 0xFF;
  return trail == 0x5E || (trail >= 0x76 && trail <= 0x7D) || trail == 0x7F;
}

bool IsBoxDrawing(unsigned code) {
  return code >= 0x849F && code <= 0x84BE;
}
bool IsKana(unsigned code) {
  return code >= 0x829F && code <= 0x8396;
}

// Double-byte glyphs that may reach below the base line into row 9.
bool MayUseRow9(unsigned code) {
  static const std::set<unsigned> kDescenders = {0x8143, 0x8287, 0x828A, 0x8290,
                                                 0x8291, 0x8299, 0x8772, 0x8773};
  const bool greek_lower = code >= 0x83BF && code <= 0x83D6;
  const bool cyrillic = code >= 0x8440 && code <= 0x8491;
  return kDescenders.count(code) || greek_lower || cyrillic || IsBoxDrawing(code);
}

TEST(FontShape, UnusedBitsAreClearInEveryGlyph) {
  for (int i = 0; i < kHalfGlyphs; ++i) {
    for (uint32_t row : g_fontHalf[i].rows) {
      ASSERT_EQ(row & ~kHalfBits, 0u) << "half " << i;
    }
  }
  const struct {
    const Glyph* table;
    int size;
  } wide[] = {
      {g_fontSymbol, kSymbolGlyphs}, {g_fontKanji1, kKanji1Glyphs}, {g_fontKanji2, kKanji2Glyphs}};
  for (const auto& t : wide) {
    for (int i = 0; i < t.size; ++i) {
      for (uint32_t row : t.table[i].rows) {
        ASSERT_EQ(row & ~kWideBits, 0u) << i;
      }
    }
  }
}

TEST(FontShape, TellingRows) {
  struct Case {
    const Glyph* glyph;
    const char* name;
    Glyph want;
  };
  const Case cases[] = {
      {&NarrowGlyph(0x41), "A", {{0x00, 0x20, 0x50, 0x88, 0x88, 0xF8, 0x88, 0x88, 0x88, 0x00}}},
      {&NarrowGlyph(0x67), "g", {{0x00, 0x00, 0x00, 0x78, 0x88, 0x88, 0x88, 0x78, 0x08, 0x70}}},
      {&NarrowGlyph(0x5C), "yen", {{0x00, 0x88, 0x50, 0x20, 0xF8, 0x20, 0xF8, 0x20, 0x20, 0x00}}},
      {&NarrowGlyph(0xB1), "ka a", {{0x00, 0xF8, 0x08, 0x08, 0x28, 0x30, 0x20, 0x20, 0x40, 0x00}}},
      {&WideGlyph(0x81, 0x40), "space", {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}},
      {&WideGlyph(0x82, 0xA0),
       "hira a",
       {{0x1000, 0x7F00, 0x1000, 0x1F80, 0x3240, 0x5220, 0x9420, 0x9840, 0x7380, 0x0000}}},
      {&WideGlyph(0x84, 0x9F), "box h", {{0, 0, 0, 0, 0xFFF0, 0, 0, 0, 0, 0}}},
      {&WideGlyph(0x84, 0xA9),
       "box cross",
       {{0x0400, 0x0400, 0x0400, 0x0400, 0xFFF0, 0x0400, 0x0400, 0x0400, 0x0400, 0x0400}}},
      {&WideGlyph(0x87, 0x40),
       "circled 1",
       {{0x3F80, 0x4040, 0x8C20, 0x8420, 0x8420, 0x8420, 0x8420, 0x4040, 0x3F80, 0x0000}}},
      {&WideGlyph(0x88, 0x9F),
       "kanji a",
       {{0xFFE0, 0x1100, 0x7FC0, 0x5140, 0x5140, 0x7FC0, 0x1100, 0x1100, 0xFFE0, 0x0000}}},
  };
  for (const Case& c : cases) {
    for (int r = 0; r < 10; ++r) {
      EXPECT_EQ(c.glyph->rows[r], c.want.rows[r]) << c.name << " row " << r;
    }
  }
  EXPECT_EQ(&NarrowGlyph(0x41), &g_fontHalf[33]);
  EXPECT_EQ(&WideGlyph(0x82, 0xA0), &g_fontSymbol[283]);
}

TEST(FontShape, HalfTableBlanksAreExactlyTheUnusedBytes) {
  for (unsigned b = 0x20; b <= 0xFF; ++b) {
    const bool blank = b == 0x20 || b == 0x7F || (b >= 0x80 && b <= 0xA0) || b >= 0xE0;
    EXPECT_EQ(IsBlank(g_fontHalf[b - 0x20]), blank) << Hex(b);
  }
}

TEST(FontShape, HalfGlyphsKeepToTheirRows) {
  const std::set<unsigned> descenders = {',', 'g', 'j', 'p', 'q', 'y'};
  for (unsigned b = 0x21; b <= 0xDF; ++b) {
    const Glyph& g = g_fontHalf[b - 0x20];
    EXPECT_EQ(g.rows[9] != 0, descenders.count(b) == 1) << Hex(b);
  }
  // The base line: capitals and digits stand on row 8.
  for (unsigned b : {'A', 'H', 'Z', '0', '8', 'a', 'x'}) {
    EXPECT_EQ(LowestRow(g_fontHalf[b - 0x20]), 8) << static_cast<char>(b);
  }
  // 0x7E is a tilde, not an overline: a wave in the upper half of the cell.
  const Glyph& tilde = g_fontHalf[0x7E - 0x20];
  int rows_used = 0;
  for (int r = 0; r < 10; ++r) {
    rows_used += tilde.rows[r] != 0;
    EXPECT_TRUE(tilde.rows[r] == 0 || r < 5) << r;
  }
  EXPECT_EQ(rows_used, 2);
}

TEST(FontShape, SymbolTableBlanksAreExactlyTheUnassignedCells) {
  int assigned = 0;
  for (int i = 0; i < kSymbolGlyphs; ++i) {
    EXPECT_EQ(IsBlank(g_fontSymbol[i]), SymbolSlotBlank(i)) << Hex(SymbolCode(i));
    assigned += !SymbolSlotBlank(i);
  }
  // Rows 1-8 less the space, and the 83 NEC characters of row 13.
  EXPECT_EQ(assigned, 94 + 53 + 62 + 83 + 86 + 48 + 66 + 32 - 1 + 83);
  EXPECT_EQ(SymbolCode(283), 0x82A0u);
  EXPECT_EQ(SymbolCode(690), 0x8740u);
}

TEST(FontShape, SymbolGlyphsUseColumn11AndRow9OnlyWhereAllowed) {
  for (int i = 0; i < kSymbolGlyphs; ++i) {
    const unsigned code = SymbolCode(i);
    const Glyph& g = g_fontSymbol[i];
    if (Ink(g) & kWideColumn11) {
      EXPECT_TRUE(IsKana(code) || IsBoxDrawing(code)) << Hex(code);
    }
    if (g.rows[9] != 0) {
      EXPECT_TRUE(MayUseRow9(code)) << Hex(code);
    }
  }
  // Voiced and semi-voiced marks reach the last column: が ぱ ガ ヴ.
  for (unsigned code : {0x82AAu, 0x82CFu, 0x834Bu, 0x8394u}) {
    EXPECT_TRUE(Ink(WideGlyph(code >> 8, code & 0xFF)) & kWideColumn11) << Hex(code);
  }
  // Descenders do descend: ， ｇ ｊ ｐ ｑ ｙ Д щ.
  for (unsigned code : {0x8143u, 0x8287u, 0x828Au, 0x8290u, 0x8291u, 0x8299u, 0x8444u, 0x848Bu}) {
    EXPECT_NE(WideGlyph(code >> 8, code & 0xFF).rows[9], 0u) << Hex(code);
  }
}

TEST(FontShape, KanaAndLatinShareTheBaseLine) {
  // Full-size kana and full-width capitals stand on row 8; へ べ ぺ ヘ float by design.
  const std::set<unsigned> floating = {0x82D6, 0x82D7, 0x82D8, 0x8377, 0x8378, 0x8379};
  const std::set<unsigned> small = {0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3,
                                    0x82E5, 0x82EC, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8362,
                                    0x8383, 0x8385, 0x8387, 0x838E, 0x8395, 0x8396};
  for (int i = 0; i < kSymbolGlyphs; ++i) {
    const unsigned code = SymbolCode(i);
    if (IsKana(code) && !SymbolSlotBlank(i) && !floating.count(code) && !small.count(code)) {
      EXPECT_EQ(LowestRow(g_fontSymbol[i]), 8) << Hex(code);
    }
  }
  for (unsigned code = 0x8260; code <= 0x8279; ++code) {  // Ａ-Ｚ
    if (code != 0x8270) {                                 // Ｑ has a tail
      EXPECT_EQ(LowestRow(WideGlyph(code >> 8, code & 0xFF)), 8) << Hex(code);
    }
  }
}

struct KanjiTable {
  const Glyph* glyphs;
  int size;
  const char* name;
};

TEST(FontShape, KanjiStayInColumns0To10AndRows0To8AndAllHaveDots) {
  for (const KanjiTable& t : {KanjiTable{g_fontKanji1, kKanji1Glyphs, "kanji1"},
                              KanjiTable{g_fontKanji2, kKanji2Glyphs, "kanji2"}}) {
    for (int i = 0; i < t.size; ++i) {
      const Glyph& g = t.glyphs[i];
      EXPECT_FALSE(IsBlank(g)) << t.name << " " << i;
      EXPECT_EQ(Ink(g) & kWideColumn11, 0u) << t.name << " " << i;
      EXPECT_EQ(g.rows[9], 0u) << t.name << " " << i;
    }
  }
}

TEST(FontShape, KanjiStandOnTheBaseLine) {
  // Only kanji drawn high in their cell (一 丶 亠 冖 宀 癶) leave row 8 blank.
  const std::set<std::pair<int, int>> high = {{1, 75},  {2, 5},   {2, 20},
                                              {2, 137}, {2, 532}, {2, 1693}};
  for (const KanjiTable& t : {KanjiTable{g_fontKanji1, kKanji1Glyphs, "kanji1"},
                              KanjiTable{g_fontKanji2, kKanji2Glyphs, "kanji2"}}) {
    const int which = t.glyphs == g_fontKanji1 ? 1 : 2;
    for (int i = 0; i < t.size; ++i) {
      EXPECT_EQ(LowestRow(t.glyphs[i]) == 8, !high.count({which, i})) << t.name << " " << i;
    }
  }
}

// Which sides of a box-drawing glyph have an arm: 0 none, 1 light, 2 heavy; left, right, up, down.
struct Box {
  unsigned code;
  const char* arms;
};
const Box kBoxes[] = {{0x849F, "1100"}, {0x84A0, "0011"}, {0x84A1, "0101"}, {0x84A2, "1001"},
                      {0x84A3, "1010"}, {0x84A4, "0110"}, {0x84A5, "0111"}, {0x84A6, "1101"},
                      {0x84A7, "1011"}, {0x84A8, "1110"}, {0x84A9, "1111"}, {0x84AA, "2200"},
                      {0x84AB, "0022"}, {0x84AC, "0202"}, {0x84AD, "2002"}, {0x84AE, "2020"},
                      {0x84AF, "0220"}, {0x84B0, "0222"}, {0x84B1, "2202"}, {0x84B2, "2022"},
                      {0x84B3, "2220"}, {0x84B4, "2222"}, {0x84B5, "0122"}, {0x84B6, "2201"},
                      {0x84B7, "1022"}, {0x84B8, "2210"}, {0x84B9, "2211"}, {0x84BA, "0211"},
                      {0x84BB, "1102"}, {0x84BC, "2011"}, {0x84BD, "1120"}, {0x84BE, "1122"}};

// The dots along one edge of a glyph: rows for the left and right edges, columns for the top
// and bottom ones.
uint32_t Edge(const Glyph& g, int side) {
  uint32_t dots = 0;
  switch (side) {
    case 0:
    case 1:
      for (int r = 0; r < 10; ++r) {
        if (g.rows[r] & (side == 0 ? kWideColumn0 : kWideColumn11)) {
          dots |= 1u << r;
        }
      }
      return dots;
    case 2:
      return g.rows[0];
    default:
      return g.rows[9];
  }
}

TEST(FontShape, BoxDrawingArmsReachTheEdgesSoThatNeighboursJoin) {
  ASSERT_EQ(std::size(kBoxes), 32u);
  // What a light and a heavy arm look like where it leaves the cell, by side.
  const uint32_t light[4] = {1u << 4, 1u << 4, 0x0400, 0x0400};
  uint32_t heavy[4] = {};
  for (int side = 0; side < 4; ++side) {
    heavy[side] = Edge(WideGlyph(0x84, 0xB4), side);  // ╋
  }
  // Left meets right and top meets bottom, so opposite sides must agree.
  EXPECT_EQ(heavy[0], heavy[1]);
  EXPECT_EQ(heavy[2], heavy[3]);
  EXPECT_NE(heavy[0], light[0]);
  EXPECT_NE(heavy[2], light[2]);
  for (const Box& box : kBoxes) {
    const Glyph& g = WideGlyph(box.code >> 8, box.code & 0xFF);
    for (int side = 0; side < 4; ++side) {
      const char arm = box.arms[side];
      const uint32_t want = arm == '0' ? 0 : arm == '1' ? light[side] : heavy[side];
      EXPECT_EQ(Edge(g, side), want) << Hex(box.code) << " side " << side;
    }
  }
}

}  // namespace
