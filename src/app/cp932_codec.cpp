#include "app/cp932_codec.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

bool IsLead(unsigned b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrail(unsigned b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// One conversion direction of iconv, reset before every use.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok())
      iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of in; false when iconv rejects any of it.
  bool Convert(const void* in, size_t in_len, void* out, size_t out_cap, size_t& out_len) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = static_cast<char*>(const_cast<void*>(in));
    char* dst = static_cast<char*>(out);
    size_t src_left = in_len;
    size_t dst_left = out_cap;
    if (iconv(cd_, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1))
      return false;
    if (iconv(cd_, nullptr, nullptr, &dst, &dst_left) == static_cast<size_t>(-1))
      return false;
    out_len = out_cap - dst_left;
    return src_left == 0;
  }

 private:
  iconv_t cd_;
};

// Which byte sequences are CP932 characters of their own, and the code of every character
// that one of them gives. Built once from iconv: a sequence counts only when it decodes to
// one character that encodes back to the same bytes.
struct Tables {
  std::array<wchar_t, 256> single{};                        // 0: not a character of its own
  std::vector<wchar_t> pair = std::vector<wchar_t>(65536);  // lead * 256 + trail
  // Character (BMP) -> its byte, or lead * 256 + trail; 0 when CP932 cannot hold it.
  std::vector<uint16_t> code = std::vector<uint16_t>(0x10000);

  Tables() {
    Iconv decode("WCHAR_T", "CP932");
    Iconv encode("CP932", "WCHAR_T");
    if (!decode.ok() || !encode.ok())
      return;  // then every byte travels escaped
    auto round_trip = [&](const unsigned char* bytes, size_t len) -> wchar_t {
      wchar_t chars[4];
      size_t got = 0;
      if (!decode.Convert(bytes, len, chars, sizeof chars, got) || got != sizeof(wchar_t)) {
        return 0;
      }
      unsigned char back[8];
      size_t back_len = 0;
      if (!encode.Convert(chars, sizeof(wchar_t), back, sizeof back, back_len) || back_len != len) {
        return 0;
      }
      for (size_t i = 0; i < len; ++i) {
        if (back[i] != bytes[i])
          return 0;
      }
      return chars[0];
    };
    for (unsigned b = 1; b < 256; ++b) {
      if (IsLead(b) || b == '\n' || b == '\r')
        continue;
      const unsigned char bytes[1] = {static_cast<unsigned char>(b)};
      single[b] = round_trip(bytes, 1);
      if (single[b] != 0 && code[single[b]] == 0)
        code[single[b]] = static_cast<uint16_t>(b);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLead(lead))
        continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrail(trail))
          continue;
        const unsigned char bytes[2] = {static_cast<unsigned char>(lead),
                                        static_cast<unsigned char>(trail)};
        const wchar_t c = round_trip(bytes, 2);
        pair[lead * 256 + trail] = c;
        if (c != 0 && c < 0x10000 && code[c] == 0)
          code[c] = static_cast<uint16_t>(lead * 256 + trail);
      }
    }
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

wchar_t Escape(unsigned char b) {
  return static_cast<wchar_t>(kByteEscapeBase + b);
}

}  // namespace

std::wstring EditorFromCp932(std::string_view bytes) {
  const Tables& t = GetTables();
  std::wstring text;
  text.reserve(bytes.size());
  const size_t n = bytes.size();
  for (size_t i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const unsigned next = i + 1 < n ? static_cast<unsigned char>(bytes[i + 1]) : 0x100;
    if (b == '\r') {
      if (next == '\n') {
        text += L'\n';
        ++i;
      } else {
        text += L'\r';
      }
    } else if (IsLead(b) && next < 0x100 && IsTrail(next)) {
      // A lead byte before a trail byte is always one pair, so that the bytes around it
      // keep their meaning.
      const wchar_t c = t.pair[b * 256 + next];
      if (c != 0) {
        text += c;
      } else {
        text += Escape(b);
        text += Escape(static_cast<unsigned char>(next));
      }
      ++i;
    } else if (t.single[b] != 0) {
      text += t.single[b];
    } else {
      text += Escape(b);  // NUL, a lone LF, a lone lead byte, an invalid byte
    }
  }
  return text;
}

std::string Cp932FromEditor(std::wstring_view text) {
  const Tables& t = GetTables();
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const wchar_t c : text) {
    if (c == L'\n') {
      bytes += "\r\n";
    } else if (c == L'\r') {
      bytes += '\r';
    } else if (c >= kByteEscapeBase && c <= kByteEscapeBase + 0xFF) {
      bytes += static_cast<char>(c - kByteEscapeBase);
    } else if (const unsigned code = c >= 0 && c < 0x10000 ? t.code[c] : 0; code != 0) {
      if (code > 0xFF)
        bytes += static_cast<char>(code >> 8);
      bytes += static_cast<char>(code & 0xFF);
    } else {
      bytes += '?';
    }
  }
  return bytes;
}
