// Medians of the drawing routines that every tick of an experiment calls.
// Run: build/bench/canvas_bench (offscreen by default).

#include <benchmark/benchmark.h>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/shapes.h"
#include "draw/style.h"

using namespace vlab;

namespace {

void BM_Line(benchmark::State& state) {
    for (auto _ : state) DrawRay(300, 37, 50, 400, 0, 0, 5, 1, 0, 0, 5, 5);
}

void BM_XorLine(benchmark::State& state) {
    for (auto _ : state) DrawRay(300, 37, 50, 400, 0, 1, 5, 1, 0, 0, 5, 5);
}

void BM_WideLine(benchmark::State& state) {
    for (auto _ : state) DrawRay(300, 37, 50, 400, 0, 0, 5, 3, 0, 0, 5, 5);
}

void BM_ArcHalfCircle(benchmark::State& state) {
    for (auto _ : state) DrawArc(350, 270, 0, 180, 120, 2, 1, 0, 0);
}

void BM_Arrow(benchmark::State& state) {
    for (auto _ : state) DrawArrow(120, 30, 200, 300, 0, 2, 2, 1, 1);
}

void BM_LabelledArrow(benchmark::State& state) {
    for (auto _ : state) DrawLabelledArrow(120, 30, 200, 300, 0, 0, 2, 2, 1, 2, 12, "F");
}

void BM_Label(benchmark::State& state) {
    for (auto _ : state) DrawLabel(350, 155, 10, 4, 1, "F = - k x  ;  T = 2兀 √ m/k  ");
}

void BM_TiltedPanel(benchmark::State& state) {
    for (auto _ : state) DrawTiltedPanel(120, 300, 30, 200, 60, 18, 0);
}

void BM_HatchedPanel(benchmark::State& state) {
    for (auto _ : state) DrawTiltedPanel(3, 196, 90, 350, 695, 14, 1);
}

void BM_Spring(benchmark::State& state) {
    for (auto _ : state) DrawSpring(10, 100, 30, 2, 0, 1, 0);
}

// The erase of the whole surface with its pixels written out: a plain fill is only kept per tile
// until the picture is read.
void BM_FullClear(benchmark::State& state) {
    for (auto _ : state) {
        ClearArea(0, 0, 700, 550);
        benchmark::DoNotOptimize(Surface().image().constBits());
    }
}

constexpr int kReps = 9;
BENCHMARK(BM_Line)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_XorLine)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_WideLine)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_ArcHalfCircle)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_Arrow)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_LabelledArrow)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_Label)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_TiltedPanel)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_HatchedPanel)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_Spring)->Repetitions(kReps)->ReportAggregatesOnly(true);
BENCHMARK(BM_FullClear)->Repetitions(kReps)->ReportAggregatesOnly(true);

}  // namespace
