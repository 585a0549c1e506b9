// The decoders against what they can be measured by: JisToSjis against iconv's ISO-2022-JP to
// CP932 on the same text, RomajiToKana against the literal ordered replace-all.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <random>
#include <string>
#include <vector>

#include "decode/jis.h"
#include "decode/romaji.h"
#include "tests/decode/romaji_oracle.h"

namespace {

// About 300 KB of ISO-2022-JP: CR LF lines, some all ASCII, most mixing ASCII words with runs
// of kana and level-1 kanji, every Japanese run closed by ESC ( B before the line end.
const std::string& JisText() {
  static const std::string text = [] {
    std::mt19937 rng(1);
    const char* const kWords[] = {"Tobiuo", "X", "2024", "OK", "file.txt", "(1)", "-", "ID:42"};
    std::string s;
    auto japanese = [&](int chars) {
      s += "\x1B$B";
      for (int i = 0; i < chars; ++i) {
        const unsigned r = rng() % 10;
        if (r < 5) {  // hiragana
          s += '\x24';
          s += static_cast<char>(0x21 + rng() % 0x53);
        } else if (r < 6) {  // katakana
          s += '\x25';
          s += static_cast<char>(0x21 + rng() % 0x56);
        } else {  // kanji, rows 0x30-0x4E are fully assigned
          s += static_cast<char>(0x30 + rng() % 0x1F);
          s += static_cast<char>(0x21 + rng() % 0x5E);
        }
      }
      s += "\x1B(B";
    };
    while (s.size() < 300 * 1024) {
      if (rng() % 4 == 0) {
        for (int w = 0; w < 8; ++w) {
          s += kWords[rng() % std::size(kWords)];
          s += ' ';
        }
      } else {
        for (int part = 0; part < 3; ++part) {
          japanese(4 + rng() % 12);
          s += kWords[rng() % std::size(kWords)];
        }
      }
      s += "\r\n";
    }
    return s;
  }();
  return text;
}

void BM_JisToSjis(benchmark::State& state) {
  const std::string& in = JisText();
  std::vector<unsigned char> out(in.size() + 1);
  for (auto _ : state) {
    JisToSjis(out.data(), reinterpret_cast<const unsigned char*>(in.c_str()), 2);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}
BENCHMARK(BM_JisToSjis);

void BM_JisReader4K(benchmark::State& state) {
  const std::string& in = JisText();
  std::string out;
  out.reserve(in.size() + 1);
  for (auto _ : state) {
    out.clear();
    JisReader reader(in, 2);
    while (reader.Next(out, 4096)) {
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}
BENCHMARK(BM_JisReader4K);

void BM_IconvIso2022JpToCp932(benchmark::State& state) {
  const std::string& in = JisText();
  std::vector<char> out(in.size() + 1);
  iconv_t cd = iconv_open("CP932", "ISO-2022-JP");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv has no ISO-2022-JP to CP932");
    return;
  }
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char* dst = out.data();
    size_t dst_left = out.size();
    if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1)) {
      state.SkipWithError("iconv rejected the text");
      break;
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}
BENCHMARK(BM_IconvIso2022JpToCp932);

// Romaji prose of `size` bytes: words of mixed case, blanks, punctuation, CR LF line ends.
std::string RomajiText(size_t size) {
  const char* const kWords[] = {
      "watashi", "wa",     "nihongo",    "wo",       "benkyou",   "shite",   "imasu",
      "Toukyou", "ni",     "sunde",      "kyou",     "no",        "tenki",   "ha",
      "ii",      "desu",   "konnichiha", "arigatou", "gozaimasu", "shimbun", "kan'ya",
      "chotto",  "matte",  "kudasai",    "ryokou",   "onna",      "hon'ya",  "zasshi",
      "Kippu",   "gakkou", "shinkansen", "dennwa",   "fairu",     "vaiorin", "jisho"};
  std::mt19937 rng(5);
  std::string s;
  int words = 0;
  while (s.size() < size) {
    s += kWords[rng() % std::size(kWords)];
    if (++words % 12 == 0) {
      s += ".\r\n";
    } else {
      s += rng() % 9 == 0 ? ", " : " ";
    }
  }
  s.resize(size);
  return s;
}

void BM_RomajiToKana(benchmark::State& state) {
  const std::string text = RomajiText(state.range(0));
  for (auto _ : state) {
    std::string t = text;
    RomajiToKana(t);
    benchmark::DoNotOptimize(t.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_RomajiToKana)->Arg(1 << 10)->Arg(20 << 10)->Arg(1 << 20);

void BM_RomajiOracle(benchmark::State& state) {
  const std::string text = RomajiText(state.range(0));
  for (auto _ : state) {
    std::string t = RomajiOracle(text);
    benchmark::DoNotOptimize(t.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_RomajiOracle)->Arg(1 << 10)->Arg(20 << 10)->Unit(benchmark::kMicrosecond);
// The literal replace-all is quadratic: one pass at 1 MB takes seconds.
BENCHMARK(BM_RomajiOracle)->Arg(1 << 20)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
