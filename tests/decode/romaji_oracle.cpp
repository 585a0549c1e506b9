#include "romaji_oracle.h"

#include <string_view>

#include "decode/romaji_table.h"

namespace {

bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Double-byte letters with a case: the small letters lower_first..lower_last map in order onto
// the capitals from upper_first.
struct CaseRange {
  unsigned lower_first, lower_last, upper_first;
};
constexpr CaseRange kCaseRanges[] = {
    {0x8281, 0x829A, 0x8260},  // full-width Latin
    {0x83BF, 0x83D6, 0x839F},  // Greek
    {0x8470, 0x847E, 0x8440},  // Cyrillic, up to the gap at 0x847F
    {0x8480, 0x8491, 0x844F},  // Cyrillic, after the gap
    {0xEEEF, 0xEEF8, 0x8754},  // small roman numerals
    {0xFA40, 0xFA49, 0x8754},  // small roman numerals, second code point
};

void UpperCase(std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c) && i + 1 < text.size()) {
      const unsigned code = c << 8 | static_cast<unsigned char>(text[i + 1]);
      for (const CaseRange& r : kCaseRanges) {
        if (code >= r.lower_first && code <= r.lower_last) {
          const unsigned upper = r.upper_first + (code - r.lower_first);
          text[i] = static_cast<char>(upper >> 8);
          text[i + 1] = static_cast<char>(upper & 0xFF);
          break;
        }
      }
      i += 2;
    } else {
      if (c >= 'a' && c <= 'z') {
        text[i] = static_cast<char>(c - 'a' + 'A');
      }
      i += 1;
    }
  }
}

void ReplaceAll(std::string& text, std::string_view key, std::string_view value) {
  size_t i = 0;
  while (i < text.size()) {
    if (std::string_view(text).substr(i, key.size()) == key) {
      text.erase(i, key.size());
      text.insert(i, value);
      i += value.size();
    } else if (IsLeadByte(text[i]) && i + 1 < text.size()) {
      i += 2;
    } else {
      i += 1;
    }
  }
}

}  // namespace

std::string RomajiOracle(std::string text) {
  UpperCase(text);
  for (int i = 0; i < kRomajiPairs; ++i) {
    ReplaceAll(text, g_romajiTable[2 * i], g_romajiTable[2 * i + 1]);
    if (std::string_view(g_romajiTable[2 * i]) == "N") {
      break;
    }
  }
  return text;
}
