#pragma once
// Showing a window larger: every widget of it is laid out again at a scale, with its place, size,
// font, icon and the lengths of its style sheet multiplied, so that Qt draws the texts, frames and
// sliders afresh at the new size (sharp, not a magnified picture of the window). The first time a
// window is scaled each widget's own values are kept; scale 1 puts them back exactly.
//
// The drawing surface is not a widget drawn at another size: its 700 x 548 image is shown
// magnified by the surface view, with the filter below.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

class QPainter;
class QWidget;

namespace vlab {

// How the surface image is magnified on screen.
enum class SurfaceFilter {
    Nearest,    // each screen pixel shows the surface pixel under it
    Bilinear,   // a blend of the four nearest surface pixels
    SharpBlend  // each screen pixel the area-weighted mix of the surface pixels it covers: pixels
                // stay sharp squares and only the screen pixels on their edges are blended, so
                // 1-pixel lines keep one width at a fractional scale
};

// The scale that fits a window of the given size into an area, keeping its aspect ratio.
double FitScale(QSize window, QSize area);

// A rectangle of the normal layout at the scale, moved by offset: its edges are scaled, so widgets
// that touch at the normal size still touch.
QRect ScaledRect(const QRect& normal, double scale, QPoint offset = {});

// Lays out every widget of window (the window itself included: its fixed size) at the scale, its
// children moved by offset inside it.
void ScaleWidgets(QWidget* window, double scale, QPoint offset = {});

// The picture magnified by scale with the sharp blend: a screen pixel that lies on one picture
// pixel shows it exactly, one on an edge between pixels shows them in the shares it covers.
QImage SharpBlendScaled(const QImage& picture, double scale);

// The same, keeping its buffers from one picture to the next: a repaint allocates nothing.
class SharpBlender {
public:
    const QImage& Magnify(const QImage& picture, double scale);

private:
    QImage out_;
    std::vector<QRgb> wide_;  // each picture row widened to the screen's width
};

// Draws image magnified by scale with its top-left corner at (0, 0).
void DrawScaledImage(QPainter& painter, const QImage& image, double scale, SurfaceFilter filter);

}  // namespace vlab
