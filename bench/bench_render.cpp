// The letter scan against memcpy of the same bytes, and the whole headless job.
#include "render/headless.h"
#include "render/imagefile.h"
#include "render/scan.h"
#include "render/textfit.h"
#include "render/vectorpicture.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstring>
#include <vector>

using namespace pismolot;

namespace {

constexpr int Width = 1920;
constexpr int Height = 640;

// Scratch full of letters: every other 3-pixel run black, as dense text is.
std::vector<std::uint32_t> letterRaster() {
    std::vector<std::uint32_t> pixels(std::size_t(Width) * Height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (i / 3) % 2 ? 0xFF000000u : 0xFFFFFFFFu;
    return pixels;
}

void BM_Scan(benchmark::State& state) {
    const auto scratch = letterRaster();
    std::vector<std::uint32_t> output(scratch.size(), 0xFF102030u);
    const ScanPlan plan = planScan(float(Width * 15), float(Height * 15), 15, 15, 1e9f);
    StyleRandom random;
    for (auto _ : state) {
        scanLetters({scratch.data(), Width, Width, Height}, {output.data(), Width, Width, Height},
                    plan, 0, random);
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(scratch.size() * 4));
}
BENCHMARK(BM_Scan);

void BM_MemcpyReference(benchmark::State& state) {
    const auto scratch = letterRaster();
    std::vector<std::uint32_t> output(scratch.size());
    for (auto _ : state) {
        std::memcpy(output.data(), scratch.data(), scratch.size() * 4);
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(scratch.size() * 4));
}
BENCHMARK(BM_MemcpyReference);

EffectSettings makeSettings(QString text, float size) {
    EffectSettings s;
    s.text = std::move(text);
    s.font.name = QStringLiteral("DejaVu Sans");
    s.font.size = size;
    s.background = ColourValue::rgb(0, 0, 128);
    return s;
}

void BM_JobText24(benchmark::State& state) {
    const EffectSettings s = makeSettings(QStringLiteral("Text"), 24);
    for (auto _ : state)
        benchmark::DoNotOptimize(renderHeadless(s, {1920, 1080}, 96));
}
BENCHMARK(BM_JobText24)->Unit(benchmark::kMillisecond);

void BM_JobLine480(benchmark::State& state) {
    // 62 characters at 480 pt (640 px), clipped to the 1920 px screen.
    const EffectSettings s = makeSettings(
        QStringLiteral("Pismolot maluje litery tekstu w kolorowe paski i gradienty!!!!"), 480);
    for (auto _ : state)
        benchmark::DoNotOptimize(renderHeadless(s, {1920, 1080}, 96));
}
BENCHMARK(BM_JobLine480)->Unit(benchmark::kMillisecond);

void BM_JobLine480CutReport(benchmark::State& state) {
    // 62 characters at 480 pt, cut at the screen's edge, and the size that
    // fits, as pismolot-render reports it. The font engines of the sizes it
    // tries stay cached between iterations, which a fresh process pays for.
    const EffectSettings s = makeSettings(
        QStringLiteral("The quick brown fox jumps over the lazy dog. 0123456789 ABCDEF"), 480);
    for (auto _ : state) {
        StyleRandom random;
        bool cut = false;
        benchmark::DoNotOptimize(renderHeadless(s, {1920, 1080}, 96, random, {}, &cut));
        if (cut)
            benchmark::DoNotOptimize(largestFittingSize(s.text, s.font, 96, {1920, 1080}));
    }
}
BENCHMARK(BM_JobLine480CutReport)->Unit(benchmark::kMillisecond);

void BM_JobLine480Transparent(benchmark::State& state) {
    const EffectSettings s = makeSettings(
        QStringLiteral("Pismolot maluje litery tekstu w kolorowe paski i gradienty!!!!"), 480);
    for (auto _ : state) {
        StyleRandom random;
        benchmark::DoNotOptimize(renderHeadless(s, {1920, 1080}, 96, random, RenderOptions{true}));
    }
}
BENCHMARK(BM_JobLine480Transparent)->Unit(benchmark::kMillisecond);

void BM_JobLargest(benchmark::State& state) {
    // 2048 pt at 96 DPI: taller than the screen, so measured in strips.
    const EffectSettings s = makeSettings(QStringLiteral("Ag"), 2048);
    for (auto _ : state)
        benchmark::DoNotOptimize(renderHeadless(s, {1920, 1080}, 96));
}
BENCHMARK(BM_JobLargest)->Unit(benchmark::kMillisecond);

// The 480 pt line of BM_JobLine480 written as a file, once rendered: the
// bitmap encoded as PNG against the shapes made and written as SVG and PDF.
// Each reports its file's bytes, beside the BMP's.
struct Line480 {
    EffectSettings settings = makeSettings(
        QStringLiteral("Pismolot maluje litery tekstu w kolorowe paski i gradienty!!!!"), 480);
    QImage picture;
    RenderOutcome outcome;
    Line480() {
        StyleRandom random;
        picture = renderHeadless(settings, {1920, 1080}, 96, random, {}, nullptr, &outcome);
    }
};

void writeLine480(benchmark::State& state, ImageFormat format) {
    static const Line480 line;
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (isVectorFormat(format)) {
            const VectorPicture vector =
                makeVectorPicture(line.settings, 96, line.picture.size(), line.outcome, false);
            writeImage(buffer, line.picture, format, &vector);
        } else {
            writeImage(buffer, line.picture, format);
        }
        bytes = buffer.size();
    }
    state.counters["bytes"] = double(bytes);
    state.counters["bmp_bytes"] = double(encodeBmp24(line.picture).size());
}

void BM_Line480Png(benchmark::State& state) {
    writeLine480(state, ImageFormat::Png);
}
BENCHMARK(BM_Line480Png)->Unit(benchmark::kMillisecond);

void BM_Line480Svg(benchmark::State& state) {
    writeLine480(state, ImageFormat::Svg);
}
BENCHMARK(BM_Line480Svg)->Unit(benchmark::kMillisecond);

void BM_Line480Pdf(benchmark::State& state) {
    writeLine480(state, ImageFormat::Pdf);
}
BENCHMARK(BM_Line480Pdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
