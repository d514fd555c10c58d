// Stamps per second by diameter and place, the worst pointer event (500 walked points
// stamped at the largest diameter), and the cost of building the brush set. Every
// stamping figure also reports nanoseconds per blended pixel ("ns/px").
#include "app/brush_stamp.h"
#include "app/dda_filler.h"
#include "app/pressure_mapping.h"
#include "app/round_brushes.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace tevrin;

namespace {

const i32 kSurfaceSize = 360;

class BenchCanvas {
public:
    BenchCanvas(i32 width, i32 height)
        : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 192)
    {
    }
    GreyCanvas canvas() { return GreyCanvas{bytes_.data(), width_, height_, width_}; }

private:
    i32 width_;
    i32 height_;
    std::vector<u8> bytes_;
};

// Rates are reported per second; scaling the count by 1e-9 and inverting turns the
// rate into nanoseconds per pixel.
void ReportPixels(benchmark::State& state, i64 blendedPixels, i64 stamps)
{
    state.counters["stamps/s"] = benchmark::Counter(static_cast<double>(stamps), benchmark::Counter::kIsRate);
    state.counters["px/stamp"] = static_cast<double>(blendedPixels) / static_cast<double>(stamps);
    state.counters["ns/px"] = benchmark::Counter(static_cast<double>(blendedPixels) * 1e-9,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Arguments: diameter, and 0 for the middle of the surface or 1 for its top-left corner.
void BM_Stamp(benchmark::State& state)
{
    const i32 diameter = static_cast<i32>(state.range(0));
    const bool corner = state.range(1) != 0;
    const i32 at = corner ? 0 : kSurfaceSize / 2;
    BenchCanvas canvas(kSurfaceSize, kSurfaceSize);
    i64 pixels = 0;
    for (auto _ : state) {
        pixels += StampRoundBrush(canvas.canvas(), at, at, diameter, 1.0f);
        benchmark::ClobberMemory();
    }
    ReportPixels(state, pixels, static_cast<i64>(state.iterations()));
    state.SetLabel(corner ? "corner" : "middle");
}
BENCHMARK(BM_Stamp)->ArgsProduct({{1, 6, 21, 40}, {0, 1}});

// One pointer move as the drawing view handles it: walk the line into the filler,
// then stamp every collected point with the pressure interpolated along it.
i64 StrokeOneEvent(GreyCanvas canvas, i32 x0, i32 y0, i32 x1, i32 y1)
{
    OurDDAFiller& filler = OurDDAFiller::Instance();
    filler.Clear();
    filler.walk(x0, y0, x1, y1);
    const f32 startPressure = 1.0f, endPressure = 1.0f;
    const u64 count = filler.Count();
    i64 pixels = 0;
    for (u64 i = 0; i < count; ++i) {
        const f32 along = count > 1 ? static_cast<f32>(i) / static_cast<f32>(count - 1) : 0.0f;
        const f32 mapped = startPressure + (endPressure - startPressure) * along;
        pixels += StampRoundBrush(canvas, filler[i].x, filler[i].y, StampDiameter(mapped), mapped);
    }
    return pixels;
}

// Arguments: canvas size and the line's ends. On the 360 surface a 500-point line
// must leave it, so some stamps are clipped; on the 1000 canvas all 500 are whole.
void BM_WorstPointerEvent(benchmark::State& state)
{
    const i32 size = static_cast<i32>(state.range(0));
    BenchCanvas canvas(size, size);
    const i32 x0 = static_cast<i32>(state.range(1)), y0 = static_cast<i32>(state.range(2));
    const i32 x1 = static_cast<i32>(state.range(3)), y1 = static_cast<i32>(state.range(4));
    i64 pixels = 0;
    for (auto _ : state) {
        pixels += StrokeOneEvent(canvas.canvas(), x0, y0, x1, y1);
        benchmark::ClobberMemory();
    }
    ReportPixels(state, pixels, static_cast<i64>(state.iterations() * OurDDAFiller::kCapacity));
    state.SetLabel(size == kSurfaceSize ? "360 surface, line leaves it" : "all 500 stamps whole");
}
BENCHMARK(BM_WorstPointerEvent)
    ->Args({kSurfaceSize, -70, 20, 429, 339})
    ->Args({1000, 250, 250, 749, 749})
    ->Unit(benchmark::kMicrosecond);

void BM_BuildRoundBrushes(benchmark::State& state)
{
    for (auto _ : state) {
        RoundBrushes brushes;
        benchmark::DoNotOptimize(&brushes);
    }
}
BENCHMARK(BM_BuildRoundBrushes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
