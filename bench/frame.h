#pragma once
// A frame is done when its picture can be shown: reading the surface finishes it (the frame's
// painter closed, the fills kept per tile written out), as the lab window's paint does. Every
// experiment benchmark ends each frame here, so that no pixel of it goes uncounted.

#include <benchmark/benchmark.h>

#include "draw/canvas.h"

inline void ShowFrame() { benchmark::DoNotOptimize(vlab::Surface().image().constBits()); }
