// Line breaking sets the row heights of every printed grid and is asked again
// for each cell of each page, so it must stay cheap for long memo texts and
// for the many short cells of a log. The fixed-width measurer keeps the
// figures free of the fonts a machine has: what is measured is the mapper.
#include "preview/font_mapper.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace vektrano::preview;

std::string longText(int words) {
  static const char* kWords[] = {"Expedice", "na", "Sněžku", "s", "portejblem", "a", "směrovkou,",
                                 "spojení", "do", "JO70GQ", "přes", "kopce\r\n", "report", "59"};
  std::string s;
  for (int i = 0; i < words; ++i) {
    if (i) s += ' ';
    s += kWords[i % (sizeof kWords / sizeof *kWords)];
  }
  return s;
}

// The height of a long text in a 2-inch box, as the canvas asks for it.
void BM_WrappedTextHeight(benchmark::State& state) {
  TPvFontMapper mapper(std::make_unique<FixedWidthMeasurer>(), 7200);
  const std::string text = longText(static_cast<int>(state.range(0)));
  CanvasFont font;
  font.setSize(10);
  for (auto _ : state) benchmark::DoNotOptimize(mapper.WrappedTextHeight(font, {0, 0, 2 * 7200, 0}, text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_WrappedTextHeight)->Arg(100)->Arg(2000);

// Breaking and drawing with mapped advances onto a 600-dpi page.
void BM_WrapTextAndDraw(benchmark::State& state) {
  TPvFontMapper mapper(std::make_unique<FixedWidthMeasurer>(), 7200);
  const std::string text = longText(static_cast<int>(state.range(0)));
  RecordingCanvas canvas(CanvasKind::Printer, 600, 600);
  canvas.font().setSize(10);
  for (auto _ : state) {
    canvas.clear();
    benchmark::DoNotOptimize(mapper.WrapText(canvas, {0, 0, 2 * 600, 100000}, text, 0, false));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_WrapTextAndDraw)->Arg(2000);

// One short grid cell: a log of 1000 contacts asks this 8000 times.
void BM_CellHeight(benchmark::State& state) {
  TPvFontMapper mapper(std::make_unique<FixedWidthMeasurer>(), 7200);
  CanvasFont font;
  font.setSize(10);
  for (auto _ : state)
    benchmark::DoNotOptimize(mapper.WrappedTextHeight(font, {0, 0, 7200, 0}, "OK1ABC Petr .azimut_123"));
}
BENCHMARK(BM_CellHeight);

}  // namespace
