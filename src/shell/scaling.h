#pragma once
// The drawing surface shown larger: not a widget drawn at another size (see dialog/widget_scale.h
// for those) but its 700 x 548 image magnified by the surface view, with the filter below.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <vector>

#include "dialog/widget_scale.h"

class QPainter;

namespace vlab {

// How the surface image is magnified on screen.
enum class SurfaceFilter {
    Nearest,    // each screen pixel shows the surface pixel under it
    Bilinear,   // a blend of the four nearest surface pixels
    SharpBlend  // each screen pixel the area-weighted mix of the surface pixels it covers: pixels
                // stay sharp squares and only the screen pixels on their edges are blended, so
                // 1-pixel lines keep one width at a fractional scale
};

// The picture magnified by scale with the sharp blend: a screen pixel that lies on one picture
// pixel shows it exactly, one on an edge between pixels shows them in the shares it covers.
QImage SharpBlendScaled(const QImage& picture, double scale);

// The same, keeping its buffers from one picture to the next: a repaint allocates nothing.
class SharpBlender {
public:
    // The whole picture magnified afresh.
    const QImage& Magnify(const QImage& picture, double scale);
    // Brings the magnified picture up to date with picture, blending again only the screen pixels
    // of the parts that changed since the last call (all of them after a change of scale or size);
    // answers the screen rectangles that changed. The result is the one Magnify gives.
    QRegion Update(const QImage& picture, double scale);
    const QImage& Image() const { return out_; }

private:
    void BlendRect(const QRect& screen);

    QImage out_;
    QImage shown_;  // the picture out_ shows
    double scale_ = 0;
    struct Tap {
        int index;   // the picture pixel under the screen pixel's left (top) edge
        int weight;  // its share of the screen pixel in 256ths; the rest is the next pixel's
    };
    std::vector<Tap> columns_, rows_;
    std::vector<int> firstColumn_, firstRow_;  // the first screen column (row) on each picture pixel
};

// Draws image magnified by scale with its top-left corner at (0, 0).
void DrawScaledImage(QPainter& painter, const QImage& image, double scale, SurfaceFilter filter);

}  // namespace vlab
