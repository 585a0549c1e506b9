// 7-bit JIS with escape sequences, and JIS read as two-byte codes, into Shift-JIS.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Decodes the NUL-terminated `in` into `out` (room for strlen(in) + 1 bytes) and writes a NUL.
// mode 4 starts in the two-byte state and takes '$' or a stray ESC as the start of a pair;
// any other mode starts in the single-byte state. Returns 0 when the input ended inside a
// pair (that half pair is dropped), else 1.
int JisToSjis(unsigned char* out, const unsigned char* in, int mode);

// One JIS X 0208 code to Shift-JIS, in place; bytes outside 0x21-0x7E give 0x81 0xA1.
void JisPairToSjis(unsigned char& first, unsigned char& second);

// The same decoding piece by piece, so that a reader can stop early. The input ends at its
// first NUL or at its end, whichever comes first.
class JisReader {
 public:
  JisReader(std::string_view text, int mode);
  // Appends the next decoded bytes to out: at least `want` (taken as 1 when 0) unless the
  // output ends first, and at most one byte more. The last piece ends with the decoder's NUL.
  // Returns false, appending nothing, once everything has been given.
  bool Next(std::string& out, size_t want = 4096);

 private:
  std::string_view text_;
  size_t pos_ = 0;
  bool two_byte_;
  bool raw_;
  bool done_ = false;
};
