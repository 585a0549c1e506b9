// Lookups of the glyph store: class tests, index rules and the tables they lead to.
#include "display/glyph.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

bool SameGlyph(const Glyph& a, const Glyph& b) {
  return std::memcmp(&a, &b, sizeof(Glyph)) == 0;
}

TEST(IsSjisLead, EdgesOfBothRanges) {
  struct Case {
    unsigned byte;
    uint16_t lead;
  };
  const Case cases[] = {{0x80, 0},
                        {0x81, 1},
                        {0x9F, 1},
                        {0xA0, 0},
                        {0xDF, 0},
                        {0xE0, 1},
                        {0xEA, 1},
                        {0xEB, 0},
                        {0xFC, 0},
                        {0x00, 0},
                        {0x7F, 0},
                        // Only the low eight bits count.
                        {0x181, 1},
                        {0x1A0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsSjisLead(c.byte), c.lead) << std::hex << c.byte;
  }
  int leads = 0;
  for (unsigned b = 0; b < 256; ++b) {
    leads += IsSjisLead(b);
  }
  EXPECT_EQ(leads, 31 + 11);
}

// Where a pair's glyph comes from, for the codes at the ends of every range.
TEST(FindWideGlyph, EdgesOfTheRanges) {
  struct Case {
    unsigned code;
    GlyphTable table;
    int index;
  };
  const Case cases[] = {
      {0x8140, GlyphTable::kSymbol, 0},    {0x817E, GlyphTable::kSymbol, 62},
      {0x8180, GlyphTable::kSymbol, 63},   {0x81FC, GlyphTable::kSymbol, 187},
      {0x82A0, GlyphTable::kSymbol, 283},  {0x849F, GlyphTable::kSymbol, 658},
      {0x84BE, GlyphTable::kSymbol, 689},  {0x84BF, GlyphTable::kFallback, 0},
      {0x8740, GlyphTable::kSymbol, 690},  {0x877E, GlyphTable::kSymbol, 752},
      {0x877F, GlyphTable::kSymbol, 753},  {0x8780, GlyphTable::kSymbol, 754},
      {0x879C, GlyphTable::kSymbol, 782},  {0x879D, GlyphTable::kFallback, 0},
      {0x873F, GlyphTable::kFallback, 0},  {0x889E, GlyphTable::kFallback, 0},
      {0x889F, GlyphTable::kKanji1, 0},    {0x88FC, GlyphTable::kKanji1, 93},
      {0x8940, GlyphTable::kKanji1, 94},   {0x9872, GlyphTable::kKanji1, 2964},
      {0x9873, GlyphTable::kFallback, 0},  {0x987E, GlyphTable::kFallback, 0},
      {0x9880, GlyphTable::kFallback, 0},  {0x9891, GlyphTable::kFallback, 0},
      {0x9892, GlyphTable::kFallback, 0},  {0x989E, GlyphTable::kFallback, 0},
      {0x989F, GlyphTable::kKanji2, 0},    {0x9FFC, GlyphTable::kKanji2, 1409},
      {0xE040, GlyphTable::kKanji2, 1410}, {0xEAA4, GlyphTable::kKanji2, 3389},
      {0xEAA5, GlyphTable::kFallback, 0},  {0xEAFC, GlyphTable::kFallback, 0},
      {0x8540, GlyphTable::kFallback, 0},  {0x86FC, GlyphTable::kFallback, 0},
      {0x887F, GlyphTable::kFallback, 0},  {0x9F7F, GlyphTable::kFallback, 0},
      {0x8100, GlyphTable::kFallback, 0},  {0x880D, GlyphTable::kFallback, 0},
      {0x8FFD, GlyphTable::kFallback, 0},  {0x813F, GlyphTable::kFallback, 0},
      {0xEB40, GlyphTable::kFallback, 0},  {0xA0A0, GlyphTable::kFallback, 0},
  };
  for (const Case& c : cases) {
    const GlyphRef ref = FindWideGlyph(c.code >> 8, c.code & 0xFF);
    EXPECT_EQ(ref.table, c.table) << std::hex << c.code;
    EXPECT_EQ(ref.index, c.index) << std::hex << c.code;
    EXPECT_EQ(&WideGlyph(c.code >> 8, c.code & 0xFF), ref.glyph) << std::hex << c.code;
  }
}

