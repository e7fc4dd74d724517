// The lab window's surface repaint when the lab is shown larger: the 700 x 548 picture magnified
// into the surface view's area with each filter, at 1.5x, 2x and 1.8x (full screen at 1920 x 1080,
// where the surface covers 1260 x 986 screen pixels), beside the plain repaint at the normal size.
// The view repaints at most once per 16 ms screen refresh, whatever the ticks do.
// Run: build/bench/scaled_repaint_bench (offscreen by default).

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "draw/canvas.h"
#include "experiments/spring_energy.h"
#include "frame.h"
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
