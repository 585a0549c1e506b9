#include "decode/jis.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "hex.h"

namespace {

struct Decoded {
  std::string bytes;  // up to, not including, the NUL
  int result;
};

// Decodes into a buffer of exactly the promised size, followed by guard bytes that must stay.
Decoded Decode(const std::string& in, int mode) {
  constexpr unsigned char kGuard = 0xCC;
  std::vector<unsigned char> out(in.size() + 1 + 8, kGuard);
  const int result =
      JisToSjis(out.data(), reinterpret_cast<const unsigned char*>(in.c_str()), mode);
  for (size_t i = std::strlen(in.c_str()) + 1; i < out.size(); ++i) {
    EXPECT_EQ(out[i], kGuard) << "written past the room at " << i;
  }
  return {reinterpret_cast<const char*>(out.data()), result};
}

struct JisCase {
  int mode;
  std::string in;
  std::string out;
  int result;
};

void PrintTo(const JisCase& c, std::ostream* os) {
  *os << "mode " << c.mode << ": " << Hex(c.in);
}

class JisCases : public testing::TestWithParam<JisCase> {};

TEST_P(JisCases, DecodesToShiftJis) {
  const JisCase& c = GetParam();
  const Decoded d = Decode(c.in, c.mode);
  EXPECT_EQ(Hex(d.bytes), Hex(c.out)) << "mode " << c.mode << ", input " << Hex(c.in);
  EXPECT_EQ(d.result, c.result);
}

// ESC is 0x1B; literals are split where a hex escape would swallow the next character.
INSTANTIATE_TEST_SUITE_P(
    EdgeCases, JisCases,
    testing::Values(JisCase{2, "\x1B$B\x24\x22\x24\x24\x1B(BA",
                            "\x82\xA0\x82\xA2"
                            "A",
                            1},
                    JisCase{2, "abc", "abc", 1},
                    // In the two-byte state the line end is read as a pair.
                    JisCase{2, "\x1B$B\x30\x21\r\n", "\x88\x9F\x81\xA1", 1},
                    JisCase{2, "\x1B$B\x30\x21\x1B(B\r\n", "\x88\x9F\r\n", 1},
                    JisCase{2, "\x1B$@\x24\x22\x1B(J1",
                            "\x82\xA0"
                            "1",
                            1},
                    JisCase{4, "\x24\x22\x24\x24", "\x82\xA0\x82\xA2", 1},
                    JisCase{2, "\x24\x22\x24\x24", "\x24\x22\x24\x24", 1},
                    // 'C' begins a pair that the input does not finish.
                    JisCase{4, "ABC", "\x91\x61", 0},
                    // In mode 4 a '$' brings back the two-byte state and begins its own pair.
                    JisCase{4, "\x1B(Babc\x24\x22", "abc\x82\xA0", 1},
                    JisCase{2, "\x1B(Babc\x24\x22", "abc$\x22", 1},
                    JisCase{4, "\x1B(J$B", "\x82\xC0", 1},
                    JisCase{2,
                            "\x1B"
                            "x",
                            "\x1B"
                            "x",
                            1},
                    JisCase{4,
                            "\x1B"
                            "x",
                            "\x81\xA1", 1},
                    JisCase{2, "\x1B(I1", "\x1B(I1", 1},
                    // An ESC on the second byte of a pair is paired, and its sequence is lost.
                    JisCase{2, "\x1B$B\x24\x1B(B", "\x81\xA1\x84\xC0", 1}, JisCase{2, "", "", 1},
                    JisCase{4, "", "", 1}, JisCase{4, "$", "", 0},
                    // An ESC at the very end, or with only part of a sequence after it.
                    JisCase{2, "a\x1B", "a\x1B", 1}, JisCase{2, "\x1B(", "\x1B(", 1},
                    JisCase{4, "\x1B(", "\x81\xA1", 1}, JisCase{2, "\x1B$B\x1B", "", 0},
                    // A sequence that switches to the state already in force changes nothing.
                    JisCase{2, "\x1B(Ba\x1B$B\x1B$@\x24\x22", "a\x82\xA0", 1}));

struct PairCase {
  unsigned char j1, j2, s1, s2;
};

TEST(JisPairToSjis, MapsTheCornersOfTheCodeSpace) {
  const PairCase cases[] = {
      {0x21, 0x21, 0x81, 0x40},  // ideographic space
      {0x21, 0x5F, 0x81, 0x7E},  // odd row: last trail below 0x7F
      {0x21, 0x60, 0x81, 0x80},  // odd row: first trail above 0x7F
      {0x22, 0x21, 0x81, 0x9F},  // even row
      {0x5E, 0x7E, 0x9F, 0xFC}, {0x5F, 0x21, 0xE0, 0x40}, {0x75, 0x21, 0xEB, 0x40},
      {0x7E, 0x7E, 0xEF, 0xFC}, {0x20, 0x21, 0x81, 0xA1}, {0x21, 0x7F, 0x81, 0xA1},
      {0x7F, 0x21, 0x81, 0xA1}, {0x21, 0x20, 0x81, 0xA1}, {0xA1, 0xA1, 0x81, 0xA1},
  };
  for (const PairCase& c : cases) {
    unsigned char a = c.j1, b = c.j2;
    JisPairToSjis(a, b);
    EXPECT_EQ(a, c.s1) << std::hex << int(c.j1) << ' ' << int(c.j2);
    EXPECT_EQ(b, c.s2) << std::hex << int(c.j1) << ' ' << int(c.j2);
  }
}

// Every character that iconv knows in JIS X 0208 must decode to the Shift-JIS bytes that
// iconv gives for it.
TEST(JisToSjis, AgreesWithIconvOnEveryJisX0208Character) {
  iconv_t cd = iconv_open("CP932", "ISO-2022-JP");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int compared = 0;
  for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
    for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
      std::string in = "\x1B$B";
      in += static_cast<char>(j1);
      in += static_cast<char>(j2);
      in += "\x1B(B";
      char buf[16];
      char* src = in.data();
      size_t src_left = in.size();
      char* dst = buf;
      size_t dst_left = sizeof buf;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1)) {
        continue;  // unassigned, or no Shift-JIS form in iconv's tables
      }
      const std::string expected(buf, dst - buf);
      EXPECT_EQ(Hex(Decode(in, 2).bytes), Hex(expected)) << std::hex << j1 << ' ' << j2;
      ++compared;
    }
  }
  iconv_close(cd);
  EXPECT_GT(compared, 6000);
}