TEST(FindWideGlyph, IgnoresBitsAboveTheLowByte) {
  EXPECT_EQ(&WideGlyph(0x188, 0x29F), &g_fontKanji1[0]);
  EXPECT_EQ(&WideGlyph(0x387, 0x17F), &g_fontSymbol[753]);
  EXPECT_EQ(IsSymbol(0x181, 0x140), 1);
}

TEST(FindWideGlyph, FallbackIsTheBlankFullWidthSpace) {
  const GlyphRef ref = FindWideGlyph(0x85, 0x40);
  EXPECT_EQ(ref.glyph, &g_fontSymbol[0]);
  EXPECT_EQ(&WideGlyph(0x81, 0x40), &g_fontSymbol[0]);
  EXPECT_TRUE(SameGlyph(*ref.glyph, Glyph{}));
}

// The index rules follow the JIS row and cell of a pair.
TEST(IndexRules, CountJisRowsAndCells) {
  struct Case {
    unsigned code;
    int row;
    int cell;
  };
  const Case cases[] = {{0x8140, 1, 1},  {0x819E, 1, 94},  {0x819F, 2, 1},   {0x84BE, 8, 32},
                        {0x889F, 16, 1}, {0x8940, 17, 1},  {0x9872, 47, 51}, {0x989F, 48, 1},
                        {0xE040, 63, 1}, {0xEA9E, 83, 94}, {0xEAA4, 84, 6}};
  for (const Case& c : cases) {
    const unsigned lead = c.code >> 8;
    const unsigned trail = c.code & 0xFF;
    const int place = (c.row - 1) * 94 + (c.cell - 1);
    EXPECT_EQ(SymbolIndex(lead, trail), place) << std::hex << c.code;
    if (IsKanji1(lead, trail)) {
      EXPECT_EQ(Kanji1Index(lead, trail), place - 15 * 94) << std::hex << c.code;
    }
    if (IsKanji2(lead, trail)) {
      EXPECT_EQ(Kanji2Index(lead, trail), place - 47 * 94) << std::hex << c.code;
    }
  }
  EXPECT_EQ(NecIndex(0x87, 0x40), 690);
  EXPECT_EQ(NecIndex(0x87, 0x7F), 753);
  EXPECT_EQ(NecIndex(0x87, 0x9C), 782);
}

// The range table of the glyph store, written independently of the class tests.
GlyphTable ExpectedTable(unsigned lead, unsigned trail) {
  const unsigned code = lead << 8 | trail;
  const bool trail_ok = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
  if (lead == 0x87 && trail >= 0x40 && trail <= 0x9C) {
    return GlyphTable::kSymbol;
  }
  if (!trail_ok) {
    return GlyphTable::kFallback;
  }
  if (code >= 0x8140 && code <= 0x84BE) {
    return GlyphTable::kSymbol;
  }
  if (code >= 0x889F && code <= 0x9872) {
    return GlyphTable::kKanji1;
  }
  if ((code >= 0x989F && code <= 0x9FFC) || (code >= 0xE040 && code <= 0xEAA4)) {
    return GlyphTable::kKanji2;
  }
  return GlyphTable::kFallback;
}

const Glyph* TableStart(GlyphTable t) {
  switch (t) {
    case GlyphTable::kSymbol:
    case GlyphTable::kFallback:
      return g_fontSymbol;
    case GlyphTable::kKanji1:
      return g_fontKanji1;
    case GlyphTable::kKanji2:
      return g_fontKanji2;
    default:
      return nullptr;
  }
}

int TableSize(GlyphTable t) {
  switch (t) {
    case GlyphTable::kSymbol:
      return kSymbolGlyphs;
    case GlyphTable::kKanji1:
      return kKanji1Glyphs;
    case GlyphTable::kKanji2:
      return kKanji2Glyphs;
    case GlyphTable::kFallback:
      return 1;
    default:
      return 0;
  }
}

