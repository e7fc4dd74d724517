#pragma once
// Picture probes shared by every test: the colour of a pixel, pixels of a colour counted in a box,
// and pictures written to the build tree's test-pictures folder for a person to look at. Colours
// are 0xRRGGBB, without the alpha byte.

#include <QDir>
#include <QImage>
#include <QRect>
#include <QString>

#include "draw/canvas.h"

namespace vlab::test {

// The box left <= x < right, top <= y < bottom: its right and bottom edges are exclusive.
inline QRect Box(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The colour at (x, y) of a picture, or of the drawing surface.
inline QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
inline QRgb Pixel(int x, int y) { return Pixel(Surface().image(), x, y); }

// The part of the box inside the picture. A box whose right edge lies left of its left edge (or
// bottom above top) is empty; QRect's own intersection would turn it round.
inline QRect Inside(const QImage& image, const QRect& box) {
    return box.isEmpty() ? QRect() : box & image.rect();
}

// How many pixels of the box have the colour. The part of the box outside the picture holds none.
inline int CountColour(const QImage& image, QRgb colour, const QRect& box) {
    const QRect inside = Inside(image, box);
    int n = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) n += Pixel(image, x, y) == colour;
    return n;
}

// How many pixels of the box, inside the picture, have any other colour.
inline int CountOther(const QImage& image, QRgb colour, const QRect& box) {
    const QRect inside = Inside(image, box);
    return inside.width() * inside.height() - CountColour(image, colour, inside);
}

// Whether the colour lies in the square of pixels within reach of the pixel that holds (x, y).
inline bool ColourNear(const QImage& image, QRgb colour, double x, double y, int reach) {
    const int px = static_cast<int>(x), py = static_cast<int>(y);
    return CountColour(image, colour, Box(px - reach, py - reach, px + reach + 1, py + reach + 1)) > 0;
}

// Writes the picture as test-pictures/NAME; false when it could not be written.
inline bool SavePicture(const QImage& image, const QString& name) {
    const QDir folder(QStringLiteral(VLAB_TEST_PICTURES));
    return QDir().mkpath(folder.path()) && image.save(folder.filePath(name));
}

}  // namespace vlab::test
