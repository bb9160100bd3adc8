// Fitting a long text into its place on a printed page, with the real fonts (QtCanvas on a
// PDF page, Qt offscreen). A beam name or a comment line of many thousand characters once
// took 16 to 22 seconds to print, as each character cut measured the whole text again:
// CutToWidth now searches the cut (log n measurements) and the drawn texts are bounded to
// kMaxFittedCharacters first, so their time no longer grows with the text.

#include "core/report/fitted_text.h"
#include "print/qt_canvas.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

/// A 600 dpi PDF page in memory with the details report's font (Courier, page height / 80).
struct Page {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    QPainter painter;
    std::unique_ptr<kova::print::QtCanvas> canvas;

    Page() {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(600);
        painter.begin(&writer);
        canvas = std::make_unique<kova::print::QtCanvas>(writer, &painter);
        canvas->SetFont(kova::report::Font{"Courier", canvas->PageHeight() / 80, false});
    }
};

/// A text of `state.range(0)` characters cut to a column of the details report (350 units).
void BM_CutToWidth(benchmark::State& state) {
    Page page;
    const std::string text(static_cast<std::size_t>(state.range(0)), 'N');
    for (auto _ : state) {
        benchmark::DoNotOptimize(kova::report::CutToWidth(*page.canvas, text, 350));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CutToWidth)->RangeMultiplier(4)->Range(256, 16384)->Complexity();

/// The beam name of the field report (12,000 characters) drawn in its details column and
/// as a comment line across the page, as the pages draw them.
void BM_TextOutFitted(benchmark::State& state) {
    Page page;
    const std::string text(static_cast<std::size_t>(state.range(0)), 'N');
    const int width = static_cast<int>(state.range(1));
    for (auto _ : state) {
        kova::report::TextOutFitted(*page.canvas, 0, 0, text, width);
    }
}
BENCHMARK(BM_TextOutFitted)->Args({12000, 350})->Args({16000, 4400});

void BM_TextOutInBox(benchmark::State& state) {
    Page page;
    const std::string text(static_cast<std::size_t>(state.range(0)), 'N');
    for (auto _ : state) {
        kova::report::TextOutInBox(*page.canvas, 0, 0, text, 350);
    }
}
BENCHMARK(BM_TextOutInBox)->Arg(27)->Arg(12000);

} // namespace

int main(int argc, char** argv) {
    // Fonts and the PDF writer need Qt's application; no display is used.
    int qtArgc = 3;
    char program[] = "bench_report_text";
    char option[] = "-platform";
    char platform[] = "offscreen";
    char* qtArgv[] = {program, option, platform, nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
