#include "decode/romaji.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <string>
#include <vector>

#include "decode/romaji_table.h"
#include "hex.h"
#include "romaji_oracle.h"

namespace {

// Shift-JIS bytes of UTF-8 text, so that expectations can be written as kana.
std::string Sjis(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* src = const_cast<char*>(utf8.data());
  size_t src_left = utf8.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  EXPECT_NE(r, static_cast<size_t>(-1)) << "no Shift-JIS form for " << utf8;
  out.resize(dst - out.data());
  return out;
}

std::string Convert(std::string text) {
  RomajiToKana(text);
  return text;
}

struct RomajiCase {
  std::string in;
  std::string out;  // UTF-8 where it spells Shift-JIS text, else raw bytes (raw = true)
  bool raw = false;
};

void PrintTo(const RomajiCase& c, std::ostream* os) {
  *os << Hex(c.in);
}

class RomajiCases : public testing::TestWithParam<RomajiCase> {};

TEST_P(RomajiCases, ConvertsAsTheOrderedReplacementsDo) {
  const RomajiCase& c = GetParam();
  const std::string expected = c.raw ? c.out : Sjis(c.out);
  EXPECT_EQ(Hex(Convert(c.in)), Hex(expected)) << "input " << Hex(c.in);
  EXPECT_EQ(Hex(RomajiOracle(c.in)), Hex(expected)) << "oracle, input " << Hex(c.in);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, RomajiCases,
    testing::Values(
        RomajiCase{"kya", "きゃ"}, RomajiCase{"KA", "か"}, RomajiCase{"Ka", "か"},
        RomajiCase{"kA", "か"}, RomajiCase{"kka", "っか"}, RomajiCase{"tte", "って"},
        RomajiCase{"n", "ん"}, RomajiCase{"nn", "ん"},
        RomajiCase{"nnn", "んん"},  // "NN" takes the first two N, "N" the third
        RomajiCase{"kanji", "かんじ"}, RomajiCase{"kannji", "かんじ"},
        RomajiCase{"tanni", "たんに"},  // "NI" comes before "NN"
        RomajiCase{"nna", "んな"}, RomajiCase{"nnya", "んにゃ"}, RomajiCase{"onna", "おんな"},
        RomajiCase{"honya", "ほにゃ"},
        RomajiCase{"hon'ya", "ほん'や"},  // the apostrophe stays and keeps N apart
        RomajiCase{"n'a", "ん'あ"}, RomajiCase{"konnichiha", "こんにちは"},
        RomajiCase{"toukyou", "とうきょう"},
        RomajiCase{"shimbun", "しMぶん"},  // no key has M before B
        RomajiCase{"matcha", "まTちゃ"},   // no key begins with TC
        RomajiCase{"xa", "Xあ"}, RomajiCase{"ltu", "Lつ"}, RomajiCase{"hello", "へLLお"},
        RomajiCase{"abc", "あBC"}, RomajiCase{"vu", "\x82\xA4\x81\x4A", true},
        RomajiCase{"vua", "う゛あ"},  // the 'J' byte of the voiced mark never begins a match
        RomajiCase{"vva", "っう゛ぁ"}, RomajiCase{"va", "\x83\x94\x82\x9F", true},
        RomajiCase{"Kanji 123!", "かんじ 123!"}, RomajiCase{"1a2", "1あ2"},
        RomajiCase{"k\r\na", "K\r\nあ"},  // a key never matches across a line end
        RomajiCase{"ka\r\nki", "か\r\nき"},
        RomajiCase{"\x83\x41", "\x83\x41", true},  // the 'A' of this katakana is no character start
        RomajiCase{"\x83\x62"
                   "a",
                   "ッあ"},  // nor is the 'b' of this one upper-cased
        RomajiCase{"\xB6"
                   "a",
                   "\xB6\x82\xA0", true},  // half-width katakana are single bytes
        RomajiCase{"\x82\xA9"
                   "ka",
                   "かか"},
        // 0xF0 is a lead byte here, so the K belongs to it.
        RomajiCase{"\xF0\x4B\x41", "\xF0\x4B\x82\xA0", true}, RomajiCase{"", ""},
        // More of the order: long keys first, and chunks that end without a vowel.
        RomajiCase{"sshi ttsu cchi", "っし っつ っち"}, RomajiCase{"chacha", "ちゃちゃ"},
        RomajiCase{"nnnn nnnnna", "んん んんな"}, RomajiCase{"kkkya", "Kっきゃ"}));

struct UpperCase {
  std::string in, out;
};

// Double-byte letters take their capitals; everything else double-byte keeps its bytes.
TEST(RomajiToKana, UpperCasesDoubleByteLetters) {
  const UpperCase cases[] = {
      {Sjis("ａｚ"), Sjis("ＡＺ")},
      {Sjis("αω"), Sjis("ΑΩ")},
      {Sjis("аеёнопя"), Sjis("АЕЁНОПЯ")},  // on both sides of the gap at 0x847F
      {"\x84\x7F", "\x84\x7F"},
      {"\xEE\xEF\xEE\xF8", "\x87\x54\x87\x5D"},  // small roman numerals, first code points
      {"\xFA\x40\xFA\x49", "\x87\x54\x87\x5D"},  // and the second ones
      {Sjis("ＡΑА漢字ー＿"), Sjis("ＡΑА漢字ー＿")},
      {"\x82\x80\x82\x9B\x83\xBE\x83\xD7\x84\x6F\x84\x92",
       "\x82\x80\x82\x9B\x83\xBE\x83\xD7\x84\x6F\x84\x92"},
      // A lead byte with a trail that no character has: upper-casing goes on after it.
      {"\x81\x20"
       "a\x82\xFF"
       "b\x82\x81",
       std::string("\x81\x20") + Sjis("あ") +
           "\x82\xFF"
           "B" +
           Sjis("Ａ")},
      {"k\x82", "K\x82"},  // a lone lead byte at the end stays
  };
  for (const UpperCase& c : cases) {
    EXPECT_EQ(Hex(Convert(c.in)), Hex(c.out)) << "input " << Hex(c.in);
    EXPECT_EQ(Hex(RomajiOracle(c.in)), Hex(c.out)) << "oracle, input " << Hex(c.in);
  }
}

// Random text mixing romaji with everything else an editor can hold.
std::string RandomText(std::mt19937& rng, int max_pieces) {
  static const std::vector<std::string> kOther = {"'",
                                                  " ",
                                                  "1",
                                                  "0",
                                                  "!",
                                                  "-",
                                                  "\r\n",
                                                  "\r\n\r\n",
                                                  "\x82\xA0",
                                                  "\x82\xF1",
                                                  "\x83\x41",
                                                  "\x83\x62",
                                                  "\x83\x94",  // kana
                                                  "\x88\x9F",
                                                  "\x81\x4A",
                                                  "\x81\x40",  // kanji, marks, space
                                                  "\x82\x81",
                                                  "\x82\x9A",
                                                  "\x82\x60",
                                                  "\x83\xBF",
                                                  "\x84\x70",
                                                  "\x84\x7F",
                                                  "\x84\x91",
                                                  "\xEE\xEF",
                                                  "\xFA\x49",  // letters with a case
                                                  "\xB1",
                                                  "\xB6",
                                                  "\xDF",
                                                  "\xA1",
                                                  "\x80",
                                                  "\xFD",
                                                  "\xA0",  // single bytes 0x80 and up
                                                  "\x81"
                                                  "a",
                                                  "\xF0K",
                                                  "\x9F"
                                                  "n",
                                                  "\xE0"
                                                  "A",  // lead bytes that take a letter along
                                                  "\x81\x20",
                                                  "\x82\xFF",
                                                  "\x88\x7F",  // trails that no character has
                                                  "nnnnn",
                                                  "NNNNNNN",
                                                  "kkkkt",
                                                  "xxx",
                                                  "lqx"};
  std::string s;
  const int n = std::uniform_int_distribution<int>(0, max_pieces)(rng);
  for (int i = 0; i < n; ++i) {
    const unsigned r = rng() % 10;
    if (r < 5) {
      std::string key = g_romajiTable[2 * (rng() % kRomajiPairs)];
      for (char& c : key) {
        if (rng() % 2) {
          c = static_cast<char>(c - 'A' + 'a');
        }
      }
      s += key;
    } else if (r < 7) {
      s += static_cast<char>((rng() % 2 ? 'a' : 'A') + rng() % 26);
    } else {
      s += kOther[rng() % kOther.size()];
    }
  }
  if (rng() % 8 == 0) {
    s += static_cast<char>(0x81 + rng() % 0x1F);  // a lead byte at the very end
  }
  return s;
}

TEST(RomajiToKana, MatchesTheOracleOnRandomText) {
  std::mt19937 rng(7);
  for (int round = 0; round < 4000; ++round) {
    const std::string text = RandomText(rng, 30);
    ASSERT_EQ(Hex(Convert(text)), Hex(RomajiOracle(text))) << "input " << Hex(text);
  }
}

TEST(RomajiToKana, MatchesTheOracleOnLongText) {
  std::mt19937 rng(11);
  std::string text;
  while (text.size() < 20000) {
    text += RandomText(rng, 40);
  }
  // One long stretch without a vowel, with N runs in it.
  for (int i = 0; i < 500; ++i) {
    text += i % 3 ? "nnn" : "ksh";
  }
  text += "ya";
  EXPECT_EQ(Convert(text), RomajiOracle(text));
}

TEST(RomajiReader, PiecesJoinToTheWholeConversion) {
  std::mt19937 rng(3);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomText(rng, 30);
    const std::string expected = Convert(text);
    RomajiReader reader(text);
    std::string joined;
    while (true) {
      const size_t want = round % 3 == 0 ? 1 : std::uniform_int_distribution<size_t>(1, 16)(rng);
      const size_t before = joined.size();
      if (!reader.Next(joined, want)) {
        break;
      }
      ASSERT_GT(joined.size(), before);
      if (joined.size() < expected.size()) {
        EXPECT_GE(joined.size() - before, want);
      }
    }
    ASSERT_EQ(Hex(joined), Hex(expected)) << "input " << Hex(text);
    EXPECT_FALSE(reader.Next(joined, 1));
  }
}

TEST(RomajiReader, EmptyTextGivesNothing) {
  RomajiReader reader("");
  std::string out;
  EXPECT_FALSE(reader.Next(out, 1));
  EXPECT_TRUE(out.empty());
}

}  // namespace
