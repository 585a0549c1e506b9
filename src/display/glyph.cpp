// The rules that find the glyph of a character in the built-in font.
#include "display/glyph.h"

namespace {

// A hollow box, taller than any letter and square-cornered, so that a stray control byte
// stands out from the text around it.
constexpr Glyph kControlGlyph = {{0x00, 0x00, 0xF8, 0x88, 0x88, 0x88, 0x88, 0x88, 0xF8, 0x00}};

bool IsTrail(unsigned trail) {
  return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
}

unsigned Code(unsigned lead, unsigned trail) {
  return ((lead & 0xFF) << 8) | (trail & 0xFF);
}

// Place of a pair in Shift-JIS order: (JIS row - 1) * 94 + (JIS cell - 1).
unsigned Place(unsigned lead, unsigned trail) {
  lead &= 0xFF;
  trail &= 0xFF;
  const unsigned l = lead <= 0x9F ? lead - 0x81 : lead - 0xC1;
  const unsigned t = trail <= 0x7E ? trail - 0x40 : trail - 0x41;
  return l * 188 + t;
}

constexpr unsigned kKanji1First = 1410;  // place of 0x889F
constexpr unsigned kKanji2First = 4418;  // place of 0x989F

}  // namespace

uint16_t IsSjisLead(unsigned b) {
  b &= 0xFF;
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA);
}

uint16_t IsKanji1(unsigned lead, unsigned trail) {
  const unsigned code = Code(lead, trail);
  return IsTrail(trail & 0xFF) && code >= 0x889F && code <= 0x9891;
}

uint16_t IsKanji2(unsigned lead, unsigned trail) {
  const unsigned code = Code(lead, trail);
  return IsTrail(trail & 0xFF) &&
         ((code >= 0x989F && code <= 0x9FFC) || (code >= 0xE040 && code <= 0xEAA4));
}

uint16_t IsSymbol(unsigned lead, unsigned trail) {
  const unsigned code = Code(lead, trail);
  return IsTrail(trail & 0xFF) && code >= 0x8140 && code <= 0x84BE;
}

uint16_t IsNecSpecial(unsigned lead, unsigned trail) {
  trail &= 0xFF;
  return (lead & 0xFF) == 0x87 && trail >= 0x40 && trail <= 0x9C;
}

uint16_t Kanji1Index(unsigned lead, unsigned trail) {
  return static_cast<uint16_t>(Place(lead, trail) - kKanji1First);
}

uint16_t Kanji2Index(unsigned lead, unsigned trail) {
  return static_cast<uint16_t>(Place(lead, trail) - kKanji2First);
}

uint16_t SymbolIndex(unsigned lead, unsigned trail) {
  return static_cast<uint16_t>(Place(lead, trail));
}

uint16_t NecIndex(unsigned /*lead*/, unsigned trail) {
  return static_cast<uint16_t>((trail & 0xFF) + 626);
}

GlyphRef FindWideGlyph(unsigned lead, unsigned trail) {
  if (IsKanji1(lead, trail)) {
    // The 30 codes after 0x9872 pass the test but lie past the table: they get the fall-back.
    const int index = Kanji1Index(lead, trail);
    if (index < kKanji1Glyphs) {
      return {GlyphTable::kKanji1, index, &g_fontKanji1[index]};
    }
  } else if (IsKanji2(lead, trail)) {
    const int index = Kanji2Index(lead, trail);
    return {GlyphTable::kKanji2, index, &g_fontKanji2[index]};
  } else if (IsSymbol(lead, trail)) {
    const int index = SymbolIndex(lead, trail);
    return {GlyphTable::kSymbol, index, &g_fontSymbol[index]};
  } else if (IsNecSpecial(lead, trail)) {
    const int index = NecIndex(lead, trail);
    return {GlyphTable::kSymbol, index, &g_fontSymbol[index]};
  }
  return {GlyphTable::kFallback, 0, &g_fontSymbol[0]};
}

GlyphRef FindNarrowGlyph(unsigned b) {
  b &= 0xFF;
  if (b < 0x20) {
    return {GlyphTable::kControl, static_cast<int>(b), &kControlGlyph};
  }
  return {GlyphTable::kHalf, static_cast<int>(b - 0x20), &g_fontHalf[b - 0x20]};
}

const Glyph& WideGlyph(unsigned lead, unsigned trail) {
  return *FindWideGlyph(lead, trail).glyph;
}

const Glyph& NarrowGlyph(unsigned b) {
  return *FindNarrowGlyph(b).glyph;
}

const Glyph& ControlGlyph(unsigned /*b*/) {
  return kControlGlyph;
}

const char* GlyphTableName(GlyphTable t) {
  switch (t) {
    case GlyphTable::kHalf:
      return "half";
    case GlyphTable::kSymbol:
      return "symbol";
    case GlyphTable::kKanji1:
      return "kanji1";
    case GlyphTable::kKanji2:
      return "kanji2";
    case GlyphTable::kFallback:
      return "fallback";
    case GlyphTable::kControl:
      return "control";
  }
  return "fallback";
}
