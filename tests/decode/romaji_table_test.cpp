#include "decode/romaji_table.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::string_view Key(int pair) {
  return g_romajiTable[2 * (pair - 1)];
}  // pair from 1
std::string_view Value(int pair) {
  return g_romajiTable[2 * (pair - 1) + 1];
}

int Find(std::string_view key) {
  for (int p = 1; p <= kRomajiPairs; ++p) {
    if (Key(p) == key) {
      return p;
    }
  }
  return 0;
}

bool IsVowel(char c) {
  return std::string_view("AIUEO").find(c) != std::string_view::npos;
}

TEST(RomajiTable, HoldsTheKnownPairsInTheirPlaces) {
  EXPECT_EQ(kRomajiPairs, 378);
  EXPECT_EQ(Key(1), "KKYA");
  EXPECT_EQ(Value(1), "\x82\xC1\x82\xAB\x82\xE1");  // kki-small-ya
  EXPECT_EQ(Key(111), "KYA");
  EXPECT_EQ(Value(111), "\x82\xAB\x82\xE1");
  EXPECT_EQ(Key(139), "CHA");
  EXPECT_EQ(Key(153), "CHA");
  EXPECT_EQ(Value(153), Value(139));
  EXPECT_EQ(Key(372), "NN");
  EXPECT_EQ(Key(378), "N");
  EXPECT_EQ(Value(378), "\x82\xF1");
  EXPECT_EQ(Value(372), Value(378));
  EXPECT_EQ(Value(Find("VU")), "\x82\xA4\x81\x4A");
  EXPECT_EQ(Value(Find("VA")), "\x83\x94\x82\x9F");
  EXPECT_EQ(Value(Find("VVA")), "\x82\xC1\x82\xA4\x81\x4A\x82\x9F");
  EXPECT_EQ(Value(Find("VVU")), "\x82\xC1\x82\xA4\x81\x4A");
  EXPECT_EQ(Value(Find("WO")), "\x82\xF0");
}

TEST(RomajiTable, KeysAreCapitalsOtherThanLQXAndOccurOnceButCha) {
  for (int p = 1; p <= kRomajiPairs; ++p) {
    const std::string_view key = Key(p);
    ASSERT_GE(key.size(), 1u);
    ASSERT_LE(key.size(), 4u);
    for (char c : key) {
      EXPECT_TRUE(c >= 'A' && c <= 'Z' && c != 'L' && c != 'Q' && c != 'X') << p << ' ' << key;
    }
    if (p != 153) {
      EXPECT_EQ(Find(key), p) << "key " << key << " repeats";
    }
  }
}

// Values are hiragana, katakana VU, or the voiced mark right after U; never a single byte.
TEST(RomajiTable, ValuesAreDoubleByteKanaOnly) {
  for (int p = 1; p <= kRomajiPairs; ++p) {
    const std::string_view v = Value(p);
    ASSERT_GE(v.size(), 2u);
    ASSERT_LE(v.size(), 8u);
    ASSERT_EQ(v.size() % 2, 0u) << p;
    for (size_t i = 0; i < v.size(); i += 2) {
      const unsigned code =
          static_cast<unsigned char>(v[i]) << 8 | static_cast<unsigned char>(v[i + 1]);
      const bool hiragana = code >= 0x829F && code <= 0x82F1;
      const bool vu = code == 0x8394;
      const bool voiced_u = code == 0x814A && i >= 2 && v.substr(i - 2, 2) == "\x82\xA4";
      EXPECT_TRUE(hiragana || vu || voiced_u) << "pair " << p << " character " << i / 2;
    }
  }
}

// The order that decides overlapping keys: longer keys before the shorter keys inside them,
// and everything that starts with N before "NN", which comes before "N".
TEST(RomajiTable, KeysComeBeforeTheShorterKeysTheyContain) {
  for (int a = 1; a <= kRomajiPairs; ++a) {
    for (int b = 1; b <= kRomajiPairs; ++b) {
      if (Key(b).size() < Key(a).size() && Key(a).find(Key(b)) != std::string_view::npos) {
        EXPECT_LT(a, b) << Key(a) << " must come before " << Key(b);
      }
    }
  }
  const int nn = Find("NN");
  for (int p = 1; p <= kRomajiPairs; ++p) {
    if (Key(p).size() > 1 && Key(p)[0] == 'N' && Key(p) != "NN") {
      EXPECT_LT(p, nn) << Key(p);
    }
  }
  EXPECT_EQ(nn, 372);
}

// The only keys that overlap without one holding the other are "NN" and the N keys.
TEST(RomajiTable, OnlyNKeysOverlapNN) {
  for (int a = 1; a <= kRomajiPairs; ++a) {
    for (int b = 1; b <= kRomajiPairs; ++b) {
      const std::string_view x = Key(a), y = Key(b);
      for (size_t k = 1; k < std::min(x.size(), y.size()); ++k) {
        if (x.substr(x.size() - k) == y.substr(0, k)) {  // x's end is y's start
          EXPECT_TRUE(x == "NN" && y[0] == 'N') << x << " overlaps " << y;
        }
      }
    }
  }
}

// What the one-pass converter builds on: a vowel only ends a key, the keys without a vowel
// are "NN" and "N", and after "NN" come only the single vowels and "N".
TEST(RomajiTable, VowelsOnlyEndKeys) {
  for (int p = 1; p <= kRomajiPairs; ++p) {
    const std::string_view key = Key(p);
    for (size_t i = 0; i + 1 < key.size(); ++i) {
      EXPECT_FALSE(IsVowel(key[i])) << key;
    }
    if (!IsVowel(key.back())) {
      EXPECT_TRUE(key == "NN" || key == "N") << key;
    }
    if (p > 372 && p < 378) {
      EXPECT_TRUE(key.size() == 1 && IsVowel(key[0])) << key;
    }
  }
}

}  // namespace
