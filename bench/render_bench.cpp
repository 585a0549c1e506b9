// The cost of one refresh against the size of the text: decoding stops where drawing stops,
// so a refresh of the first page costs about the same for 1 KB and for 10 MB of text.
#include <benchmark/benchmark.h>

#include <string>

#include "view/memory_form.h"
#include "view/state.h"
#include "view/tobiuox_view.h"

namespace {

std::string Text(int mode, size_t size) {
  std::string line;
  switch (mode) {
    case MODE_ROMAJI:
      line = "kyou ha ii tenki desu ne. toukyou no shinbun wo yomu.\r\n";
      break;
    case MODE_JIS:
      line = "\x1B$B$\"$$$&4A;z\x1B(B and ASCII text\r\n";
      break;
    default:
      line = "\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A and ASCII text\r\n";
      break;
  }
  std::string text;
  while (text.size() < size)
    text += line;
  return text;
}

// A refresh of the first page, as every keystroke and paint runs one.
void BM_Refresh(benchmark::State& state) {
  const int mode = int(state.range(0));
  MemoryForm form(310, 351);
  CTobiuoxView view(form);
  form.SetEditorText(Text(mode, size_t(state.range(1))));
  ResetState();
  for (auto _ : state) {
    view.RefreshViewer();
    benchmark::DoNotOptimize(form.Viewer().Row(0));
  }
  state.SetLabel(mode == MODE_ROMAJI ? "romaji" : mode == MODE_JIS ? "jis" : "sjis");
}
BENCHMARK(BM_Refresh)
    ->ArgsProduct({{MODE_ROMAJI, MODE_JIS, MODE_SJIS}, {1 << 10, 100 << 10, 10 << 20}})
    ->Unit(benchmark::kMicrosecond);

// Paging deep into a long text: the lines above are passed over byte by byte.
void BM_RefreshAtLine(benchmark::State& state) {
  MemoryForm form(310, 351);
  CTobiuoxView view(form);
  form.SetEditorText(Text(MODE_SJIS, 10 << 20));
  ResetState();
  g_nFirstLine = int32_t(state.range(0));
  for (auto _ : state)
    view.RefreshViewer();
}
BENCHMARK(BM_RefreshAtLine)->Arg(0)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
