#include "draw/canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include "draw/fonts.h"

namespace vlab {

namespace {

constexpr double kBoxLeft = -kClipMargin;
constexpr double kBoxTop = -kClipMargin;
constexpr double kBoxRight = kSurfaceWidth + kClipMargin;
constexpr double kBoxBottom = kSurfaceHeight + kClipMargin;

double ClampToBox(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }

// The point where segment a-b crosses the vertical line x = X (or the horizontal line y = Y),
// measured from the end nearer that line: starting from a far-away end would cancel every digit of
// the near one.
QPointF CrossX(QPointF a, QPointF b, double X) {
    if (std::fabs(a.x() - X) > std::fabs(b.x() - X)) std::swap(a, b);
    return QPointF(X, a.y() + (b.y() - a.y()) * ((X - a.x()) / (b.x() - a.x())));
}
QPointF CrossY(QPointF a, QPointF b, double Y) {
    if (std::fabs(a.y() - Y) > std::fabs(b.y() - Y)) std::swap(a, b);
    return QPointF(a.x() + (b.x() - a.x()) * ((Y - a.y()) / (b.y() - a.y())), Y);
}

int OutCode(QPointF p) {
    return (p.x() < kBoxLeft ? 1 : 0) | (p.x() > kBoxRight ? 2 : 0) | (p.y() < kBoxTop ? 4 : 0) |
           (p.y() > kBoxBottom ? 8 : 0);
}

// Cohen-Sutherland: clips the segment to the box, keeping its direction. False when nothing is
// left or a coordinate is not finite.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1) {
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return false;
    QPointF a(x0, y0), b(x1, y1);
    for (int round = 0; round < 8; ++round) {
        const int ca = OutCode(a), cb = OutCode(b);
        if ((ca | cb) == 0) {
            x0 = a.x();
            y0 = a.y();
            x1 = b.x();
            y1 = b.y();
            return true;
        }
        if (ca & cb) return false;
        QPointF& p = ca ? a : b;
        const int c = ca ? ca : cb;
        QPointF q;
        if (c & 1)
            q = CrossX(a, b, kBoxLeft);
        else if (c & 2)
            q = CrossX(a, b, kBoxRight);
        else if (c & 4)
            q = CrossY(a, b, kBoxTop);
        else
            q = CrossY(a, b, kBoxBottom);
        if (!std::isfinite(q.x()) || !std::isfinite(q.y())) return false;
        // Rounding may leave the crossing a hair outside; it lies on the edge.
        p = QPointF(ClampToBox(q.x(), kBoxLeft, kBoxRight), ClampToBox(q.y(), kBoxTop, kBoxBottom));
    }
    return false;
}

// Sutherland-Hodgman against one edge of the box.
template <typename Inside, typename Cut>
std::vector<QPointF> ClipEdge(const std::vector<QPointF>& in, Inside inside, Cut cut) {
    std::vector<QPointF> out;
    if (in.empty()) return out;
    QPointF prev = in.back();
    for (const QPointF& cur : in) {
        const bool curIn = inside(cur), prevIn = inside(prev);
        if (curIn) {
            if (!prevIn) out.push_back(cut(prev, cur));
            out.push_back(cur);
        } else if (prevIn) {
            out.push_back(cut(prev, cur));
        }
        prev = cur;
    }
    return out;
}

std::vector<QPointF> ClipPolygon(std::vector<QPointF> pts) {
    auto atX = [](double X) { return [X](QPointF a, QPointF b) { return CrossX(a, b, X); }; };
    auto atY = [](double Y) { return [Y](QPointF a, QPointF b) { return CrossY(a, b, Y); }; };
    pts = ClipEdge(
        pts, [](QPointF p) { return p.x() >= kBoxLeft; }, atX(kBoxLeft));
    pts = ClipEdge(
        pts, [](QPointF p) { return p.x() <= kBoxRight; }, atX(kBoxRight));
    pts = ClipEdge(
        pts, [](QPointF p) { return p.y() >= kBoxTop; }, atY(kBoxTop));
    pts = ClipEdge(
        pts, [](QPointF p) { return p.y() <= kBoxBottom; }, atY(kBoxBottom));
    return pts;
}

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

QPainter::CompositionMode CompositionOf(PenMode mode) {
    switch (mode) {
        case PenMode::Xor: return QPainter::RasterOp_SourceXorDestination;
        case PenMode::Mask: return QPainter::RasterOp_SourceAndDestination;
        case PenMode::Black: return QPainter::RasterOp_ClearDestination;
        case PenMode::Merge: return QPainter::RasterOp_SourceOrDestination;
        case PenMode::MaskPenNot: return QPainter::RasterOp_NotSourceAndDestination;
        case PenMode::Copy:
        case PenMode::NoOp: break;
    }
    return QPainter::CompositionMode_SourceOver;
}

Qt::BrushStyle QtBrushStyle(BrushStyle s) {
    switch (s) {
        case BrushStyle::Solid: return Qt::SolidPattern;
        case BrushStyle::Cross: return Qt::CrossPattern;
        case BrushStyle::Clear: return Qt::NoBrush;
        case BrushStyle::BDiagonal: return Qt::BDiagPattern;
        case BrushStyle::FDiagonal: return Qt::FDiagPattern;
        case BrushStyle::DiagCross: return Qt::DiagCrossPattern;
        case BrushStyle::Horizontal: return Qt::HorPattern;
        case BrushStyle::Vertical: return Qt::VerPattern;
    }
    return Qt::SolidPattern;
}

}  // namespace