TEST(WideGlyph, EveryPairAgreesWithTheRangeTableAndStaysInItsTable) {
  std::vector<int> symbol_hits(kSymbolGlyphs), kanji1_hits(kKanji1Glyphs),
      kanji2_hits(kKanji2Glyphs);
  for (unsigned lead = 0; lead < 256; ++lead) {
    for (unsigned trail = 0; trail < 256; ++trail) {
      const GlyphRef ref = FindWideGlyph(lead, trail);
      const GlyphTable want = ExpectedTable(lead, trail);
      ASSERT_EQ(ref.table, want) << std::hex << lead << " " << trail;
      ASSERT_GE(ref.index, 0);
      ASSERT_LT(ref.index, TableSize(ref.table)) << std::hex << lead << " " << trail;
      ASSERT_EQ(ref.glyph, TableStart(ref.table) + ref.index);
      ASSERT_EQ(&WideGlyph(lead, trail), ref.glyph);
      // No pair passes more than one class test.
      ASSERT_LE(IsKanji1(lead, trail) + IsKanji2(lead, trail) + IsSymbol(lead, trail) +
                    IsNecSpecial(lead, trail),
                1)
          << std::hex << lead << " " << trail;
      if (ref.table == GlyphTable::kSymbol) {
        ++symbol_hits[ref.index];
      } else if (ref.table == GlyphTable::kKanji1) {
        ++kanji1_hits[ref.index];
      } else if (ref.table == GlyphTable::kKanji2) {
        ++kanji2_hits[ref.index];
      }
    }
  }
  // Every slot of the double-byte tables belongs to exactly one pair.
  for (const auto* hits : {&symbol_hits, &kanji1_hits, &kanji2_hits}) {
    for (size_t i = 0; i < hits->size(); ++i) {
      EXPECT_EQ((*hits)[i], 1) << i;
    }
  }
}

TEST(WideGlyph, ThirtyCodesPastTheLevelOneTablePassTheTestButDrawTheFallback) {
  int count = 0;
  for (unsigned trail = 0x73; trail <= 0x91; ++trail) {
    if (trail == 0x7F) {
      continue;
    }
    ++count;
    EXPECT_EQ(IsKanji1(0x98, trail), 1) << std::hex << trail;
    EXPECT_GE(Kanji1Index(0x98, trail), kKanji1Glyphs);
    EXPECT_EQ(FindWideGlyph(0x98, trail).table, GlyphTable::kFallback) << std::hex << trail;
  }
  EXPECT_EQ(count, 30);
}

TEST(NarrowGlyph, PrintableBytesIndexTheHalfTable) {
  for (unsigned b = 0x20; b <= 0xFF; ++b) {
    const GlyphRef ref = FindNarrowGlyph(b);
    EXPECT_EQ(ref.table, GlyphTable::kHalf);
    EXPECT_EQ(ref.index, static_cast<int>(b - 0x20));
    EXPECT_EQ(&NarrowGlyph(b), &g_fontHalf[b - 0x20]);
  }
  EXPECT_EQ(&NarrowGlyph(0x141), &g_fontHalf[0x21]);
  EXPECT_EQ(FindNarrowGlyph(0xEB).index, 203);
  EXPECT_TRUE(SameGlyph(NarrowGlyph(0xEB), Glyph{}));
}

TEST(NarrowGlyph, ControlBytesGetTheControlCellAndReadNoTable) {
  const Glyph& box = ControlGlyph(0x01);
  bool has_dots = false;
  for (uint32_t row : box.rows) {
    EXPECT_EQ(row & ~0xF8u, 0u);  // columns 0-4, like any single-byte glyph
    has_dots = has_dots || row != 0;
  }
  EXPECT_TRUE(has_dots);
  for (unsigned b = 0x00; b < 0x20; ++b) {
    const GlyphRef ref = FindNarrowGlyph(b);
    EXPECT_EQ(ref.table, GlyphTable::kControl);
    EXPECT_EQ(ref.index, static_cast<int>(b));
    EXPECT_EQ(ref.glyph, &box);
    EXPECT_EQ(&NarrowGlyph(b), &box);
    EXPECT_EQ(&ControlGlyph(b), &box);
  }
  // It must not pass for a printable character.
  for (unsigned b = 0x21; b <= 0xDF; ++b) {
    EXPECT_FALSE(SameGlyph(box, g_fontHalf[b - 0x20])) << std::hex << b;
  }
}

TEST(GlyphTableName, NamesEveryTable) {
  EXPECT_STREQ(GlyphTableName(GlyphTable::kHalf), "half");
  EXPECT_STREQ(GlyphTableName(GlyphTable::kSymbol), "symbol");
  EXPECT_STREQ(GlyphTableName(GlyphTable::kKanji1), "kanji1");
  EXPECT_STREQ(GlyphTableName(GlyphTable::kKanji2), "kanji2");
  EXPECT_STREQ(GlyphTableName(GlyphTable::kFallback), "fallback");
  EXPECT_STREQ(GlyphTableName(GlyphTable::kControl), "control");
}

}  // namespace
