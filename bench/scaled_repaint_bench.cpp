// The lab window's surface repaint when the lab is shown larger: the 700 x 548 picture magnified
// into the surface view's area with each filter, at 1.5x, 2x and 1.8x (full screen at 1920 x 1080,
// where the surface covers 1260 x 986 screen pixels), beside the plain repaint at the normal size.
// The view repaints at most once per 16 ms screen refresh, whatever the ticks do. A whole
// magnification happens when the scale changes or every pixel does; between two refreshes of a
// run only the changed parts are blended again and painted: those repaints are timed on two
// frames 16 ticks apart (one refresh at the 1 ms speed-bar setting), shown in turn.
// Run: build/bench/scaled_repaint_bench (offscreen by default).

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <numeric>
#include <utility>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "experiments/spring_energy.h"
#include "experiments/wave_superposition.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"
#include "shell/scaling.h"

using namespace vlab;

namespace {

// The spring's set-up frame: the apparatus, the read-outs and the graph grid.
const QImage& Frame() {
    static const QImage frame = [] {
        ResetProgramState();
        SpringEnergyReset();
        SpringEnergyStep();
        ShowFrame();
        return Surface().image();
    }();
    return frame;
}

// One repaint into a screen-format picture of the view's size, as the backing store receives it.
void Repaint(benchmark::State& state, double scale, SurfaceFilter filter) {
    const QImage& frame = Frame();
    QImage screen(static_cast<int>(frame.width() * scale), static_cast<int>(frame.height() * scale),
                  QImage::Format_ARGB32_Premultiplied);
    SharpBlender blender;  // as the surface view keeps one
    for (auto _ : state) {
        QPainter p(&screen);
        if (scale == 1.0)
            p.drawImage(0, 0, frame);
        else if (filter == SurfaceFilter::SharpBlend)
            p.drawImage(0, 0, blender.Magnify(frame, scale));
        else
            DrawScaledImage(p, frame, scale, filter);
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

// Two frames of a run 16 ticks apart.
std::pair<QImage, QImage> SpringFrames() {
    ResetProgramState();
    SpringEnergyReset();
    SpringConstant = 3;
    SpringDisplacement = 200;
    QImage first;
    for (TickCount = 0; TickCount <= 116; ++TickCount) {
        SpringEnergyStep();
        if (TickCount == 100) first = Surface().image().copy();
    }
    return {first, Surface().image().copy()};
}

std::pair<QImage, QImage> WaveFrames() {
    ResetProgramState();
    WaveSuperpositionReset();
    WaveVariant = 4;  // pair C, overlapping
    WavePlotCounts[1] = 199;
    WaveSuperpositionStep();
    const QImage first = Surface().image().copy();
    WavePlotCounts[1] = 215;
    WaveSuperpositionStep();
    return {first, Surface().image().copy()};
}

void RepaintChanges(benchmark::State& state, const std::pair<QImage, QImage>& frames, double scale) {
    SharpBlender blender;
    blender.Magnify(frames.first, scale);
    QImage screen(blender.Image().size(), QImage::Format_ARGB32_Premultiplied);
    bool second = true;
    for (auto _ : state) {
        const QRegion changed = blender.Update(second ? frames.second : frames.first, scale);
        QPainter p(&screen);
        for (const QRect& r : changed) p.drawImage(r.topLeft(), blender.Image(), r);
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
        second = !second;
    }
    blender.Update(frames.first, scale);
    const QRegion changed = blender.Update(frames.second, scale);
    state.counters["changed_share"] = double(std::accumulate(changed.begin(), changed.end(), 0LL,
                                                             [](long long n, const QRect& r) {
                                                                 return n + 1LL * r.width() * r.height();
                                                             })) /
                                      (blender.Image().width() * blender.Image().height());
}

void BM_RepaintChanges_Spring_FullScreen1080(benchmark::State& state) {
    RepaintChanges(state, SpringFrames(), 1.8);
}
BENCHMARK(BM_RepaintChanges_Spring_FullScreen1080)->Unit(benchmark::kMicrosecond);
void BM_RepaintChanges_Waves_FullScreen1080(benchmark::State& state) {
    RepaintChanges(state, WaveFrames(), 1.8);
}
BENCHMARK(BM_RepaintChanges_Waves_FullScreen1080)->Unit(benchmark::kMicrosecond);

void BM_RepaintNormal(benchmark::State& state) { Repaint(state, 1.0, SurfaceFilter::Nearest); }
BENCHMARK(BM_RepaintNormal)->Unit(benchmark::kMicrosecond);

#define VLAB_SCALED(filter, tag, scale, stag)                 \
    void BM_Repaint_##tag##_##stag(benchmark::State& state) { \
        Repaint(state, scale, SurfaceFilter::filter);         \
    }                                                         \
    BENCHMARK(BM_Repaint_##tag##_##stag)->Unit(benchmark::kMicrosecond);

VLAB_SCALED(Nearest, Nearest, 1.5, 1_5x)
VLAB_SCALED(Bilinear, Bilinear, 1.5, 1_5x)
VLAB_SCALED(SharpBlend, SharpBlend, 1.5, 1_5x)
VLAB_SCALED(Nearest, Nearest, 1.8, FullScreen1080)
VLAB_SCALED(Bilinear, Bilinear, 1.8, FullScreen1080)
VLAB_SCALED(SharpBlend, SharpBlend, 1.8, FullScreen1080)
VLAB_SCALED(Nearest, Nearest, 2.0, 2x)
VLAB_SCALED(Bilinear, Bilinear, 2.0, 2x)
VLAB_SCALED(SharpBlend, SharpBlend, 2.0, 2x)

}  // namespace
