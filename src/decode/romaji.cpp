#include "decode/romaji.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "decode/romaji_table.h"

// Applying the pairs one after another, each replacing every occurrence of its key, is what
// the conversion means. It is computed here in one pass, from facts about the table that the
// table's tests check:
// - keys are ASCII capitals and values double-byte characters, so a value never takes part
//   in a later match and each run of letters converts on its own;
// - a vowel (A I U E O) stands only at the end of a key, so no key reaches past a vowel and
//   a run falls apart into chunks: the letters up to and including a vowel, and the letters
//   after the last vowel;
// - the keys ending in the chunk's vowel are suffixes of one another, so the first of them in
//   the table (the longest) takes the chunk's end, and nothing else competes for those letters;
// - the keys without a vowel are "NN" and then "N", and all keys after "NN" but "N" are single
//   vowels: the letters before the end key keep their place, except that each stretch of N
//   becomes "NN" values from the left and one "N" value if a single N is left over.

namespace {

// What a byte is at a character start.
enum ByteClass : unsigned char { kOther, kConsonant, kVowel, kLead };

struct ByteClasses {
  ByteClass of[256] = {};
  constexpr ByteClasses() {
    for (int c = 'A'; c <= 'Z'; ++c) {
      const bool vowel = c == 'A' || c == 'I' || c == 'U' || c == 'E' || c == 'O';
      of[c] = of[c + 0x20] = vowel ? kVowel : kConsonant;
    }
    for (int c = 0x81; c <= 0xFC; ++c) {
      if (c <= 0x9F || c >= 0xE0) {
        of[c] = kLead;
      }
    }
  }
};
constexpr ByteClasses kBytes;

inline ByteClass ClassOf(unsigned char c) {
  return kBytes.of[c];
}

inline unsigned char Upper(unsigned char letter) {
  return letter & ~0x20;
}

// The upper-case form of a double-byte character, written to out[0..1]. Characters without a
// case, and lead bytes with a trail byte that no character has, stay as they are.
inline void UpperDouble(unsigned char lead, unsigned char trail, char* out) {
  switch (lead) {
    case 0x82:  // full-width a-z
      if (trail >= 0x81 && trail <= 0x9A) {
        trail -= 0x21;
      }
      break;
    case 0x83:  // Greek
      if (trail >= 0xBF && trail <= 0xD6) {
        trail -= 0x20;
      }
      break;
    case 0x84:  // Cyrillic; trail 0x7F is no character, so the small letters skip it
      if (trail >= 0x70 && trail <= 0x7E) {
        trail -= 0x30;
      } else if (trail >= 0x80 && trail <= 0x91) {
        trail -= 0x31;
      }
      break;
    case 0xEE:  // small roman numerals, both code points, to the one capital set
      if (trail >= 0xEF && trail <= 0xF8) {
        lead = 0x87;
        trail = trail - 0xEF + 0x54;
      }
      break;
    case 0xFA:
      if (trail >= 0x40 && trail <= 0x49) {
        lead = 0x87;
        trail = trail - 0x40 + 0x54;
      }
      break;
    default:
      break;
  }
  out[0] = static_cast<char>(lead);
  out[1] = static_cast<char>(trail);
}

// A value held in a fixed block, so that it is copied with one 8-byte move.
constexpr size_t kValueBlock = 8;
struct Value {
  char bytes[kValueBlock] = {};
  size_t size = 0;
};

// Writes v at w (which has kValueBlock bytes of room) and returns the end of what it wrote.
inline char* Put(const Value& v, char* w) {
  std::memcpy(w, v.bytes, kValueBlock);
  return w + v.size;
}

// The table, arranged for the chunk rule above.
class Rules {
 public:
  Rules() {
    nodes_.emplace_back();
    for (int i = 0; i < kRomajiPairs; ++i) {
      const std::string_view key = g_romajiTable[2 * i];
      const std::string_view value = g_romajiTable[2 * i + 1];
      if (key == "NN") {
        nn_ = Block(value);
      } else if (key == "N") {
        n_ = Block(value);
      }
      if (ClassOf(key.back()) != kVowel) {
        continue;
      }
      // Keys ending in a vowel go into a trie read from the key's end.
      int node = 0;
      for (size_t k = key.size(); k-- > 0;) {
        const int letter = key[k] - 'A';
        if (nodes_[node].next[letter] == 0) {
          nodes_[node].next[letter] = static_cast<int16_t>(nodes_.size());
          nodes_.emplace_back();
        }
        node = nodes_[node].next[letter];
      }
      if (nodes_[node].pair < 0) {  // a repeated key never matches again
        nodes_[node].pair = static_cast<int16_t>(i);
        nodes_[node].value = Block(value);
      }
    }
  }