// Random JIS-like text: the bytes that steer the decoder, plain bytes, line ends, high bytes
// and the odd NUL, which ends the input.
std::string RandomJis(std::mt19937& rng) {
  static const std::string kPieces[] = {
      "\x1B$B", "\x1B$@", "\x1B(B", "\x1B(J", "\x1B", "\x1B(", "\x1B$", "$", "(",   "B",
      "\r\n",   "0!",     "$\"",    "a",      "\x80", "\xFF",  " ",     "~", "\x7F"};
  std::string s;
  const int n = std::uniform_int_distribution<int>(0, 40)(rng);
  for (int i = 0; i < n; ++i) {
    if (rng() % 97 == 0) {
      s += '\0';
    } else {
      s += kPieces[rng() % std::size(kPieces)];
    }
  }
  return s;
}

TEST(JisReader, PiecesJoinToTheWholeDecodingWithItsNul) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomJis(rng);
    const int mode = rng() % 2 ? 4 : 2;
    const Decoded whole = Decode(text, mode);  // stops at the first NUL
    const std::string expected = whole.bytes + '\0';

    JisReader reader(text, mode);
    std::string joined;
    size_t want = 0;
    while (true) {
      want = round % 3 == 0 ? 1 : std::uniform_int_distribution<size_t>(1, 12)(rng);
      const size_t before = joined.size();
      if (!reader.Next(joined, want)) {
        break;
      }
      const size_t got = joined.size() - before;
      ASSERT_GT(got, 0u);
      // Short of `want` only with the last piece; past it by at most one pair's overshoot.
      if (joined.back() != '\0' || joined.size() < expected.size()) {
        EXPECT_GE(got, want);
      }
      EXPECT_LE(got, want + 1);
    }
    ASSERT_EQ(Hex(joined), Hex(expected)) << "mode " << mode << ", input " << Hex(text);
    EXPECT_FALSE(reader.Next(joined, 1));
  }
}

TEST(JisReader, GivesEverythingInOnePieceWhenAskedForEnough) {
  const std::string text = "\x1B$B\x24\x22\x1B(Bab";
  JisReader reader(text, 2);
  std::string out;
  ASSERT_TRUE(reader.Next(out, 4096));
  EXPECT_EQ(Hex(out), Hex(std::string("\x82\xA0"
                                      "ab",
                                      4) +
                          '\0'));
  EXPECT_FALSE(reader.Next(out, 4096));
}

}  // namespace