int TruncToPixel(double v) {
    return static_cast<int>(ClampToBox(std::trunc(v), kBoxLeft, kBoxRight + kSurfaceHeight));
}

bool InClipBox(double x, double y) {
    return std::isfinite(x) && std::isfinite(y) && x >= kBoxLeft && x <= kBoxRight && y >= kBoxTop &&
           y <= kBoxBottom;
}

Canvas::Canvas() : image_(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGB32) { reset(); }

void Canvas::reset() {
    image_.fill(Qt::white);
    penColour_ = Qt::black;
    penWidth_ = 1;
    penStyle_ = PenStyle::Solid;
    penMode_ = PenMode::Copy;
    brushStyle_ = BrushStyle::Solid;
    brushColour_ = Qt::white;
    font_ = QFont(kSongFamily);
    font_.setStyleStrategy(QFont::NoAntialias);
    fontPointSize_ = 8;
    font_.setPixelSize(PointsToPixels(fontPointSize_));
    fontColour_ = Qt::black;
    penPos_ = QPointF(0, 0);
    outsideCalls_ = 0;
}

void Canvas::setBrushColour(QColor c) {
    brushColour_ = c;
    if (brushStyle_ == BrushStyle::Clear) brushStyle_ = BrushStyle::Solid;
}

void Canvas::setFontStyles(bool bold, bool italic, bool underline, bool strikeOut) {
    font_.setBold(bold);
    font_.setItalic(italic);
    font_.setUnderline(underline);
    font_.setStrikeOut(strikeOut);
}

void Canvas::setFontPointSize(int size) {
    fontPointSize_ = size;
    font_.setPixelSize(PointsToPixels(size));
}

namespace {

// A painter set up with the canvas's pen, brush and raster operation.
class StyledPainter {
public:
    StyledPainter(QImage& image, const Canvas& c, bool withBrush) : p_(&image) {
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.setCompositionMode(CompositionOf(c.penMode()));
        if (c.penStyle() == PenStyle::Clear) {
            p_.setPen(Qt::NoPen);
        } else {
            QPen pen(c.penColour());
            const int w = c.penWidth();
            pen.setWidth(w <= 1 ? 0 : w);
            // Thin lines leave out their last pixel (flat caps); wide ones have round ends, and a
            // dashed or dotted pen wider than 1 pixel draws solid.
            pen.setCapStyle(w <= 1 ? Qt::FlatCap : Qt::RoundCap);
            pen.setJoinStyle(w <= 1 ? Qt::MiterJoin : Qt::RoundJoin);
            if (w <= 1) {
                switch (c.penStyle()) {
                    case PenStyle::Dash: pen.setDashPattern({18, 6}); break;
                    case PenStyle::Dot: pen.setDashPattern({3, 3}); break;
                    case PenStyle::DashDot: pen.setDashPattern({9, 6, 3, 6}); break;
                    case PenStyle::DashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
                    default: break;
                }
            }
            p_.setPen(pen);
        }
        if (withBrush) {
            const Qt::BrushStyle bs = QtBrushStyle(c.brushStyle());
            p_.setBrush(bs == Qt::NoBrush ? QBrush() : QBrush(c.brushColour(), bs));
            p_.setBackgroundMode(Qt::TransparentMode);
        } else {
            p_.setBrush(Qt::NoBrush);
        }
    }
    QPainter* operator->() { return &p_; }

private:
    QPainter p_;
};

}  // namespace

