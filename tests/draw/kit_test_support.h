#pragma once
// Shared probes for the drawing-kit tests.

#include <QColor>
#include <QImage>
#include <QRect>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/fonts.h"

namespace vlab::test {

inline QRgb PixelAt(int x, int y) { return Surface().image().pixel(x, y) & 0xFFFFFF; }

// How many pixels inside the rectangle have the colour.
inline int CountColour(const QRect& r, QRgb colour) {
    int n = 0;
    const QImage& img = Surface().image();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == colour) ++n;
    return n;
}

// How many pixels inside the rectangle differ from white.
inline int CountNonWhite(const QRect& r) {
    int n = 0;
    const QImage& img = Surface().image();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n;
    return n;
}

inline void StartClean() {
    InstallFontSubstitutes();
    ResetDrawKit();
}

}  // namespace vlab::test
