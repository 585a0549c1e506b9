// The editor boundary's codec: every byte string survives the trip through the control's
// text, and the text holds the characters a user should see.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/cp932_codec.h"

namespace {

std::string RoundTrip(const std::string& bytes) {
  return Cp932FromEditor(EditorFromCp932(bytes));
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (unsigned char b : bytes) {
    snprintf(buf, sizeof buf, "%02X ", b);
    out += buf;
  }
  return out;
}

TEST(Cp932Codec, EveryShortByteStringSurvives) {
  for (int a = 0; a < 256; ++a) {
    const std::string one(1, char(a));
    ASSERT_EQ(RoundTrip(one), one) << Hex(one);
    for (int b = 0; b < 256; ++b) {
      // Alone, and between neighbours that could pair with a stray lead or trail byte.
      for (const std::string& s :
           {std::string{char(a), char(b)}, std::string{char(a), char(b), 'x'},
            std::string{'\x82', char(a), char(b)}}) {
        ASSERT_EQ(RoundTrip(s), s) << Hex(s);
      }
    }
  }
}

TEST(Cp932Codec, RandomByteStringsSurvive) {
  std::mt19937 rng(932);
  // Bytes weighted towards the troublesome ones: lead bytes, CR, LF, NUL, ESC, 0x80, 0xFD.
  const unsigned char picks[] = {0x00, 0x0A, 0x0D, 0x1B, 0x1A, 0x5C, 0x7E, 0x7F,
                                 0x80, 0x81, 0x82, 0x9F, 0xA0, 0xB1, 0xDF, 0xE0,
                                 0xED, 0xEE, 0xFA, 0xFC, 0xFD, 0xFF, 'A',  'k'};
  std::uniform_int_distribution<int> len(0, 40), any(0, 255), coin(0, 1), pick(0, sizeof picks - 1);
  for (int i = 0; i < 20000; ++i) {
    std::string s;
    for (int n = len(rng); n > 0; --n)
      s += char(coin(rng) ? any(rng) : picks[pick(rng)]);
    ASSERT_EQ(RoundTrip(s), s) << Hex(s);
  }
}

TEST(Cp932Codec, LineEndsBecomeTheControlsLineBreaks) {
  // Every string of CR, LF and 'a' up to six long survives.
  const char alphabet[] = {'\r', '\n', 'a'};
  std::vector<std::string> level{""};
  for (int n = 1; n <= 6; ++n) {
    std::vector<std::string> next;
    for (const auto& s : level) {
      for (char c : alphabet)
        next.push_back(s + c);
    }
    for (const auto& s : next)
      ASSERT_EQ(RoundTrip(s), s) << Hex(s);
    level = std::move(next);
  }
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"a\r\nb\r\n", L"a\nb\n"},
      {"a\rb", L"a\rb"},      // a lone CR stays a CR
      {"a\r\r\n", L"a\r\n"},  // CR CR LF: a CR, then a line break
      {"a\nb",
       L"a\xF70A"
       L"b"},                     // a LF without CR travels as a byte
      {"\x82\r\n", L"\xF782\n"},  // a lead byte before a line end
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EditorFromCp932(c.bytes), c.text) << Hex(c.bytes);
    EXPECT_EQ(Cp932FromEditor(c.text), c.bytes) << Hex(c.bytes);
  }
}

TEST(Cp932Codec, CharactersAndEscapes) {
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"\x82\xa0\x82\xab\x82\xe1", L"\x3042\x304D\x3083"},  // あきゃ
      {"\x88\x9f", L"\x4E9C"},                              // 亜
      {"\\~", L"\\~"},                                      // not the yen sign and overline
      {"\xb1\xdf", L"\xFF71\xFF9F"},                        // half-width kana
      {"\x87\x40", L"\x2460"},                              // NEC row 13
      {"\xfa\x5c", L"\x7E8A"},                              // IBM extension, preferred code
      {"\x1b$B", L"\x1B$B"},                                // ESC is a character
      {"\t\x1a\x7f", L"\t\x1A\x7F"},
      {std::string("a\0b", 3),
       L"a\xF700"
       L"b"},  // NUL cannot live in the control
      {"\x80\xa0\xfd\xfe\xff", L"\xF780\xF7A0\xF7FD\xF7FE\xF7FF"},
      {"\x82", L"\xF782"},            // a lone lead byte at the end
      {"\x82 ", L"\xF782 "},          // a lead byte before no trail
      {"\xed\x40", L"\xF7ED\xF740"},  // NEC-selected duplicate: both bytes escaped
      {"\x82\x7f", L"\xF782\x7F"},    // 0x7F is no trail byte
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EditorFromCp932(c.bytes), c.text) << Hex(c.bytes);
    EXPECT_EQ(Cp932FromEditor(c.text), c.bytes) << Hex(c.bytes);
  }
}

TEST(Cp932Codec, TypedCharactersCp932CannotHoldBecomeQuestionMarks) {
  EXPECT_EQ(Cp932FromEditor(L"caf\xE9 \x20AC"), "caf? ?");
  EXPECT_EQ(Cp932FromEditor(std::wstring(1, wchar_t(0x1F600))), "?");
  EXPECT_EQ(Cp932FromEditor(L"\xFFFD"), "?");
  // The escapes carry their byte whatever it is.
  EXPECT_EQ(Cp932FromEditor(L"\xF741\xF70D\xF700"), std::string("A\r\0", 3));
}

TEST(Cp932Codec, EveryCharacterThatCp932HoldsComesBackUnchanged) {
  // What a user types and saves reads back as the same text.
  int held = 0;
  for (wchar_t c = 1; c < 0x10000; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || (c >= kByteEscapeBase && c <= kByteEscapeBase + 0xFF)) {
      continue;
    }
    const std::wstring text(1, c);
    const std::string bytes = Cp932FromEditor(text);
    if (bytes == "?" && c != L'?')
      continue;
    ++held;
    ASSERT_EQ(EditorFromCp932(bytes), text) << int(c);
  }
  // ASCII, half-width kana and the JIS X 0208 rows with the NEC and IBM extensions.
  EXPECT_GT(held, 7700);
}

}  // namespace