void Canvas::moveTo(double x, double y) { penPos_ = QPointF(x, y); }

void Canvas::noteOutside(std::initializer_list<double> coordinates) {
    auto it = coordinates.begin();
    for (; it != coordinates.end() && std::next(it) != coordinates.end(); it += 2) {
        if (!InClipBox(*it, *std::next(it))) {
            ++outsideCalls_;
            return;
        }
    }
}

namespace {

QRgb applyRasterOp(PenMode mode, QRgb pen, QRgb dst) {
    switch (mode) {
        case PenMode::Copy: return pen;
        case PenMode::Xor: return pen ^ dst;
        case PenMode::Mask: return pen & dst;
        case PenMode::NoOp: return dst;
        case PenMode::Black: return 0;
        case PenMode::Merge: return pen | dst;
        case PenMode::MaskPenNot: return dst & ~pen;
    }
    return pen;
}

// On/off run lengths, in pixels along the line, of the thin pen styles.
std::vector<int> dashRuns(PenStyle style) {
    switch (style) {
        case PenStyle::Dash: return {18, 6};
        case PenStyle::Dot: return {3, 3};
        case PenStyle::DashDot: return {9, 6, 3, 6};
        case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
        default: return {};
    }
}

}  // namespace

// A thin line is stepped pixel by pixel: it starts on its first pixel and leaves out its last, so
// that under XOR the shared vertex of a polyline is drawn once.
void Canvas::thinLine(QPoint a, QPoint b) {
    const QRgb pen = penColour_.rgb() & 0xFFFFFF;
    const std::vector<int> runs = dashRuns(penStyle_);
    std::size_t run = 0;
    int left = runs.empty() ? 0 : runs[0];
    const int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy, x = a.x(), y = a.y();
    while (x != b.x() || y != b.y()) {
        const bool on = runs.empty() || run % 2 == 0;
        if (on && x >= 0 && y >= 0 && x < kSurfaceWidth && y < kSurfaceHeight) {
            QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            line[x] = 0xFF000000u | (applyRasterOp(penMode_, pen, line[x] & 0xFFFFFF) & 0xFFFFFF);
        }
        if (!runs.empty() && --left == 0) {
            run = (run + 1) % runs.size();
            left = runs[run];
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Canvas::lineTo(double x, double y) {
    double x0 = penPos_.x(), y0 = penPos_.y(), x1 = x, y1 = y;
    penPos_ = QPointF(x, y);
    noteOutside({x0, y0, x1, y1});
    if (penMode_ == PenMode::NoOp || penStyle_ == PenStyle::Clear) return;
    if (!ClipSegment(x0, y0, x1, y1)) return;
    const QPoint a(TruncToPixel(x0), TruncToPixel(y0)), b(TruncToPixel(x1), TruncToPixel(y1));
    if (a == b) return;  // a line of no length sets no pixel
    if (penWidth_ <= 1) {
        thinLine(a, b);
        return;
    }
    StyledPainter p(image_, *this, false);
    p->drawLine(a, b);
}

namespace {
// The box handed to Qt's rectangle-like figures: corners truncated, right and bottom edges
// exclusive (a box from (0, 0) to (10, 10) covers pixels 0..9).
bool BoxOf(double left, double top, double right, double bottom, QRect& box) {
    if (!AllFinite({left, top, right, bottom})) return false;
    int l = TruncToPixel(ClampToBox(left, kBoxLeft, kBoxRight)),
        t = TruncToPixel(ClampToBox(top, kBoxTop, kBoxBottom));
    int r = TruncToPixel(ClampToBox(right, kBoxLeft, kBoxRight)),
        b = TruncToPixel(ClampToBox(bottom, kBoxTop, kBoxBottom));
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r - l < 1 || b - t < 1) return false;
    box = QRect(QPoint(l, t), QPoint(r - 1, b - 1));
    return true;
}
}  // namespace

void Canvas::rectangle(double left, double top, double right, double bottom) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (penMode_ == PenMode::NoOp || !BoxOf(left, top, right, bottom, box)) return;
    StyledPainter p(image_, *this, true);
    // One pixel less each way: a 1-pixel outline then covers left..right-1 and top..bottom-1, and
    // without a pen the fill leaves out the right column and the bottom row as well.
    const QRect r(box.topLeft(), box.size() - QSize(1, 1));
    if (penStyle_ == PenStyle::Clear)
        p->fillRect(r, p->brush());
    else
        p->drawRect(r);
}

void Canvas::ellipse(double left, double top, double right, double bottom) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (penMode_ == PenMode::NoOp || !BoxOf(left, top, right, bottom, box)) return;
    StyledPainter p(image_, *this, true);
    p->drawEllipse(QRect(box.topLeft(), box.size() - QSize(1, 1)));
}

