#include "decode/jis.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char kEsc = 0x1B;

// The pair that stands for a code the decoder cannot map: the black square.
constexpr unsigned char kBadFirst = 0x81;
constexpr unsigned char kBadSecond = 0xA1;

// Shift-JIS bytes by JIS byte: kLead[j1] is the first byte, kTrail[j1 & 1][j2] the second;
// 0 where a JIS byte lies outside 0x21-0x7E.
struct PairTables {
  unsigned char lead[256] = {};
  unsigned char trail[2][256] = {};
  constexpr PairTables() {
    for (unsigned j = 0x21; j <= 0x7E; ++j) {
      lead[j] = static_cast<unsigned char>(((j - 0x21) >> 1) + (j < 0x5F ? 0x81 : 0xC1));
      // Odd rows take the trail bytes below 0x9F (skipping 0x7F), even rows those from 0x9F.
      trail[1][j] = static_cast<unsigned char>(j + (j < 0x60 ? 0x1F : 0x20));
      trail[0][j] = static_cast<unsigned char>(j + 0x7E);
    }
  }
};
constexpr PairTables kPair;

inline void PairToSjis(unsigned j1, unsigned j2, unsigned char* out) {
  const unsigned char s1 = kPair.lead[j1 & 0xFF];
  const unsigned char s2 = kPair.trail[j1 & 1][j2 & 0xFF];
  const bool bad = s1 == 0 || s2 == 0;
  out[0] = bad ? kBadFirst : s1;
  out[1] = bad ? kBadSecond : s2;
}

// What the bytes at `in` (an ESC) switch to: 1 for the single-byte state, 2 for the two-byte
// state, 0 when they begin none of ESC ( B, ESC ( J, ESC $ @, ESC $ B.
inline int EscapeAt(const unsigned char* in, const unsigned char* end) {
  if (end - in < 3) {
    return 0;
  }
  if (in[1] == '(') {
    return in[2] == 'B' || in[2] == 'J' ? 1 : 0;
  }
  if (in[1] == '$') {
    return in[2] == '@' || in[2] == 'B' ? 2 : 0;
  }
  return 0;
}

struct JisProgress {
  const unsigned char* in;
  unsigned char* out;
  bool two_byte;
  int result;  // -1 while input is left, else what JisToSjis returns (the NUL is written)
};

// Decodes [in, end) until the input is used up, or until `out` has reached `goal`; the step
// that crosses `goal` may write one byte past it. `raw` is mode 4.
JisProgress DecodeJis(const unsigned char* in, const unsigned char* end, unsigned char* out,
                      const unsigned char* goal, bool two_byte, bool raw) {
  while (out < goal) {
    if (in == end) {
      *out++ = 0;
      return {in, out, two_byte, 1};
    }
    const unsigned char c = *in;
    if (c == kEsc) {
      if (int to = EscapeAt(in, end)) {
        two_byte = to == 2;
        in += 3;
        continue;
      }
    }
    if (!two_byte && !(raw && (c == kEsc || c == '$'))) {
      // Copy the plain bytes up to the next byte that can change the state.
      const unsigned char* stop = in + std::min<size_t>(end - in, goal - out);
      const unsigned char* q = in + 1;
      if (raw) {
        while (q < stop && *q != kEsc && *q != '$') {
          ++q;
        }
      } else if (const void* esc = std::memchr(q, kEsc, stop - q)) {
        q = static_cast<const unsigned char*>(esc);
      } else {
        q = stop;
      }
      std::memcpy(out, in, q - in);
      out += q - in;
      in = q;
      continue;
    }
    // A pair; in mode 4 a '$' or a stray ESC also brings back the two-byte state.
    two_byte = true;
    if (end - in < 2) {
      *out++ = 0;
      return {end, out, two_byte, 0};
    }
    PairToSjis(c, in[1], out);
    out += 2;
    in += 2;
    // Stay in the pair loop while no ESC can end the two-byte state.
    while (out < goal && end - in >= 2 && *in != kEsc) {
      PairToSjis(in[0], in[1], out);
      out += 2;
      in += 2;
    }
  }
  return {in, out, two_byte, -1};
}

}  // namespace

void JisPairToSjis(unsigned char& first, unsigned char& second) {
  unsigned char s[2];
  PairToSjis(first, second, s);
  first = s[0];
  second = s[1];
}

int JisToSjis(unsigned char* out, const unsigned char* in, int mode) {
  const size_t len = std::strlen(reinterpret_cast<const char*>(in));
  const bool raw = mode == 4;
  return DecodeJis(in, in + len, out, out + len + 1, raw, raw).result;
}

JisReader::JisReader(std::string_view text, int mode)
    : text_(text.substr(0, text.find('\0'))), two_byte_(mode == 4), raw_(mode == 4) {}

bool JisReader::Next(std::string& out, size_t want) {
  if (done_) {
    return false;
  }
  // The rest of the output, its NUL included, is at most one byte longer than the rest of
  // the input.
  const size_t goal = std::clamp<size_t>(want, 1, text_.size() - pos_ + 1);
  const size_t old = out.size();
  out.resize(old + goal + 1);
  auto* base = reinterpret_cast<unsigned char*>(out.data()) + old;
  const auto* in = reinterpret_cast<const unsigned char*>(text_.data());
  const JisProgress p = DecodeJis(in + pos_, in + text_.size(), base, base + goal, two_byte_, raw_);
  out.resize(old + (p.out - base));
  pos_ = p.in - in;
  two_byte_ = p.two_byte;
  done_ = p.result >= 0;
  return true;
}