  // Finds the first pair in the table whose key ends at the vowel s[end - 1] and starts at
  // or after s[begin]; returns its key's length (0 if none) and its value.
  size_t EndKey(const unsigned char* s, size_t begin, size_t end, const Value*& value) const {
    size_t length = 0;
    int best = kRomajiPairs;
    int node = 0;
    for (size_t k = end; k-- > begin;) {
      node = nodes_[node].next[Upper(s[k]) - 'A'];
      if (node == 0) {
        break;
      }
      const Node& n = nodes_[node];
      if (n.pair >= 0 && n.pair < best) {
        best = n.pair;
        length = end - k;
        value = &n.value;
      }
    }
    return length;
  }

  const Value& nn() const { return nn_; }
  const Value& n() const { return n_; }
  // The most bytes that one letter of a stretch without a vowel turns into.
  size_t per_letter() const { return std::max({nn_.size, n_.size, size_t{1}}); }

 private:
  static Value Block(std::string_view bytes) {
    Value v;
    std::memcpy(v.bytes, bytes.data(), std::min(bytes.size(), kValueBlock));
    v.size = bytes.size();
    return v;
  }

  struct Node {
    int16_t next[26] = {};
    int16_t pair = -1;
    Value value;
  };
  std::vector<Node> nodes_;
  Value nn_, n_;
};

const Rules& GetRules() {
  static const Rules rules;
  return rules;
}

// Appends to a string through a cursor, growing it ahead of each write.
class Sink {
 public:
  Sink(std::string& s, size_t expect) : s_(s), base_(s.size()), len_(s.size()) {
    s_.resize(len_ + expect);
  }
  ~Sink() { s_.resize(len_); }

  size_t written() const { return len_ - base_; }

  // Room for n more bytes; the pointer holds until the next call.
  char* Room(size_t n) {
    if (len_ + n > s_.size()) {
      s_.resize(std::max(2 * s_.size(), len_ + n));
    }
    return s_.data() + len_;
  }
  void Commit(char* end) { len_ = end - s_.data(); }

 private:
  std::string& s_;
  size_t base_;
  size_t len_;
};

// Converts the letters s[begin, end), one chunk, into w, which has room for
// (end - begin) * per_letter + kValueBlock bytes.
char* ConvertChunk(const Rules& rules, const unsigned char* s, size_t begin, size_t end, char* w) {
  const Value* tail = nullptr;
  size_t stop = end;
  if (ClassOf(s[end - 1]) == kVowel) {
    stop -= rules.EndKey(s, begin, end, tail);
  }
  for (size_t k = begin; k < stop;) {
    const unsigned char c = Upper(s[k]);
    if (c != 'N') {
      *w++ = static_cast<char>(c);
      ++k;
      continue;
    }
    size_t run = 0;
    while (k < stop && Upper(s[k]) == 'N') {
      ++run;
      ++k;
    }
    for (; run >= 2; run -= 2) {
      w = Put(rules.nn(), w);
    }
    if (run == 1) {
      w = Put(rules.n(), w);
    }
  }
  return tail ? Put(*tail, w) : w;
}

// Converts text from `pos` on until at least `want` bytes have been appended to out or the
// text ends, stopping only where a chunk or character ends; returns where it stopped.
size_t Convert(std::string_view text, size_t pos, std::string& out, size_t want) {
  const Rules& rules = GetRules();
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  Sink sink(out, std::min(want, (n - pos) + (n - pos) / 2) + 16);
  while (pos < n && sink.written() < want) {
    const unsigned char c = s[pos];
    switch (ClassOf(c)) {
      case kLead: {
        char* w = sink.Room(2);
        if (pos + 1 == n) {  // a lone lead byte at the end stays
          *w++ = static_cast<char>(c);
          ++pos;
        } else {
          UpperDouble(c, s[pos + 1], w);
          w += 2;
          pos += 2;
        }
        sink.Commit(w);
        break;
      }
      case kOther: {
        // Bytes that are neither letters nor lead bytes pass through together.
        size_t end = pos + 1;
        while (end < n && ClassOf(s[end]) == kOther) {
          ++end;
        }
        char* w = sink.Room(end - pos);
        std::memcpy(w, s + pos, end - pos);
        sink.Commit(w + (end - pos));
        pos = end;
        break;
      }
      default: {
        size_t end = pos;
        while (end < n && ClassOf(s[end]) == kConsonant) {
          ++end;
        }
        if (end < n && ClassOf(s[end]) == kVowel) {
          ++end;  // the vowel closes the chunk
        }
        char* w = sink.Room((end - pos) * rules.per_letter() + kValueBlock);
        sink.Commit(ConvertChunk(rules, s, pos, end, w));
        pos = end;
        break;
      }
    }
  }
  return pos;
}

}  // namespace

void RomajiToKana(std::string& text) {
  std::string out;
  Convert(text, 0, out, SIZE_MAX);
  text.swap(out);
}

RomajiReader::RomajiReader(std::string_view text) : text_(text) {}

bool RomajiReader::Next(std::string& out, size_t want) {
  if (pos_ == text_.size()) {
    return false;
  }
  pos_ = Convert(text_, pos_, out, std::max<size_t>(want, 1));
  return true;
}
