// Romaji into hiragana: upper-case by Shift-JIS characters, then the ordered replacements.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Converts the text in place.
void RomajiToKana(std::string& text);

// The same conversion piece by piece, so that a reader can stop early; the pieces joined
// are exactly what RomajiToKana gives for the whole text.
class RomajiReader {
 public:
  explicit RomajiReader(std::string_view text);
  // Appends the next converted bytes to out: at least `want` (taken as 1 when 0) unless the
  // text ends first. A piece ends where a character or a stretch of letters up to a vowel
  // ends, so it can pass `want` by such a stretch. Returns false, appending nothing, once
  // everything has been given.
  bool Next(std::string& out, size_t want = 4096);

 private:
  std::string_view text_;
  size_t pos_ = 0;
};
