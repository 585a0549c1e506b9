// The built-in 10-dot font and the rules that find the glyph of a character.
#pragma once

#include <cstdint>

// Ten row words, row 0 at the top. Double-byte glyphs: column k (0-11) is bit 15 - k.
// Single-byte glyphs: column k (0-5) is bit 7 - k.
struct Glyph {
  uint32_t rows[10];
};

inline constexpr int kHalfGlyphs = 224;
inline constexpr int kSymbolGlyphs = 783;
inline constexpr int kKanji1Glyphs = 2965;
inline constexpr int kKanji2Glyphs = 3390;

extern const Glyph g_fontHalf[kHalfGlyphs];        // single bytes 0x20-0xFF
extern const Glyph g_fontSymbol[kSymbolGlyphs];    // JIS rows 1-8, then NEC row 13
extern const Glyph g_fontKanji1[kKanji1Glyphs];    // level-1 kanji, 0x889F-0x9872
extern const Glyph g_fontKanji2[kKanji2Glyphs];    // level-2 kanji, 0x989F-0xEAA4

// Class tests: 1 or 0. Only the low 8 bits of each argument count.
uint16_t IsSjisLead(unsigned b);
uint16_t IsKanji1(unsigned lead, unsigned trail);
uint16_t IsKanji2(unsigned lead, unsigned trail);
uint16_t IsSymbol(unsigned lead, unsigned trail);
uint16_t IsNecSpecial(unsigned lead, unsigned trail);

// Glyph numbers within their tables.
uint16_t Kanji1Index(unsigned lead, unsigned trail);
uint16_t Kanji2Index(unsigned lead, unsigned trail);
uint16_t SymbolIndex(unsigned lead, unsigned trail);
uint16_t NecIndex(unsigned lead, unsigned trail);

// The glyph drawn for a double-byte pair; the blank fall-back glyph when no table holds one.
const Glyph& WideGlyph(unsigned lead, unsigned trail);
// The glyph drawn for a single byte 0x20-0xFF.
const Glyph& NarrowGlyph(unsigned b);
// The 6-dot cell drawn for a control byte 0x01-0x1F other than CR.
const Glyph& ControlGlyph(unsigned b);

// Which table a code's glyph comes from, for tools and tests.
enum class GlyphTable { kHalf, kSymbol, kKanji1, kKanji2, kFallback, kControl };
struct GlyphRef {
  GlyphTable table;
  int index;
  const Glyph* glyph;
};
GlyphRef FindWideGlyph(unsigned lead, unsigned trail);
GlyphRef FindNarrowGlyph(unsigned b);  // any byte 0x01-0xFF but CR
const char* GlyphTableName(GlyphTable t);