void Canvas::roundRect(double left, double top, double right, double bottom, int cornerW, int cornerH) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (penMode_ == PenMode::NoOp || !BoxOf(left, top, right, bottom, box)) return;
    StyledPainter p(image_, *this, true);
    p->drawRoundedRect(QRect(box.topLeft(), box.size() - QSize(1, 1)), cornerW / 2.0, cornerH / 2.0);
}

void Canvas::polygon(const std::vector<QPointF>& corners) {
    if (std::any_of(corners.begin(), corners.end(), [](QPointF c) { return !InClipBox(c.x(), c.y()); }))
        ++outsideCalls_;
    if (penMode_ == PenMode::NoOp || corners.size() < 2) return;
    for (const QPointF& c : corners)
        if (!AllFinite({c.x(), c.y()})) return;  // a figure with a NaN corner is not drawn
    // Truncate first, so that clipping never moves a corner that lies inside the box.
    std::vector<QPointF> pts;
    pts.reserve(corners.size());
    bool inside = true;
    for (const QPointF& c : corners) {
        inside = inside && InClipBox(c.x(), c.y());
        pts.emplace_back(c);
    }
    if (!inside) pts = ClipPolygon(pts);
    if (pts.size() < 2) return;
    for (const QPointF& c : pts)
        if (!InClipBox(c.x(), c.y())) return;  // corners so far apart that their distance overflows
    QPolygon poly;
    for (const QPointF& c : pts) poly << QPoint(TruncToPixel(c.x()), TruncToPixel(c.y()));
    StyledPainter p(image_, *this, true);
    p->drawPolygon(poly, Qt::OddEvenFill);
}

void Canvas::fillRect(double left, double top, double right, double bottom) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (!BoxOf(left, top, right, bottom, box)) return;
    const Qt::BrushStyle bs = QtBrushStyle(brushStyle_);
    if (bs == Qt::NoBrush) return;
    QPainter p(&image_);
    p.fillRect(box, QBrush(brushColour_, bs));
}

void Canvas::textOut(double x, double y, const QString& text) {
    noteOutside({x, y});
    if (text.isEmpty() || !InClipBox(x, y)) return;
    const QPoint at(TruncToPixel(x), TruncToPixel(y));
    QPainter p(&image_);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font_);
    const QFontMetrics fm(font_);
    // Under a solid brush text sits on an opaque box in the brush colour; under any other brush
    // it is transparent.
    if (brushStyle_ == BrushStyle::Solid)
        p.fillRect(QRect(at, QSize(fm.horizontalAdvance(text), fm.height())), brushColour_);
    p.setPen(fontColour_);
    p.drawText(QPoint(at.x(), at.y() + fm.ascent()), text);
}

namespace {
// The one surface of the run, made on first use (fonts need the application to exist).
std::unique_ptr<Canvas> surface;
}  // namespace

Canvas& Surface() {
    if (!surface) surface = std::make_unique<Canvas>();
    return *surface;
}

}  // namespace vlab
